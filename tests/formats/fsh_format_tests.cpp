#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <map>
#include <random>

#include "formats/fsh_format.h"
#include "interface/messages.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;
using Messages = std::vector<TMessage>;

// Recognisable pixels, different for each seed.
Bytes Pat(std::size_t count, unsigned seed) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(seed * 31 + i * 7 + (i >> 8));
  return bytes;
}

// A shape as the reader builds it: one opaque, raw, 8-bit frame.
// `index` is the replacement index, `fx` and `fy` the furre position.
TPatchFrame Shape(std::uint16_t w, std::uint16_t h, std::int16_t x, std::int16_t y, const Bytes& px,
                  std::int16_t index = -1, std::uint16_t flags = 0, std::int16_t fx = 0,
                  std::int16_t fy = 0) {
  const TPatchSubFrame frame{h, w, x, y, fx, fy, kFormatIndexed, 255, kEncodingRaw, ByteBuffer(px.begin(), px.end())};
  return {flags, index, {frame}, {}};
}

// One record; an FS2 record carries the bytes of its replacement index after
// the position.
Bytes Rec(unsigned w, unsigned h, int x, int y, const Bytes& px, const Bytes& index = {}) {
  return ByteBuilder().U8(w).U8(h).U8(x).U8(y).Raw(index).Raw(px);
}

// Size entries cover each record and its padding; a negative padding makes an
// entry short of the record, with no bytes removed.
Bytes FSH(const std::vector<Bytes>& records, const std::vector<int>& padding = {}, bool trailer = true) {
  ByteBuilder table, body;
  table.U16(static_cast<unsigned>(records.size()));
  for (std::size_t i = 0; i < records.size(); ++i) {
    const int pad = i < padding.size() ? padding[i] : 0;
    table.U16(static_cast<unsigned>(records[i].size() + pad));
    body.Raw(records[i]).Fill(std::max(pad, 0), 0xEE);
  }
  return table.Raw(body).Text(trailer ? "FSH1.002" : "");
}

Bytes FS2(const std::vector<Bytes>& records, unsigned byte12 = 0) {
  ByteBuilder out;
  out.Text("FSH2.002").U16(static_cast<unsigned>(records.size())).U16(0).U8(byte12).Fill(3, 0);
  for (const Bytes& record : records) out.Raw(record);
  return out;
}

