#pragma once
// Reads the `application/x-www-form-urlencoded` bodies of login and attribute requests.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace azu::emulator {

// "user=admin&password=a%20b" → {user: admin, password: "a b"} ('+' is a space). nullopt when
// a pair has no '=', a name is empty, a '%' is not followed by two hex digits, or a name repeats
// (two values for one name would be ambiguous).
std::optional<std::map<std::string, std::string>> ParseForm(std::string_view text);

}  // namespace azu::emulator
