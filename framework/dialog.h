#pragma once
// A dialog made from a template: the object lives without a window (as the program's page objects
// and main window do between runs); DoModal or Create builds the window and its controls, found
// afterwards by id. Derived classes exchange data, answer commands and notifications. The window
// itself belongs to the back end of the platform (framework/qt, framework/win32).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/combo_box.h"
#include "framework/dialog_template.h"
#include "framework/ip_address_control.h"
#include "framework/list_view.h"
#include "framework/tab_control.h"
#include "framework/window_handle.h"

namespace azu {

class DataExchange;

class Dialog {
 public:
  enum class Event : std::uint8_t { Clicked, SelChange, ItemChanged };

  explicit Dialog(const DialogTemplate& dialogTemplate);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  Dialog(Dialog&&) = delete;
  Dialog& operator=(Dialog&&) = delete;

  // Builds the window, runs it modally over the active window and destroys it; IDOK or IDCANCEL
  // (or what EndDialog gave).
  int DoModal();
  // Builds the window as an invisible child of `parent` and initialises it.
  bool Create(WindowHandle parent);
  void DestroyWindow();
  [[nodiscard]] WindowHandle Window() const;
  [[nodiscard]] const DialogTemplate& Template() const { return template_; }
  // The template entry of control `id`, null when the template has none.
  [[nodiscard]] const ControlTemplate* ControlOf(int id) const;

  // Data exchange: true towards the members (with checks), false towards the controls.
  bool UpdateData(bool saveAndValidate = true);
  void EndDialog(int result);

  [[nodiscard]] WindowHandle Item(int id) const;
  void SetItemText(int id, const char* text);  // Windows-1252; null gives empty
  [[nodiscard]] std::string ItemText(int id) const;
  void EnableItem(int id, bool enable);
  [[nodiscard]] bool IsItemEnabled(int id) const;
  void ShowItem(int id, bool show);
  // Radio buttons: checked or not; setting never notifies.
  [[nodiscard]] bool IsChecked(int id) const;
  void SetCheck(int id, bool checked);
  // The most characters edit `id` takes from the user (0: the control's own limit).
  void LimitText(int id, int maxChars);
  // Puts the focus into control `id`, its text selected (after a failed check).
  void FocusItem(int id);
  [[nodiscard]] ComboBox Combo(int id) const;
  [[nodiscard]] ListView List(int id) const;
  [[nodiscard]] TabControl Tabs(int id) const;
  [[nodiscard]] IpAddressControl IpAddress(int id) const;
  void SetCaption(const char* text);
  void Show(bool show);
  void Move(const Rect& rect);
  // Ids of the radio group that starts at `firstId`, in template order.
  [[nodiscard]] std::vector<int> RadioGroup(int firstId) const;
  // An entry of the window's own menu (the system menu on Windows, the context menu where the
  // window system gives the program none), below a separator.
  void AddWindowMenuEntry(const char* text, std::function<void()> chosen);

  // The command Enter sends: the template's default push button, else IDOK.
  [[nodiscard]] int DefaultCommand() const;
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab of the dialog's tab strip, wrapping,
  // notified as the user's choice. False when the dialog has no tab strip.
  bool SelectNextTab(bool forward);

  // Commands and notifications as the window delivers them.
  void Command(int id);
  void Notify(int id, Event event);
  // The window's own menu entry `index` was chosen.
  void WindowMenuChosen(std::size_t index);

  // What each back end keeps of a dialog's window.
  struct Native;

 protected:
  virtual bool OnInitDialog();  // exchanges towards the controls; true: focus to the first field
  virtual void DoDataExchange(DataExchange& dx);
  virtual void OnOK();      // takes the fields, ends with IDOK when they pass
  virtual void OnCancel();  // ends with IDCANCEL
  // The handler of `event` from control `id` (the dialog's message map).
  void On(int id, Event event, std::function<void()> handler);

 private:
  // Control `id` when the template makes it a `kind`, else null.
  [[nodiscard]] WindowHandle ItemOfKind(int id, ControlKind kind) const;

  const DialogTemplate& template_;
  std::unique_ptr<Native> native_;
  std::map<std::pair<int, Event>, std::function<void()>> handlers_;
  std::vector<std::function<void()>> menuEntries_;

  friend struct DialogBackend;
};

}  // namespace azu
