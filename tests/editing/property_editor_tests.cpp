#include <sstream>

#include "editing/property_editor.h"
#include "support/frames.h"

namespace quillmere::test {
namespace {

// One shape: its first frame's positions, replacement index, flags, opacity,
// and how many frames it has.
struct TRow {
  int Sx = 0, Sy = 0, Fx = 0, Fy = 0, Ri = -1;
  int Flags = 0, Op = 255, Frames = 1, Bytes = 0;
};

// Frames after the first hold 99 everywhere, so touching one of them shows.
TShapeList Shapes(const std::vector<TRow>& rows) {
  TShapeList shapes;
  for (const TRow& r : rows) {
    TPatchFrame& s = shapes.emplace_back(TPatchFrame{std::uint16_t(r.Flags), std::int16_t(r.Ri), {}, {}});
    for (int i = 0; i < r.Frames; ++i) {
      const auto v = [i](int first) { return std::int16_t(i == 0 ? first : 99); };
      s.Frames.push_back({0, 0, v(r.Sx), v(r.Sy), v(r.Fx), v(r.Fy), 1, std::uint8_t(v(r.Op)), 0, {}});
      s.Frames.back().Pixels.Edit().resize(std::size_t(r.Bytes));
    }
  }
  return shapes;
}

// The editor's fields in the order of the table's codes: the six number
// fields, each its value and "+" when its switch is set or "~" when the items
// differ, then the three boxes, "+" checked, "-" unchecked, "~" grey.
const char* const kFields[] = {"ShapePosX", "ShapePosY", "FurrePosX", "FurrePosY", "ReplacementIndex",
                               "Opacity",   "Sittable",  "Walkable",  "Gettable"};

std::vector<std::string> Codes(const TPropertyEditor& e) {
  std::vector<std::string> codes;
  for (const TSwitchedField* f :
       {&e.ShapePosX, &e.ShapePosY, &e.FurrePosX, &e.FurrePosY, &e.ReplacementIndex, &e.Opacity}) {
    codes.push_back(std::to_string(f->Value) + (f->Set ? "+" : "~"));
  }
  for (const TFlagBox* b : {&e.Sittable, &e.Walkable, &e.Gettable}) {
    codes.emplace_back(b->State == TCheckState::Checked ? "+" : b->State == TCheckState::Grey ? "~" : "-");
  }
  return codes;
}

std::string Words(const std::string& code) {
  if (code == "+") return "checked";
  if (code == "-") return "unchecked";
  if (code == "~") return "grey";
  return code.substr(0, code.size() - 1) + (code.back() == '+' ? " (switch set)" : " (items differ)");
}

// Each field that differs from the row's code, in words ("FurrePosY shows 6
// (items differ), expected 5 (switch set)"); "" when all agree.
std::string Mismatches(const TPropertyEditor& e, const std::string& expected) {
  std::vector<std::string> want;
  std::istringstream words(expected);
  for (std::string word; words >> word;) want.push_back(word);
  if (!want.empty()) {  // the boxes are written as one word
    const std::string boxes = want.back();
    want.pop_back();
    for (char box : boxes) want.emplace_back(1, box);
  }
  const std::vector<std::string> shown = Codes(e);
  if (want.size() != shown.size()) return "a code of " + std::to_string(want.size()) + " fields";
  std::string out;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == want[i]) continue;
    out += std::string(out.empty() ? "" : "; ") + kFields[i] + " shows " + Words(shown[i]) + ", expected " +
           Words(want[i]);
  }
  return out;
}

TEST(PropertyEditor, FillShowsFirstValuesAndWhatDiffers) {
  // {first, last, what the editor shows, the shapes}
  // clang-format off
  const std::vector<std::tuple<int, int, std::string, std::vector<TRow>>> cases = {
      {0, 1, "4+ 1~ 0+ 5~ 7~ 200~ ---",
       {{.Sx = 4, .Sy = 1, .Fy = 5, .Ri = 7, .Op = 200}, {.Sx = 4, .Sy = 2, .Fy = 6, .Ri = 9}}},
      // Grey stays once set, even when a later shape agrees with the first; high bits take no part.
      {0, 3, "0+ 0+ 0+ 0+ -1+ 255+ ~+~", {{.Flags = 7}, {.Flags = 7}, {.Flags = 0xFF01}, {.Flags = 7}}},
      // Frameless shapes take no part, first or later.
      {0, 3, "2+ 0+ 0+ 0+ -1+ 255+ -~-",
       {{.Sx = 9, .Frames = 0}, {.Sx = 2, .Flags = 1}, {.Frames = 0}, {.Sx = 2}}},
  };
  // clang-format on
  for (const auto& [first, last, expected, rows] : cases) {
    EXPECT_EQ(Mismatches(TPropertyEditor::ForShapes(Shapes(rows), first, last), expected), "")
        << "shapes " << first << " to " << last;
  }
  EXPECT_EQ(Mismatches(TPropertyEditor::ForFrames(Shapes({{.Sy = 5, .Frames = 3}})[0], 0, 1),
                       "0~ 5~ 0~ 0~ 0~ 255~ ---"),
            "")
      << "frames 0 to 1";
}

