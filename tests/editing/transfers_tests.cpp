#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "editing/transfers.h"

namespace quillmere::test {
namespace {

// Documents as letters: shapes separated by spaces, one letter per frame ("."
// for a shape without frames). Upper case marks a shape that replaces a game
// object, so a copy (which replaces nothing) shows in lower case and a moved
// shape keeps its capitals.
TDocument Document(const std::string& text) {
  TDocument document;
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    TPatchFrame& shape = document.Shapes.emplace_back();
    if (std::isupper(static_cast<unsigned char>(word[0]))) shape.ReplacementIndex = 7;
    for (char letter : word) {
      if (letter == '.') continue;
      const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
      shape.Frames.push_back({.Height = 1, .Width = 1, .Pixels = {static_cast<std::uint8_t>(lower)}});
    }
  }
  return document;
}

std::string Letters(const TDocument& document) {
  std::string text;
  for (const TPatchFrame& shape : document.Shapes) {
    if (!text.empty()) text += ' ';
    if (shape.Frames.empty()) text += '.';
    for (const TPatchSubFrame& frame : shape.Frames) {
      const char letter = static_cast<char>(frame.Pixels.at(0));
      text += shape.ReplacementIndex == -1 ? letter : static_cast<char>(std::toupper(letter));
    }
  }
  return text;
}

// A pane on its Main tab with shapes left..right selected and the focus on
// `focus`; a pane on its SubFrames tab showing shape `shape`.
TPaneSelection M(int left, int right, int focus) {
  return {TTransferTab::Main, {left, right}, focus, {0, 0}};
}
TPaneSelection F(int shape, int left, int right) {
  return {TTransferTab::SubFrames, {shape, shape}, shape, {left, right}};
}

using Operation = TTransferResult (*)(const TTransfer&);
constexpr TTransferMode kCopy = TTransferMode::Copy;
constexpr TTransferMode kMove = TTransferMode::Move;
constexpr const char* kRefused = nullptr;
constexpr const char* kSource = "PQ R S T";

struct Case {
  const char* name;
  Operation operation;
  TTransferMode mode;
  const char* dest;
  TPaneSelection destPane;
  TPaneSelection srcPane;
  const char* destAfter = kRefused;  // kRefused: nothing runs, nothing changes
  TPaneSelection destPaneAfter = {};
  const char* srcAfter = nullptr;                   // nullptr: the source as before, not modified
  std::optional<TPaneSelection> srcPaneAfter = {};  // empty: as before
  const char* src = kSource;
};

TEST(Transfers, OperationsChangeDocumentsAndSelections) {
  const char* d = "ab c d";
  const TPaneSelection m0 = M(0, 0, 0);
  const TPaneSelection dragged{TTransferTab::SubFrames, {0, 2}, 2, {0, 0}};
  const Case cases[] = {
      // Copy, destination Main / source Main.
      {"before", InsertBefore, kCopy, d, M(1, 1, 1), M(1, 2, 2), "ab r s c d", M(1, 1, 1)},
      {"after, focus follows", InsertAfter, kCopy, d, m0, M(1, 1, 1), "ab r c d", M(1, 1, 1)},
      {"after, to the old end", InsertAfter, kCopy, d, m0, M(1, 2, 2), "ab r s c d", m0},
      {"after the last appends", InsertAfter, kCopy, d, M(1, 2, 2), M(0, 1, 1), "ab c d pq r", M(3, 3, 3)},
      {"after into empty", InsertAfter, kCopy, "", m0, M(1, 2, 2), "r s", M(1, 1, 1)},
      {"replace grows", Replace, kCopy, d, M(1, 1, 1), M(0, 2, 2), "ab pq r s d", M(1, 1, 1)},
      {"replace into empty", Replace, kCopy, "", m0, M(3, 3, 3), "t", m0},
      // Copy, Main / SubFrames: one new shape per frame.
      {"frames before", InsertBefore, kCopy, d, M(2, 2, 2), F(0, 0, 1), "ab c p q d", M(2, 2, 2)},
      {"frames after first shape", InsertAfter, kCopy, d, M(0, 2, 2), F(0, 0, 1), "ab p q c d", M(0, 2, 2)},
      {"frames after last", InsertAfter, kCopy, d, M(2, 2, 2), F(0, 0, 1), "ab c p q d", M(2, 2, 2)},
      {"frames replace", Replace, kCopy, d, M(0, 1, 1), F(0, 1, 1), "q d", M(0, 1, 1)},
      // Copy, SubFrames / Main: every frame of each shape.
      {"into frames before", InsertBefore, kCopy, d, F(0, 1, 1), M(1, 2, 2), "arsb c d", F(0, 1, 1)},
      {"into frames after first", InsertAfter, kCopy, d, F(0, 0, 1), M(1, 2, 2), "arsb c d", F(0, 0, 1)},
      {"into frames replace", Replace, kCopy, d, F(0, 0, 1), m0, "pq c d", F(0, 0, 1)},
      {"into frameless after", InsertAfter, kCopy, ". c", F(0, 0, 0), M(1, 1, 1), "r c", F(0, 0, 0)},
      // Copy, SubFrames / SubFrames.
      {"frames to frames: before", InsertBefore, kCopy, d, F(0, 1, 1), F(0, 1, 1), "aqb c d", F(0, 1, 1)},
      {"frames to frames: after", InsertAfter, kCopy, d, F(0, 0, 0), F(0, 0, 1), "apqb c d", F(0, 0, 0)},
      {"frames to frames: replace", Replace, kCopy, d, F(0, 1, 1), F(0, 0, 1), "apq c d", F(0, 1, 1)},
      // Shapes 0..2 dragged left to right: the grid shows shape 2's frames,
      // the frames go into shape 0.
      {"dragged range", InsertBefore, kCopy, d, dragged, F(3, 0, 0), "tab c d", dragged},
      // Move, Main / Main: the shapes themselves change lists.
      {"move before", InsertBefore, kMove, d, M(1, 1, 1), M(0, 1, 1), "ab PQ R c d", M(1, 1, 1), "S T"},
      {"move after appends", InsertAfter, kMove, d, M(2, 2, 2), M(2, 3, 3), "ab c d S T", M(3, 3, 3), "PQ R",
       M(1, 1, 1)},
      {"move replace", Replace, kMove, d, m0, m0, "PQ c d", m0, "R S T"},
      // Transfers refused.
      {"move from frames", InsertBefore, kMove, d, m0, F(0, 0, 0)},
      {"move into frames", Replace, kMove, d, F(0, 0, 0), m0},
      {"empty destination frames", InsertBefore, kCopy, "", F(0, 0, 0), m0},
      {"empty source", InsertAfter, kCopy, d, m0, m0, kRefused, {}, nullptr, {}, ""},
      {"selection past the grid", Replace, kCopy, d, m0, M(3, 4, 4)},
      // Delete and the shifts touch the destination only.
      {"delete shapes", Delete, kCopy, d, M(1, 2, 2), m0, "ab", m0},
      {"delete frames", Delete, kCopy, "abc d", F(0, 1, 2), m0, "a d", F(0, 0, 0)},
      {"delete first frame", Delete, kCopy, "abc d", F(0, 0, 1), m0},
      {"delete from empty", Delete, kCopy, "", m0, m0},
      {"shift shapes left", ShiftLeft, kCopy, d, M(1, 2, 1), m0, "c d ab", M(0, 1, 0)},
      {"shift shapes right", ShiftRight, kCopy, d, M(0, 1, 1), m0, "d ab c", M(1, 2, 2)},
      {"shift frames left", ShiftLeft, kCopy, "abc d", F(0, 1, 2), m0, "bca d", F(0, 0, 1)},
      {"shift frames right", ShiftRight, kCopy, "abc d", F(0, 0, 1), m0, "cab d", F(0, 1, 2)},
      {"shift left at start", ShiftLeft, kCopy, d, M(0, 1, 1), m0},
      {"shift right at end", ShiftRight, kCopy, d, M(2, 2, 2), m0},
      {"shift frames right at end", ShiftRight, kCopy, "abc d", F(0, 1, 2), m0},
      {"shift in empty", ShiftLeft, kCopy, "", m0, m0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDocument destination = Document(c.dest);
    TDocument source = Document(c.src);
    const TTransferResult result = c.operation({destination, source, c.destPane, c.srcPane, c.mode});
    const bool refused = c.destAfter == kRefused;
    EXPECT_EQ(result.Ran, !refused);
    EXPECT_EQ(Letters(destination), refused ? c.dest : c.destAfter);
    EXPECT_EQ(destination.Modified, !refused);
    EXPECT_EQ(Letters(source), c.srcAfter ? c.srcAfter : c.src);
    EXPECT_EQ(source.Modified, c.srcAfter != nullptr);
    EXPECT_EQ(result.DestinationPane, refused ? c.destPane : c.destPaneAfter);
    EXPECT_EQ(result.SourcePane, c.srcPaneAfter.value_or(c.srcPane));
  }
}

TEST(Transfers, CopyShapeKeepsEverythingButTheReplacement) {
  const TPatchSubFrame frame{2, 1, 3, -4, 5, -6, kFormatColourAlpha, 90, kEncodingPNG, {1, 2}};
  TPatchFrame shape{kFlagSittable | 64, 7, {frame, frame}, {{1, 2, 3}, {13, -1, 0}}};
  const TPatchFrame copy = CopyShape(shape);
  EXPECT_EQ(copy.ReplacementIndex, -1);
  shape.ReplacementIndex = -1;
  EXPECT_EQ(copy, shape);
}

}  // namespace
}  // namespace quillmere::test
