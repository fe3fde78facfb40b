#pragma once
// A dialog made from a template: the object lives without a window (as the program's page objects
// and main window do between runs); DoModal or Create builds the window and its controls, found
// afterwards by id. Derived classes exchange data, answer commands and notifications.

#include <QPointer>
#include <QRect>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/combo_box.h"
#include "framework/dialog_template.h"
#include "framework/list_view.h"
#include "framework/tab_control.h"

class QWidget;

namespace azu {

class DataExchange;
class DialogWindow;
class IpAddressControl;

// objectName of the control with `id` ("id1015"), so tests and code find it without its widget.
QString ControlName(int id);

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
  bool Create(QWidget* parent);
  void DestroyWindow();
  [[nodiscard]] QWidget* Window() const;
  [[nodiscard]] const DialogTemplate& Template() const { return template_; }

  // Data exchange: true towards the members (with checks), false towards the controls.
  bool UpdateData(bool saveAndValidate = true);
  void EndDialog(int result);

  [[nodiscard]] QWidget* Item(int id) const;
  void SetItemText(int id, const char* text);  // Windows-1252; null gives empty
  [[nodiscard]] std::string ItemText(int id) const;
  void EnableItem(int id, bool enable);
  void ShowItem(int id, bool show);
  [[nodiscard]] ComboBox Combo(int id) const;
  [[nodiscard]] ListView List(int id) const;
  [[nodiscard]] TabControl Tabs(int id) const;
  [[nodiscard]] IpAddressControl* IpAddress(int id) const;
  void SetCaption(const char* text);
  void Show(bool show);
  void Move(const QRect& rect);
  // Ids of the radio group that starts at `firstId`, in template order.
  [[nodiscard]] std::vector<int> RadioGroup(int firstId) const;

  // The command Enter sends: the template's default push button, else IDOK.
  [[nodiscard]] int DefaultCommand() const;
  // The controls Tab walks, in template order: tab stops that are visible and enabled, of a
  // radio group the checked button, and right after a control the stops of the child dialogs
  // it hosts (a page on the tab strip), as the Windows dialog manager walks a control parent.
  [[nodiscard]] std::vector<QWidget*> TabStops() const;
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab of the dialog's tab strip, wrapping,
  // notified as the user's choice. False when the dialog has no tab strip.
  bool SelectNextTab(bool forward);

  // Commands and notifications as the window delivers them.
  void Command(int id);
  void Notify(int id, Event event);

 protected:
  virtual bool OnInitDialog();  // exchanges towards the controls; true: focus to the first field
  virtual void DoDataExchange(DataExchange& dx);
  virtual void OnOK();      // takes the fields, ends with IDOK when they pass
  virtual void OnCancel();  // ends with IDCANCEL
  // The handler of `event` from control `id` (the dialog's message map).
  void On(int id, Event event, std::function<void()> handler);

 private:
  void BuildWindow(QWidget* parent, bool child);
  void LabelFields();
  [[nodiscard]] bool IsTabStop(const ControlTemplate& control, const QWidget* widget) const;

  const DialogTemplate& template_;
  QPointer<DialogWindow> window_;
  std::map<std::pair<int, Event>, std::function<void()>> handlers_;
};

}  // namespace azu
