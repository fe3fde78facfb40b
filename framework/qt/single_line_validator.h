#pragma once
// Keeps a single-line edit on one line, as a Windows edit control does: text that arrives with a
// line break (pasted, dropped, set) is cut at its first CR or LF, so a value can never carry a
// new line into a server file. Optionally takes digits only.

#include <QValidator>

class QLineEdit;

namespace azu {

class SingleLineValidator final : public QValidator {
  Q_OBJECT

 public:
  SingleLineValidator(QLineEdit* edit, bool digitsOnly);

  State validate(QString& input, int& pos) const override;

 private:
  bool digitsOnly_;
  // The text last accepted: what is new in `input` is told apart from what the edit held.
  mutable QString accepted_;
};

}  // namespace azu
