#pragma once
// What a user does to a page, as data, and the renderer's own way of doing it: text typed into
// an edit, an entry chosen from a drop-down list, a button clicked, an address typed. Each back
// end drives its real controls (Qt widgets, or Win32 window messages).

#include <string>

#include "framework/dialog.h"

namespace azu::test {

struct PageStep {
  enum class Kind : unsigned char { Type, Choose, Click, Address };
  Kind kind;
  int id;
  const char* text = "";  // Type and Address
  int index = 0;          // Choose
};

inline PageStep Type(int id, const char* text) {
  return {PageStep::Kind::Type, id, text};
}
inline PageStep Choose(int id, int index) {
  return {PageStep::Kind::Choose, id, "", index};
}
inline PageStep Click(int id) {
  return {PageStep::Kind::Click, id};
}
inline PageStep Address(int id, const char* text) {
  return {PageStep::Kind::Address, id, text};
}

// Does `step` to `page`'s window as the user would; false when the control is not there.
bool Drive(Dialog& page, const PageStep& step);

}  // namespace azu::test