// What was read is checked by writing it back: `Kept` is the file the shapes
// read make, without padding and with the trailer. The random round trip
// below checks each field read.
TEST(FSHRead, FilesLoadRefuseOrFailAsTheirBytesSay) {
  const Bytes a = Rec(2, 2, 1, 1, Pat(4, 1));
  const std::vector<Bytes> fsh = {Rec(3, 2, -5, 10, Pat(6, 2)), Rec(0, 0, 0x80, 0x7F, {}),
                                  Rec(255, 1, 0, 0, Pat(255, 4)), Rec(2, 3, -7, 9, Pat(6, 5)),
                                  Rec(1, 1, 3, 4, {6})};
  const std::vector<Bytes> fs2 = {Rec(2, 2, -5, 10, Pat(4, 1), {3, 0}), Rec(0, 0, 0, 0, {}, {0xFF, 0xFF}),
                                  Rec(1, 1, 9, 9, {4}, {0, 0x80})};
  const TMessage loading = MakeMessage(TMsgId::LoadingError), chunk = MakeMessage(TMsgId::InvalidChunkData);
  // clang-format off
  struct { Bytes File, Kept; bool FS2; Messages Shown; bool Complete, Refused, Throws; } const cases[] = {
      // Padding is skipped in full however long; an entry that covers the
      // pixels but not the record header skips nothing.
      {FSH(fsh, {2, 130, 300, -4}, false), FSH(fsh), false, {}, true, false, false},
      // An entry below the pixel count makes the size table untrustworthy:
      // the load stops with its own message only and is not whole.
      {FSH({a, Rec(16, 16, 0, 0, Pat(256, 2)), a}, {0, -5}), FSH({a}), false, {chunk}, true, true, false},
      // A file that ends inside pixels or where a record should start.
      {FSH({a, Rec(9, 9, 0, 0, Pat(80, 2))}, {}, false), FSH({a}), false, {loading}, false, false, true},
      {ByteBuilder().U16(2).U16(8).U16(5).Raw(a), FSH({a}), false, {loading}, false, false, true},
      // Byte 12 is 1 only for an encrypted FS2; any other value is plain.
      {FS2(fs2, 2), FS2(fs2), true, {}, true, false, false},
      {FS2(fs2, 1), FS2({}), true, {MakeMessage(TMsgId::EncryptedFS2), loading}, false, false, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    TempDir dir;
    const std::string file = dir.File(c.FS2 ? "x.fs2" : "x.fsh");
    WriteFile(file, c.File);
    ScriptedUserInterface ui;
    TShapeList shapes(1);  // whatever was there before goes
    TLoadOutcome outcome;
    try {
      outcome = LoadFSHFile(file, shapes, ui, c.FS2);
      EXPECT_FALSE(c.Throws);
    } catch (const ReadError&) {
      EXPECT_TRUE(c.Throws);
    }
    EXPECT_EQ(MessagesOf(ui), c.Shown);
    EXPECT_EQ(std::pair(outcome.Complete, outcome.Refused), std::pair(c.Complete, c.Refused));
    EXPECT_EQ(outcome.Whole(), c.Complete && !c.Refused);
    ASSERT_TRUE(SaveFSHFile(file, shapes, ui, TSaveOptions{false}));  // over the file read
    EXPECT_EQ(ReadFile(file), c.Kept);
  }
  EXPECT_EQ(chunk, (TMessage{"Error!", "ERROR: Invalid/Unexpected Chunk Data", TMsgIcon::Error, {}}));
}

// Each entry of the folder with its bytes (none for a folder).
std::map<std::string, Bytes> Snapshot(const TempDir& dir) {
  std::map<std::string, Bytes> files;
  for (const std::string& name : dir.List())
    files[name] = std::filesystem::is_regular_file(dir.File(name)) ? ReadFile(dir.File(name)) : Bytes{};
  return files;
}

// A save writes exactly what the format holds, or is refused as a whole, or
// fails with WriteError. Only a save changes the folder, and only its target:
// no temporary file stays, and a failed save leaves the old shape file and FBJ.
TEST(FSHWrite, SavesWriteExactlyOrChangeNothing) {
  const Bytes px = Pat(1024, 3), plane = Pat(12, 5);
  ByteBuffer stream(200);  // a PNG-encoded first frame is stored as the plane it decodes to
  png_alloc_size_t size = stream.size();
  png_image image{nullptr, PNG_IMAGE_VERSION, 4, 3, PNG_FORMAT_GRAY, 0, 0, 0, {}};
  ASSERT_TRUE(png_image_write_to_memory(&image, stream.data(), &size, 0, plane.data(), 0, nullptr));
  TPatchFrame rich = Shape(32, 32, -5, 10, px, 40), colour = Shape(300, 2, 7, -3, Pat(1800, 1));
  TPatchFrame encoded = Shape(2, 2, 0, 0, Pat(4, 1)),
              png = Shape(4, 3, 2, -1, Bytes(stream.begin(), stream.begin() + size));
  rich.Frames.push_back(Shape(400, 400, 0, 0, {}).Frames[0]);  // too large, but FSH stores the first only
  colour.Frames[0].Format = kFormatColour;
  encoded.Frames[0].Encoding = 2;
  png.Frames[0].Encoding = kEncodingPNG;
  const TPatchFrame frameless{0, 300, {}, {}};  // still takes its place, so later numbers hold
  const Bytes empty = Rec(0, 0, 0, 0, {});
  const auto flagged = [](auto flags, auto x, auto y) { return Shape(0, 0, 0, 0, {}, -1, flags, x, y); };
  const TMessage question = MakeMessage(TMsgId::FS2WithoutFBJ);
  constexpr int kThrows = -1, kRefused = 0, kSaved = 1;
  // clang-format off
  struct { const char* Target; TShapeList Shapes; bool Option; int Result; Messages Shown; Bytes Written = {},
           FBJ = {}; TMsgAnswer Answer = TMsgAnswer::Ok; const char* Folder = ""; } const cases[] = {
      {"x.fsh", {}, false, kSaved, {}, ByteBuilder().U16(0).Text("FSH1.002")},
      {"x.fsh", {rich, colour, frameless, Shape(1, 1, 1, 1, {0x33})}, false, kSaved, {},
       ByteBuilder().U16(4).U16(1028).U16(4).U16(4).U16(5).Raw({0x20, 0x20, 0xFB, 0x0A}).Raw(px)
           .Raw({0, 0, 7, 0xFD, 0, 0, 0, 0, 1, 1, 1, 1, 0x33}).Text("FSH1.002")},
      // A payload of the wrong length is padded or cut to width x height, so
      // the records after it stay where their size entries say.
      {"x.fsh", {png, Shape(3, 2, 1, 1, Pat(4, 8)), Shape(3, 2, 0, 0, Pat(12, 8)), Shape(1, 1, 5, 5, {6})},
       false, kSaved, {}, FSH({Rec(4, 3, 2, -1, plane), Rec(3, 2, 1, 1, ByteBuilder().Raw(Pat(4, 8)).U16(0)),
                               Rec(3, 2, 0, 0, Pat(6, 8)), Rec(1, 1, 5, 5, {6})})},
      // Beside an FSH file the FBJ gets the low byte of each shape's flags and
      // exactly the furre bytes those announce (0 for a shape without frames).
      {"x.fsh", {flagged(28, 3, -2), flagged(1, 0, 0)}, true, kSaved, {}, FSH({empty, empty}),
       {'F', 'O', '0', '1', 2, 0, 0, 0, 0x1C, 0x03, 0xFE, 0x01}},
      {"x.fsh", {flagged(8, -7, 99), flagged(16, 99, 127), {0x1C, -1, {}, {}}, flagged(0x0105, 5, 5),
                 flagged(0xFF98, -128, 1)}, true, kSaved, {}, FSH(std::vector<Bytes>(5, empty)),
       {'F', 'O', '0', '1', 5, 0, 0, 0, 0x08, 0xF9, 0x10, 0x7F, 0x1C, 0, 0, 0x05, 0x98, 0x80, 0x01}},
      // An FSH file named like its companion is not overwritten by it.
      {"x.fbj", {frameless}, true, kSaved, {}, FSH({empty})},
      // FS2 has no FBJ: with the option on, the person is asked first.
      {"x.FS2", {}, false, kSaved, {}, ByteBuilder().Text("FSH2.002").Fill(8, 0), {}, TMsgAnswer::Cancel},
      {"x.fs2", {Shape(1, 1, 0, 0, {5}), frameless}, true, kSaved, {question},
       ByteBuilder().Text("FSH2.002").U32(2).U32(0).Raw({1, 1, 0, 0, 0xFF, 0xFF, 5, 0, 0, 0, 0, 0x2C, 1})},
      {"x.fs2", {frameless}, true, kRefused, {question, MakeMessage(TMsgId::FileNotSaved)}, {}, {},
       TMsgAnswer::Cancel},
      {"x.fsh", {Shape(255, 255, 0, 0, {}), Shape(256, 10, 0, 0, {})}, true, kRefused,
       {MakeMessage(TMsgId::ShapeTooLargeForFSH, {"1", "256", "10", "FSH"})}},
      {"x.fsh", {encoded}, true, kRefused, {MakeMessage(TMsgId::EncodingNotForFSH, {"0", "2", "FSH"})}},
      {"x.fsh", TShapeList(65535), false, kSaved, {}, FSH(std::vector<Bytes>(65535, empty))},
      {"x.fsh", TShapeList(65536), true, kRefused,
       {MakeMessage(TMsgId::TooManyShapesForFSH, {"65536", "FSH"})}},
      {"missing/x.fsh", {frameless}, true, kThrows, {}},
      {"x.fsh", {frameless}, true, kThrows, {}, {}, {}, TMsgAnswer::Ok, "x.fsh"},
      // The FBJ can't take its place, so the old shape file must stay too.
      {"x.fsh", {frameless}, true, kThrows, {}, {}, {}, TMsgAnswer::Ok, "x.fbj"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    TempDir dir;
    ASSERT_TRUE(!*c.Folder || std::filesystem::create_directory(dir.File(c.Folder)));
    for (const std::string name : {"x.fsh", "x.fs2", "x.fbj"})
      if (name != c.Folder) WriteFile(dir.File(name), Pat(3, name[4]));
    auto expected = Snapshot(dir);
    ScriptedUserInterface ui({c.Answer});
    if (c.Result == kThrows) {
      EXPECT_THROW(SaveFSHFile(dir.File(c.Target), c.Shapes, ui, {c.Option}), WriteError);
    } else {
      EXPECT_EQ(SaveFSHFile(dir.File(c.Target), c.Shapes, ui, {c.Option}), c.Result == kSaved);
    }
    EXPECT_EQ(MessagesOf(ui), c.Shown);
    if (c.Result == kSaved) expected[c.Target] = c.Written;
    if (!c.FBJ.empty()) expected["x.fbj"] = c.FBJ;
    EXPECT_EQ(Snapshot(dir), expected);
  }
}

// Documents the formats hold in full read back equal: FSH with flags that fit
// the FBJ's signed byte and furre positions where the flags announce them,
// FS2 with any replacement index.
TEST(FSHRoundTrip, RandomDocumentsReadBackEqual) {
  std::mt19937 rng(1303);
  auto sbyte = [&rng] { return static_cast<std::int8_t>(rng()); };
  TempDir dir;
  for (int iteration = 0; iteration < 200; ++iteration) {
    const bool fs2 = iteration % 2 == 1;
    TShapeList document(rng() % 7);
    for (TPatchFrame& shape : document) {
      const unsigned w = rng() % 4 ? rng() % 12 : rng() % 2 * 255, h = rng() % 3 ? rng() % 12 : rng() % 256;
      shape = Shape(w, h, sbyte(), sbyte(), Pat(w * h, rng()), fs2 ? static_cast<std::int16_t>(rng()) : -1);
      shape.Flags = fs2 ? 0 : static_cast<std::uint16_t>(sbyte());
      if (shape.Flags & kFlagFurreX) shape.Frames[0].FurrePosX = sbyte();
      if (shape.Flags & kFlagFurreY) shape.Frames[0].FurrePosY = sbyte();
    }
    const std::string file = dir.File(fs2 ? "b.fs2" : "a.fsh");
    ScriptedUserInterface ui;
    ASSERT_TRUE(SaveFSHFile(file, document, ui, TSaveOptions{!fs2}));
    TShapeList back;
    ASSERT_TRUE(LoadFSHFile(file, back, ui, fs2).Whole());
    ASSERT_TRUE(back == document && ui.Shown().empty()) << "iteration " << iteration;
  }
}

}  // namespace
}  // namespace quillmere
