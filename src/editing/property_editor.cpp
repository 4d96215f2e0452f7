#include "editing/property_editor.h"

#include <algorithm>
#include <cstdint>

#include "interface/messages.h"
#include "interface/number_field.h"
#include "model/shape_flags.h"

namespace quillmere {
namespace {

// Every frame costs its pixel bytes plus this many bytes of header.
constexpr std::uint64_t kFrameHeaderBytes = 28;
// Every KitterSpeak step costs three 16-bit words.
constexpr std::uint64_t kStepBytes = 6;

// Cuts a requested range to the items that exist; an empty result has last < first.
void CutRange(std::size_t count, int& first, int& last) {
  first = std::max(first, 0);
  last = static_cast<int>(std::min<std::int64_t>(last, static_cast<std::int64_t>(count) - 1));
}

std::string Caption(int first, int last) {
  if (last < first) return "#-#";
  if (first == last) return std::to_string(first + 1);
  return std::to_string(first + 1) + " - " + std::to_string(last + 1);
}

std::string KiB(std::uint64_t bytes) { return std::to_string(bytes / 1024) + "KiB"; }

void Seed(TSwitchedField& field, int value) { field = {value, true}; }

void Mix(TSwitchedField& field, int value) {
  if (field.Value != value) field.Set = false;
}

void Seed(TFlagBox& box, bool on) { box.State = on ? TCheckState::Checked : TCheckState::Unchecked; }

void Mix(TFlagBox& box, bool on) {
  if (box.State != TCheckState::Grey && (box.State == TCheckState::Checked) != on) {
    box.State = TCheckState::Grey;
    box.GreyAllowed = true;
  }
}

void Take(const TFlagBox& box, bool& flag) {
  if (box.State != TCheckState::Grey) flag = box.State == TCheckState::Checked;
}

// The model's fields are 16 and 8 bits wide; a value from the window that
// does not fit keeps its low bits, as the stored word would.
std::int16_t Cut16(int value) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(value)); }
std::uint8_t Cut8(int value) { return static_cast<std::uint8_t>(value); }

template <typename T>
bool Assign(T& target, T value) {
  if (target == value) return false;
  target = value;
  return true;
}

template <typename T>
bool Write(const TSwitchedField& field, T& target, T (*cut)(int)) {
  return field.Set && Assign(target, cut(field.Value));
}

}  // namespace

TPropertyEditor TPropertyEditor::ForShapes(const TShapeList& shapes, int first, int last) {
  TPropertyEditor editor;
  CutRange(shapes.size(), first, last);
  editor.first_ = first;
  editor.last_ = last;
  editor.RangeCaption = Caption(first, last);
  editor.FramesLabel = "0";
  std::uint64_t total = 0;
  for (int i = first; i <= last; ++i) {
    const TPatchFrame& shape = shapes[static_cast<std::size_t>(i)];
    total += kStepBytes * shape.Script.size();
    for (const TPatchSubFrame& frame : shape.Frames) total += frame.Pixels.size() + kFrameHeaderBytes;
    if (shape.Frames.empty()) continue;
    const TPatchSubFrame& f0 = shape.Frames.front();
    const TShapeFlags flags = UnpackFlags(shape.Flags);
    if (!editor.hasItems_) {
      editor.hasItems_ = true;
      Seed(editor.ShapePosX, f0.ShapePosX);
      Seed(editor.ShapePosY, f0.ShapePosY);
      Seed(editor.FurrePosX, f0.FurrePosX);
      Seed(editor.FurrePosY, f0.FurrePosY);
      Seed(editor.ReplacementIndex, shape.ReplacementIndex);
      Seed(editor.Opacity, f0.Opacity);
      Seed(editor.Sittable, flags.Sittable);
      Seed(editor.Walkable, flags.Walkable);
      Seed(editor.Gettable, flags.Gettable);
      editor.FramesLabel = std::to_string(shape.Frames.size());
      continue;
    }
    Mix(editor.ShapePosX, f0.ShapePosX);
    Mix(editor.ShapePosY, f0.ShapePosY);
    Mix(editor.FurrePosX, f0.FurrePosX);
    Mix(editor.FurrePosY, f0.FurrePosY);
    Mix(editor.ReplacementIndex, shape.ReplacementIndex);
    Mix(editor.Opacity, f0.Opacity);
    Mix(editor.Sittable, flags.Sittable);
    Mix(editor.Walkable, flags.Walkable);
    Mix(editor.Gettable, flags.Gettable);
  }
  editor.SizeLabel = KiB(total);
  return editor;
}

