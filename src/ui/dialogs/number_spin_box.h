#pragma once

#include <QSpinBox>
#include <functional>
#include <string>
#include <string_view>

namespace quillmere::ui {

// A spin box that lets the person type any whole number and settles it as the
// core reads a number field: by default a number beyond the limits goes to the
// nearer limit once the field loses the focus, and text that is no number
// reads as the minimum.
class NumberSpinBox : public QSpinBox {
 public:
  using TReader = std::function<int(std::string_view text)>;
  using TTypedFilter = std::function<std::string(std::string_view text)>;

  NumberSpinBox(int minimum, int maximum, QWidget* parent = nullptr);

  // How the typed text reads as a value (instead of the limits' rule).
  void SetReader(TReader reader) { reader_ = std::move(reader); }
  // A change made to the text at once, while it is typed.
  void SetTypedFilter(TTypedFilter filter) { filter_ = std::move(filter); }

  // The value of the text as it stands, as the field will settle it; a button
  // pressed with Enter leaves the text unsettled.
  int TypedValue() const { return valueFromText(text()); }

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  int valueFromText(const QString& text) const override;

 private:
  TReader reader_;
  TTypedFilter filter_;
};

}  // namespace quillmere::ui
