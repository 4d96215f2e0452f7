// Damaged and hostile files: whatever the bytes, a reader either finishes,
// refuses with a message, or raises ReadError; it never crashes, hangs or
// sizes a payload buffer for more bytes than the whole file holds.

#include <gtest/gtest.h>

#include <random>

#include "documents/open_shape_file.h"
#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"
#include "model/payload_memory.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;

// Whatever the bytes, opening ends in order. A document that was not read
// whole loses its file name, so that a plain Save can't overwrite the file.
TEST(DamagedFiles, MutatedFilesOfEveryTypeEndInAnOrderlyWay) {
  TempDir dir;
  const TPatchSubFrame frame{2, 3, 0, 0, 1, 0, kFormatIndexed, 255, kEncodingRaw, ByteBuffer(6, 7)};
  // Flags with furre bits, so that the FBJ holds furre bytes too.
  const TPatchFrame shape{0x1B, -1, {frame, frame}, {{1, 0, 0}, {2, 100, 0}}};
  ASSERT_TRUE(SaveFOXFile(dir.File("x.fox"), TShapeList(3, shape)));
  ScriptedUserInterface ui({TMsgAnswer::Yes});
  ASSERT_TRUE(SaveFSHFile(dir.File("x.fs2"), TShapeList(3, shape), ui, TSaveOptions{false}));
  ASSERT_TRUE(SaveFSHFile(dir.File("x.fsh"), TShapeList(3, shape), ui, TSaveOptions{true}));  // and x.fbj
  std::mt19937 random(20261206);
  for (const char* name : {"x.fox", "x.fsh", "x.fs2"}) {
    const Bytes original = ReadFile(dir.File(name));
    for (int round = 0; round < 400; ++round) {
      Bytes bytes = original;
      for (int change = random() % 4; change >= 0 && !bytes.empty(); --change) {
        const std::size_t at = random() % bytes.size();
        const unsigned kind = random() % 3;
        bytes[at] = kind == 0 ? static_cast<std::uint8_t>(random()) : 0xFF;
        if (kind == 2) bytes.resize(at);  // cut short
      }
      WriteFile(dir.File(name), bytes);
      TDocument document;
      ResetLargestPayloadRequest();
      try {
        const bool whole = OpenShapeFile(dir.File(name), document, ui).Outcome.Whole();
        EXPECT_EQ(document.HasFile(), whole);
      } catch (const ReadError&) {
        EXPECT_FALSE(document.HasFile());
      }
      EXPECT_LE(LargestPayloadRequest(), bytes.size()) << "largest payload asked for, against the file size";
    }
  }
}

// Counts and lengths promising far more than the file holds end in the read
// error, having made only the shapes the bytes really hold.
TEST(DamagedFiles, HugeAnnouncedLengthsFailBeforeAnythingIsSized) {
  // clang-format off
  const Bytes cases[] = {
      // Two billion shapes announced in a 100-byte FOX file: at most nine empty 8-byte headers fit.
      ByteBuilder().Text("FSHX").I32(1).I32(2000000000).Fill(88, 0),
      // One frame announcing a 2 GiB payload.
      ByteBuilder().Text("FSHX").I32(1).I32(1).Fill(16, 0).U16(0).I16(-1).U16(1).U16(0).I16(1).U16(1).U16(1)
          .Fill(8, 0).I32(0x7FFFFFFF).U8(1),
      // 65535 script steps announced with none present.
      ByteBuilder().Text("FSHX").I32(1).I32(1).Fill(16, 0).U16(0).I16(-1).U16(0).U16(0xFFFF),
      // 65535 FSH records announced, with a size table that isn't there.
      ByteBuilder().U16(65535).Fill(40, 0xFF),
  };
  // clang-format on
  TempDir dir;
  for (const Bytes& bytes : cases) {
    TDocument document;
    ScriptedUserInterface ui;
    WriteFile(dir.File("huge"), bytes);
    ResetLargestPayloadRequest();
    EXPECT_THROW(OpenShapeFile(dir.File("huge"), document, ui), ReadError);
    EXPECT_LE(document.Shapes.size(), 9u);
    EXPECT_LE(LargestPayloadRequest(), bytes.size()) << "largest payload asked for, against the file size";
  }
}

}  // namespace
}  // namespace quillmere
