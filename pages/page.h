#pragma once
// A configuration page: a child dialog on the main window's tab strip that changes one file on
// the Zorne server when the user presses Configure... .

#include <functional>
#include <optional>
#include <string>

#include "framework/dialog.h"
#include "rules/page_plan.h"
#include "server/server_library.h"

namespace azu {

// What a page needs from outside: the server-access library and the password prompt.
struct PageServices {
  std::reference_wrapper<ServerLibrary> library;
  std::function<std::optional<std::string>()> askPassword;
};

// The library and the modal password prompt of the running program.
PageServices ProgramPageServices();

class CPage : public Dialog {
 public:
  CPage(const DialogTemplate& pageTemplate, PageServices services);

  // Set by the main window before each Configure.
  std::string serverName;

  // Checks the fields, asks for the password, connects and changes the server; every outcome is
  // a message box.
  virtual void Configure() = 0;

 protected:
  // Enter and Escape inside a page neither close nor hide it.
  void OnOK() override {}
  void OnCancel() override {}

  PageServices services_;
};

// Shows the notice of a failed check; true when there is none.
bool PassesCheck(CheckNotice notice);

}  // namespace azu
