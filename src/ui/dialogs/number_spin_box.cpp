#include "ui/dialogs/number_spin_box.h"

#include "interface/number_field.h"

namespace quillmere::ui {
namespace {

// Longer text than any 32-bit number needs is refused as it is typed.
constexpr qsizetype kLongestText = 12;

bool WholeNumberSoFar(const QString& text) {
  if (text.size() > kLongestText) return false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (i == 0 && (c == '-' || c == '+')) continue;
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

NumberSpinBox::NumberSpinBox(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
  setRange(minimum, maximum);
  // The value settles when the field loses the focus, not on every key.
  setKeyboardTracking(false);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State NumberSpinBox::validate(QString& input, int& pos) const {
  if (filter_) {
    const QByteArray typed = input.toUtf8();
    const std::string filtered =
        filter_(std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())));
    const QString changed = QString::fromStdString(filtered);
    if (changed != input) {
      input = changed;
      pos = static_cast<int>(std::min<qsizetype>(pos, input.size()));
    }
  }
  return WholeNumberSoFar(input) ? QValidator::Acceptable : QValidator::Invalid;
}

int NumberSpinBox::valueFromText(const QString& text) const {
  const QByteArray typed = text.trimmed().toUtf8();
  const std::string_view view(typed.constData(), static_cast<std::size_t>(typed.size()));
  return reader_ ? reader_(view) : NumberFieldValue(view, minimum(), maximum());
}

}  // namespace quillmere::ui
