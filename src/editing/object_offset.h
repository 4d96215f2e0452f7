#pragma once

#include <string>
#include <string_view>

#include "documents/document.h"

namespace quillmere {

// Keys the offset field acts on itself; other keys go to the field.
enum class TOffsetKey { Enter, Escape, Other };

// The "Object Offset" dialog without its widgets: the number in the field
// (any whole number that fits the offset) and whether the person accepted it.
// The offset only changes the shape numbers shown, so applying it never
// marks the document modified.
class TObjectOffsetDialog {
 public:
  // The field starts with the pane's current offset.
  explicit TObjectOffsetDialog(const TDocument& document) : Value(document.Offset) {}

  int Value;

  void Reset();   // "Reset": the field becomes 0, accepted, closed
  void Ok();      // "Ok": accepted, closed
  void Cancel();  // "Cancel" or the close box: closed, not accepted
  // Enter acts as "Ok", Escape as "Cancel"; returns whether the key was used.
  bool KeyDown(TOffsetKey key);

  bool Accepted() const { return accepted_; }
  bool Closed() const { return closed_; }

  // Sets the pane's offset when accepted; returns whether it changed, so the
  // caller knows to refresh the captions.
  bool ApplyTo(TDocument& document) const;

 private:
  bool accepted_ = false;
  bool closed_ = false;
};

// The number in the offset field as typed: text that is no whole number
// (empty, a lone sign) reads as 0, and a number beyond what an offset can hold
// as the nearer end of that range.
int OffsetFieldValue(std::string_view text);

// The status panel of a pane's main grid: "Selected Shape: " and the focused
// column plus the offset, with "*" before the number while an offset is set.
std::string SelectedShapeStatus(int column, int offset);

}  // namespace quillmere
