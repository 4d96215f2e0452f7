#pragma once

#include <string>
#include <string_view>

#include "interface/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

// A check box that can also show grey: the edited items don't agree.
enum class TCheckState { Unchecked, Checked, Grey };

// The limits of the dialog's number fields; a spin edit brings a value outside
// them to the nearest limit when the field loses focus.
struct TFieldLimits {
  int Min;
  int Max;
};
inline constexpr TFieldLimits kPositionLimits{-255, 255};
inline constexpr TFieldLimits kReplacementLimits{-1, 32000};
inline constexpr TFieldLimits kOpacityLimits{0, 255};

// A number field with its "If checked, sets the value" switch. Filling checks
// the switch only when every edited item holds the value shown.
struct TSwitchedField {
  int Value = 0;
  bool Set = false;

  bool operator==(const TSwitchedField&) const = default;
};

// A flag check box. Once the items disagree the box turns grey, and from then
// on the person may choose grey again when cycling through its states.
struct TFlagBox {
  TCheckState State = TCheckState::Unchecked;
  bool GreyAllowed = false;

  bool operator==(const TFlagBox&) const = default;
};

// The property dialog without its widgets, for shapes Left..Right of a
// document's list or for frames Left..Right of one shape. The window copies
// the fields into its widgets, lets the person edit them, copies them back
// and calls Apply on OK; Cancel simply drops the editor.
//
// Shapes without frames are left out: they have no first frame to show or to
// write, so they neither mix the switches nor change on Apply. Ranges that
// reach past the list are cut to it.
class TPropertyEditor {
 public:
  static TPropertyEditor ForShapes(const TShapeList& shapes, int first, int last);
  static TPropertyEditor ForFrames(const TPatchFrame& shape, int first, int last);

  // The first item's values; for shapes those of its first frame.
  TSwitchedField FurrePosX, FurrePosY, ShapePosX, ShapePosY;
  TSwitchedField ReplacementIndex;  // shapes only
  TSwitchedField Opacity;           // shown, never edited; written back when shared
  TFlagBox Sittable, Walkable, Gettable;

  bool FlagsEnabled = true;          // the "Flags" group with its three boxes
  bool ReplacementEnabled = true;    // the replacement index with its switch
  std::string RangeCaption = "#-#";  // after "Currently modifying:", 1-based
  std::string FramesLabel;           // after "Total Frames:"
  std::string SizeLabel;             // after "Object(s) Size:", e.g. "3KiB"

  bool EditsFrames() const { return editsFrames_; }
  // False when the range holds no item that can be edited.
  bool HasItems() const { return hasItems_; }

  // Writes the fields whose switch is set, and for shapes the flags of every
  // box that is not grey, to the range filled from. Returns whether anything
  // changed, so the caller knows to mark the document modified. The overload
  // that does not match how the editor was filled changes nothing.
  bool Apply(TShapeList& shapes) const;
  bool Apply(TPatchFrame& shape) const;

 private:
  bool editsFrames_ = false;
  bool hasItems_ = false;
  int first_ = 0;
  int last_ = -1;
};

// The replacement index field while it is being typed in: a number above
// 65535 shows as 65535 at once. Its limits apply only once it loses the focus
// (NumberFieldValue with kReplacementLimits), so 70000 reads 65535, then 32000.
std::string TypedReplacementIndex(std::string_view text);

// The entry points open the editor only for a document holding a shape;
// otherwise this shows "Nothing selected to edit!" and returns false.
bool CheckSomethingToEdit(const TShapeList& shapes, UserInterface& ui);

}  // namespace quillmere
