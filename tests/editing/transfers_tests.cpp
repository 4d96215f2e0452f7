#include <gtest/gtest.h>

#include "editing/transfers.h"
#include "support/letter_documents.h"

namespace quillmere::test {
namespace {

// A pane on its Main tab with shapes l..r selected and the focus on f; a pane
// on its SubFrames tab showing shape s with frames l..r selected, the focus on l.
TPaneSelection M(int l, int r, int f) { return {TTransferTab::Main, {l, r}, f, {0, 0}}; }
TPaneSelection F(int s, int l, int r) { return {TTransferTab::SubFrames, {s, s}, s, {l, r}, l}; }

constexpr TTransferMode kCopy = TTransferMode::Copy, kMove = TTransferMode::Move;

struct Case {
  const char* name;
  TTransferResult (*operation)(const TTransfer&);
  TTransferMode mode;
  const char* dest;
  TPaneSelection destPane, srcPane;
  const char* destAfter = nullptr;  // nullptr: refused, nothing runs, nothing changes
  TPaneSelection destPaneAfter = {};
  const char* srcAfter = nullptr;                   // nullptr: the source as before, not modified
  std::optional<TPaneSelection> srcPaneAfter = {};  // empty: as before
  const char* src = "PQ R S T";
};

TEST(Transfers, OperationsChangeDocumentsAndSelections) {
  const char* d = "ab c d";
  const TPaneSelection m0 = M(0, 0, 0), dragged{TTransferTab::SubFrames, {0, 2}, 2, {0, 0}};
  const Case cases[] = {
      // Copy, destination Main / source Main.
      {"before", InsertBefore, kCopy, d, M(1, 1, 1), M(1, 2, 2), "ab r s c d", M(1, 1, 1)},
      {"after the last appends", InsertAfter, kCopy, d, M(1, 2, 2), M(0, 1, 1), "ab c d pq r", M(3, 3, 3)},
      // Copy, Main / SubFrames: one new shape per frame.
      {"frames after first shape", InsertAfter, kCopy, d, M(0, 2, 2), F(0, 0, 1), "ab p q c d", M(0, 2, 2)},
      {"frames replace", Replace, kCopy, d, M(0, 1, 1), F(0, 1, 1), "q d", M(0, 1, 1)},
      // Copy, SubFrames / Main: every frame of each shape.
      {"into frameless after", InsertAfter, kCopy, ". c", F(0, 0, 0), M(1, 1, 1), "r c", F(0, 0, 0)},
      // Copy, SubFrames / SubFrames.
      {"frames to frames: replace", Replace, kCopy, d, F(0, 1, 1), F(0, 0, 1), "apq c d", F(0, 1, 1)},
      // Shapes 0..2 dragged left to right: the grid shows shape 2's frames,
      // the frames go into shape 0.
      {"dragged range", InsertBefore, kCopy, d, dragged, F(3, 0, 0), "tab c d", dragged},
      // Move, Main / Main: the shapes themselves change lists.
      {"move before", InsertBefore, kMove, d, M(1, 1, 1), M(0, 1, 1), "ab PQ R c d", M(1, 1, 1), "S T"},
      {"move after appends", InsertAfter, kMove, d, M(2, 2, 2), M(2, 3, 3), "ab c d S T", M(3, 3, 3), "PQ R",
       M(1, 1, 1)},
      // Transfers refused.
      {"move from frames", InsertBefore, kMove, d, m0, F(0, 0, 0)},
      {"move into frames", Replace, kMove, d, F(0, 0, 0), m0},
      {"empty destination frames", InsertBefore, kCopy, "", F(0, 0, 0), m0},
      {"empty source", InsertAfter, kCopy, d, m0, m0, nullptr, {}, nullptr, {}, ""},
      {"selection past the grid", Replace, kCopy, d, m0, M(3, 4, 4)},
      // Delete and the shifts touch the destination only.
      {"delete shapes", Delete, kCopy, d, M(1, 2, 2), m0, "ab", m0},
      {"delete frames", Delete, kCopy, "abc d", F(0, 1, 2), m0, "a d", F(0, 0, 0)},
      {"delete first frame", Delete, kCopy, "abc d", F(0, 0, 1), m0},
      {"shift shapes left", ShiftLeft, kCopy, d, M(1, 2, 1), m0, "c d ab", M(0, 1, 0)},
      {"shift frames right", ShiftRight, kCopy, "abc d", F(0, 0, 1), m0, "cab d", F(0, 1, 2)},
      {"shift right at end", ShiftRight, kCopy, d, M(2, 2, 2), m0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDocument destination = LetterDocument(c.dest), source = LetterDocument(c.src);
    const TTransferResult result = c.operation({destination, source, c.destPane, c.srcPane, c.mode});
    const bool refused = !c.destAfter;
    EXPECT_EQ(std::tuple(result.Ran, Letters(destination), destination.Modified),
              std::tuple(!refused, refused ? c.dest : c.destAfter, !refused));
    EXPECT_EQ(std::tuple(Letters(source), source.Modified),
              std::tuple(c.srcAfter ? c.srcAfter : c.src, c.srcAfter != nullptr));
    EXPECT_EQ(std::tuple(result.DestinationPane, result.SourcePane),
              std::tuple(refused ? c.destPane : c.destPaneAfter, c.srcPaneAfter.value_or(c.srcPane)));
  }
}

}  // namespace
}  // namespace quillmere::test
