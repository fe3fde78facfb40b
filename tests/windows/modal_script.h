#pragma once
// Drives modal Win32 dialogs from inside their own loops: a timer runs one step at a time, each
// step returning true when done (false: try again at the next tick), until the script ends. A
// step that opens a modal dialog lets the next steps run inside that dialog's loop.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace azu::test {

using ModalStep = std::function<bool()>;

// Starts `steps` now; the caller then runs the modal dialog. After `maxTicks` ticks the script
// gives up and cancels whatever dialog is open, so a broken run cannot hang.
void StartModalScript(std::vector<ModalStep> steps, int maxTicks = 400);
// True once every step has run, before the script gave up.
bool ModalScriptDone();

// The enabled, visible dialog window of this thread on top: the one a modal loop runs now.
HWND TopDialog();
std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd);
// Posts a key press to `target`, for the dialog's loop to route as it routes the user's keys;
// `control` holds Ctrl down meanwhile.
void PressKey(HWND target, WPARAM key, bool control = false);

}  // namespace azu::test