TPropertyEditor TPropertyEditor::ForFrames(const TPatchFrame& shape, int first, int last) {
  TPropertyEditor editor;
  editor.editsFrames_ = true;
  editor.FlagsEnabled = false;
  editor.ReplacementEnabled = false;
  editor.FramesLabel = "N/A";
  CutRange(shape.Frames.size(), first, last);
  editor.first_ = first;
  editor.last_ = last;
  editor.RangeCaption = Caption(first, last);
  editor.hasItems_ = first <= last;
  std::uint64_t total = 0;
  for (int i = first; i <= last; ++i) {
    const TPatchSubFrame& frame = shape.Frames[static_cast<std::size_t>(i)];
    total += frame.Pixels.size() + kFrameHeaderBytes;
    const bool seed = i == first;
    const auto put = [seed](TSwitchedField& field, int value) {
      seed ? Seed(field, value) : Mix(field, value);
    };
    put(editor.ShapePosX, frame.ShapePosX);
    put(editor.ShapePosY, frame.ShapePosY);
    put(editor.FurrePosX, frame.FurrePosX);
    put(editor.FurrePosY, frame.FurrePosY);
    put(editor.Opacity, frame.Opacity);
  }
  editor.SizeLabel = KiB(total);
  return editor;
}

bool TPropertyEditor::Apply(TShapeList& shapes) const {
  if (editsFrames_) return false;
  int first = first_, last = last_;
  CutRange(shapes.size(), first, last);
  bool changed = false;
  for (int i = first; i <= last; ++i) {
    TPatchFrame& shape = shapes[static_cast<std::size_t>(i)];
    if (shape.Frames.empty()) continue;
    TPatchSubFrame& f0 = shape.Frames.front();
    changed |= Write(FurrePosX, f0.FurrePosX, Cut16);
    changed |= Write(FurrePosY, f0.FurrePosY, Cut16);
    changed |= Write(ShapePosX, f0.ShapePosX, Cut16);
    changed |= Write(ShapePosY, f0.ShapePosY, Cut16);
    TShapeFlags flags = UnpackFlags(shape.Flags);
    Take(Sittable, flags.Sittable);
    Take(Walkable, flags.Walkable);
    Take(Gettable, flags.Gettable);
    // Bits 8 and 16 announce the byte an FBJ file stores for each furre
    // coordinate, so they follow that byte: the position's low 8 bits.
    const bool furreX = static_cast<std::uint8_t>(f0.FurrePosX) != 0;
    const bool furreY = static_cast<std::uint8_t>(f0.FurrePosY) != 0;
    changed |= Assign(shape.Flags, PackFlags(furreX, furreY, flags));
    changed |= Write(ReplacementIndex, shape.ReplacementIndex, Cut16);
    changed |= Write(Opacity, f0.Opacity, Cut8);
  }
  return changed;
}

bool TPropertyEditor::Apply(TPatchFrame& shape) const {
  if (!editsFrames_) return false;
  int first = first_, last = last_;
  CutRange(shape.Frames.size(), first, last);
  bool changed = false;
  for (int i = first; i <= last; ++i) {
    TPatchSubFrame& frame = shape.Frames[static_cast<std::size_t>(i)];
    changed |= Write(FurrePosX, frame.FurrePosX, Cut16);
    changed |= Write(FurrePosY, frame.FurrePosY, Cut16);
    changed |= Write(ShapePosX, frame.ShapePosX, Cut16);
    changed |= Write(ShapePosY, frame.ShapePosY, Cut16);
    changed |= Write(Opacity, frame.Opacity, Cut8);
  }
  return changed;
}

std::string TypedReplacementIndex(std::string_view text) {
  constexpr int kLargestTyped = 65535;
  // Only a number above the largest can change; any other text stays as typed.
  if (NumberFieldValue(text, kLargestTyped, kLargestTyped + 1) > kLargestTyped) {
    return std::to_string(kLargestTyped);
  }
  return std::string(text);
}

bool CheckSomethingToEdit(const TShapeList& shapes, UserInterface& ui) {
  if (!shapes.empty()) return true;
  Show(ui, TMsgId::NothingToEdit);
  return false;
}

}  // namespace quillmere