TEST(PropertyEditor, CaptionFramesAndSize) {
  // {rows, steps on shape 0, frames form, first, last, "caption frames size"}
  const std::vector<std::tuple<std::vector<TRow>, int, bool, int, int, std::string>> cases = {
      {{{.Frames = 2, .Bytes = 1500}}, 4, false, 0, 0, "1 2 3KiB"},  // 2 x (1500 + 28) + 4 x 6 = 3080
      // The count of the first shape with frames; a frameless shape's steps still weigh.
      {{{.Frames = 0}, {.Frames = 2}}, 200, false, 0, 1, "1 - 2 2 1KiB"},
      // 2 x (2000 + 28) = 4056; steps don't count here (4110 would show 4KiB).
      {{{.Frames = 3, .Bytes = 2000}}, 9, true, 1, 2, "2 - 3 N/A 3KiB"},
  };
  for (const auto& [rows, steps, frames, first, last, expected] : cases) {
    TShapeList shapes = Shapes(rows);
    shapes[0].Script.resize(std::size_t(steps));
    const TPropertyEditor e = frames ? TPropertyEditor::ForFrames(shapes[0], first, last)
                                     : TPropertyEditor::ForShapes(shapes, first, last);
    EXPECT_EQ(e.RangeCaption + " " + e.FramesLabel + " " + e.SizeLabel, expected);
    EXPECT_EQ(e.FlagsEnabled && e.ReplacementEnabled, !frames) << expected;
  }
}

TEST(PropertyEditor, ApplyFlagsFollowBoxesAndFirstFurrePosition) {
  // {flags of two shapes before, Sittable box, furre X, furre Y, flags after}
  using TFlags = std::pair<int, int>;
  const std::vector<std::tuple<TFlags, TCheckState, int, int, TFlags>> cases = {
      {{5, 1}, TCheckState::Grey, 0, 0, {5, 1}},
      {{5, 1}, TCheckState::Checked, 0, 0, {5, 5}},
      {{5, 1}, TCheckState::Unchecked, 0, 0, {1, 1}},
      {{8 | 0x20 | 2, 8 | 2}, TCheckState::Unchecked, 0, 5, {18, 18}},
      // Positions whose low byte is 0 leave an FBJ nothing to store.
      {{8 | 16 | 1, 1}, TCheckState::Grey, 256, -256, {1, 1}},
  };
  for (const auto& [before, sittable, fx, fy, after] : cases) {
    TShapeList shapes = Shapes({{.Flags = before.first}, {.Flags = before.second}});
    TPropertyEditor e = TPropertyEditor::ForShapes(shapes, 0, 1);
    std::tie(e.Sittable.State, e.FurrePosX.Value, e.FurrePosY.Value) = std::tuple(sittable, fx, fy);
    e.Apply(shapes);
    EXPECT_EQ(TFlags(shapes[0].Flags, shapes[1].Flags), after) << fx << "," << fy;
  }
}

TEST(PropertyEditor, ApplyWritesOnlySetFieldsOfEditableItems) {
  TShapeList shapes = Shapes({{.Sx = 4, .Sy = 1, .Ri = 7, .Frames = 2},
                              {.Sy = 2, .Flags = 0x40, .Frames = 0},
                              {.Sx = 4, .Sy = 3, .Ri = 9, .Op = 5}});
  TPropertyEditor e = TPropertyEditor::ForShapes(shapes, 0, 2);
  EXPECT_FALSE(e.Apply(shapes));
  e.ShapePosY.Set = e.ReplacementIndex.Set = true;
  e.FurrePosX.Value = 12;
  EXPECT_TRUE(e.Apply(shapes));
  EXPECT_EQ(shapes, Shapes({{.Sx = 4, .Sy = 1, .Fx = 12, .Ri = 7, .Flags = 8, .Frames = 2},
                            {.Sy = 2, .Flags = 0x40, .Frames = 0},
                            {.Sx = 4, .Sy = 1, .Fx = 12, .Ri = 7, .Flags = 8, .Op = 5}}));

  // Frames: only the range, and never the shape's flags or replacement index.
  TPatchFrame shape = Shapes({{.Ri = 3, .Flags = 0x21, .Frames = 4}})[0], expected = shape;
  TPropertyEditor f = TPropertyEditor::ForFrames(shape, 1, 2);
  std::tie(f.FurrePosY.Value, f.Sittable.State) = std::tuple(-7, TCheckState::Checked);
  EXPECT_FALSE(f.Apply(shapes));
  EXPECT_TRUE(f.Apply(shape));
  expected.Frames[1].FurrePosY = expected.Frames[2].FurrePosY = -7;
  EXPECT_EQ(shape, expected);
}

}  // namespace
}  // namespace quillmere::test
