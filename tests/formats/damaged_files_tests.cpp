// Damaged and hostile files: whatever the bytes, a reader either finishes,
// refuses with a message, or raises ReadError; it never crashes, hangs or
// sizes a buffer for a length the file can't back (the sanitizer build
// checks the memory side).

#include <gtest/gtest.h>

#include <random>

#include "app/platform_error.h"
#include "app/scripted_user_interface.h"
#include "documents/open_shape_file.h"
#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using test::Bytes;
using test::ByteBuilder;
using test::TempDir;

TShapeList SampleShapes() {
  TShapeList shapes(3);
  for (std::size_t s = 0; s < shapes.size(); ++s) {
    TPatchFrame& shape = shapes[s];
    shape.Flags = static_cast<std::uint16_t>(s * 9);
    for (int f = 0; f < 2; ++f) {
      TPatchSubFrame& frame = shape.Frames.emplace_back();
      frame.Width = static_cast<std::uint16_t>(3 + s);
      frame.Height = 2;
      frame.Opacity = f == 0 ? 255 : 90;
      frame.FurrePosX = static_cast<std::int16_t>(s);
      frame.Pixels.assign(static_cast<std::size_t>(frame.Width) * frame.Height, static_cast<std::uint8_t>(s + f));
    }
    shape.Script = {{1, 0, 0}, {2, 100, 0}};
  }
  return shapes;
}

// Reads `bytes` under `name`, as the editor opens any file.
void OpenDamaged(const TempDir& dir, const std::string& name, const Bytes& bytes) {
  test::WriteFile(dir.File(name), bytes);
  TDocument document;
  ScriptedUserInterface ui({TMsgAnswer::Yes});
  try {
    TOpenResult result = OpenShapeFile(dir.File(name), document, ui);
    if (!result.Complete) {
      EXPECT_EQ(document.FileName, "None");
    }
  } catch (const ReadError&) {
    EXPECT_EQ(document.FileName, "None");
  }
}

TEST(DamagedFiles, MutatedFilesOfEveryTypeEndInAnOrderlyWay) {
  TempDir dir;
  TShapeList shapes = SampleShapes();
  ScriptedUserInterface ui({TMsgAnswer::Ok});
  ASSERT_TRUE(SaveFOXFile(dir.File("good.fox"), shapes));
  for (TPatchFrame& shape : shapes) {
    shape.Frames.resize(1);
    shape.Frames[0].Opacity = 255;
    shape.Script.clear();
  }
  ASSERT_TRUE(SaveFSHFile(dir.File("good.fsh"), shapes, ui, TSaveOptions{}));
  ASSERT_TRUE(SaveFSHFile(dir.File("good.fs2"), shapes, ui, TSaveOptions{false}));
  const std::vector<std::pair<std::string, Bytes>> originals = {
      {"x.fox", test::ReadFile(dir.File("good.fox"))},
      {"x.fsh", test::ReadFile(dir.File("good.fsh"))},
      {"x.fs2", test::ReadFile(dir.File("good.fs2"))},
  };
  // Keep an FBJ beside the FSH and FS2 victims so its reading is exercised too.
  test::WriteFile(dir.File("x.fbj"), test::ReadFile(dir.File("good.fbj")));

  std::mt19937 random(20261206);
  for (const auto& [name, original] : originals) {
    for (int round = 0; round < 400; ++round) {
      Bytes bytes = original;
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int c = 0; c < changes; ++c) {
        std::size_t at = random() % bytes.size();
        switch (random() % 3) {
          case 0:
            bytes[at] = static_cast<std::uint8_t>(random());
            break;
          case 1:
            bytes[at] = 0xFF;
            break;
          default:
            bytes.resize(at);  // cut short
            break;
        }
        if (bytes.empty()) break;
      }
      OpenDamaged(dir, name, bytes);
    }
  }
}

TEST(DamagedFiles, HugeAnnouncedLengthsFailBeforeAnythingIsSized) {
  TempDir dir;
  const std::vector<Bytes> cases = {
      // Two billion shapes announced in a 100-byte FOX file.
      ByteBuilder().Text("FSHX").I32(1).I32(2000000000).Fill(88, 0),
      // One frame announcing a 2 GiB payload.
      ByteBuilder().Text("FSHX").I32(1).I32(1).Fill(16, 0).U16(0).I16(-1).U16(1).U16(0)
          .I16(1).U16(1).U16(1).Fill(8, 0).I32(0x7FFFFFFF).U8(1),
      // 65535 script steps announced with none present.
      ByteBuilder().Text("FSHX").I32(1).I32(1).Fill(16, 0).U16(0).I16(-1).U16(0).U16(0xFFFF),
  };
  for (const Bytes& bytes : cases) {
    test::WriteFile(dir.File("huge.fox"), bytes);
    TShapeList shapes;
    ScriptedUserInterface ui;
    EXPECT_THROW(LoadFOXFile(dir.File("huge.fox"), shapes, ui), ReadError);
    // Only the shapes the bytes really hold were made: nine empty 8-byte
    // headers fit in the first case's 72 bytes after the file header.
    EXPECT_LE(shapes.size(), 9u);
  }
}

}  // namespace
}  // namespace quillmere
