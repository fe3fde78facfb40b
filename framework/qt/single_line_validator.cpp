#include "framework/qt/single_line_validator.h"

#include <QLineEdit>
#include <algorithm>

namespace azu {
namespace {

qsizetype FirstLineBreak(const QString& text, qsizetype from = 0) {
  for (qsizetype i = from; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) return i;
  }
  return -1;
}

}  // namespace

SingleLineValidator::SingleLineValidator(QLineEdit* edit, bool digitsOnly)
    : QValidator(edit), digitsOnly_(digitsOnly), accepted_(edit->text()) {}

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const {
  if (FirstLineBreak(input) >= 0) {
    // The inserted part lies between what the text shares with the accepted one at its start
    // and at its end; only that part is cut, the rest of the field stays.
    const qsizetype limit = std::min(input.size(), accepted_.size());
    qsizetype prefix = 0;
    while (prefix < limit && input[prefix] == accepted_[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < limit - prefix &&
           input[input.size() - 1 - suffix] == accepted_[accepted_.size() - 1 - suffix]) {
      ++suffix;
    }
    const qsizetype insertedEnd = input.size() - suffix;
    qsizetype cut = FirstLineBreak(input, prefix);
    if (cut >= insertedEnd) cut = prefix;  // a break outside the insertion: keep none of it
    QString kept = input.left(cut);
    const qsizetype keptInserted = kept.size();
    QString rest = input.mid(insertedEnd);
    const qsizetype restBreak = FirstLineBreak(rest);
    if (restBreak >= 0) rest.truncate(restBreak);
    input = kept + rest;
    pos = static_cast<int>(keptInserted);
  }
  if (digitsOnly_ && std::any_of(input.cbegin(), input.cend(), [](QChar c) {
        return c < QLatin1Char('0') || c > QLatin1Char('9');
      })) {
    return Invalid;
  }
  accepted_ = input;
  return Acceptable;
}

}  // namespace azu
