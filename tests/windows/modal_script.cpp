#include "tests/windows/modal_script.h"

#include <algorithm>
#include <array>

#include "framework/win32/win32_dialog.h"

namespace azu::test {
namespace {

struct Script {
  std::vector<ModalStep> steps;
  std::size_t next = 0;
  int ticksLeft = 0;
  bool gaveUp = false;
  UINT_PTR timer = 0;
};

Script& Current() {
  static Script script;
  return script;
}

void CALLBACK Tick(HWND /*hwnd*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
  Script& script = Current();
  if (script.next >= script.steps.size()) {
    KillTimer(nullptr, script.timer);
    return;
  }
  if (--script.ticksLeft < 0) {
    // Given up: close what is open, one dialog a tick, so the test ends and reports the step.
    script.gaveUp = true;
    if (const HWND top = TopDialog()) {
      PostMessageW(top, WM_COMMAND, IDCANCEL, 0);
    } else {
      KillTimer(nullptr, script.timer);
    }
    return;
  }
  // A key pressed with Ctrl at the last tick has been routed by now.
  std::array<BYTE, 256> keys{};
  GetKeyboardState(keys.data());
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys.data());
  // A step may open a modal dialog whose loop ticks on: the later steps then run inside it.
  const std::size_t index = script.next;
  script.next = index + 1;
  if (!script.steps[index]() && script.next == index + 1) script.next = index;
}

BOOL CALLBACK FindTop(HWND hwnd, LPARAM found) {
  if (ClassOf(hwnd) == "#32770" && IsWindowVisible(hwnd) != FALSE &&
      IsWindowEnabled(hwnd) != FALSE) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void StartModalScript(std::vector<ModalStep> steps, int maxTicks) {
  Script& script = Current();
  script.steps = std::move(steps);
  script.next = 0;
  script.ticksLeft = maxTicks;
  script.gaveUp = false;
  script.timer = SetTimer(nullptr, 0, 30, &Tick);
}

bool ModalScriptDone() {
  return !Current().gaveUp && Current().next >= Current().steps.size();
}

HWND TopDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindTop, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string ClassOf(HWND hwnd) {
  std::array<wchar_t, 64> name{};
  const int length = GetClassNameW(hwnd, name.data(), static_cast<int>(name.size()));
  return Cp1252FromWide(std::wstring_view(name.data(), static_cast<std::size_t>(length)));
}

std::string TextOf(HWND hwnd) {
  return WindowTextOf(hwnd);
}

void PressKey(HWND target, WPARAM key, bool control) {
  std::array<BYTE, 256> keys{};
  GetKeyboardState(keys.data());
  keys[VK_CONTROL] = control ? 0x80 : 0;
  SetKeyboardState(keys.data());
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

}  // namespace azu::test
