#pragma once
// The Admin page's rules: the new administrator password replaces the server's engineInfo file.

#include <string>

#include "rules/page_plan.h"

namespace azu {

struct AdminFields {
  std::string newPassword;
};

CheckNotice CheckAdmin(const AdminFields& fields);
PagePlan AdminPlan(const AdminFields& fields);

}  // namespace azu
