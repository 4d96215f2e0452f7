#include "formats/fox_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "interface/messages.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"
#include "model/payload_memory.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;
using Texts = std::vector<std::string>;

ByteBuilder Header(std::int32_t version, std::int32_t count, std::uint32_t marker = 0) {
  return ByteBuilder().Text("FSHX").I32(version).I32(count).U32(0).U32(marker).U32(0).U32(0);
}

// The 18 bytes a frame record starts with: format 1, size, four positions of 0, payload length.
ByteBuilder& FrameHead(ByteBuilder& b, unsigned width, unsigned height, std::int32_t length) {
  return b.I16(1).U16(width).U16(height).Fill(8, 0).I32(length);
}

TPatchSubFrame Frame(std::uint16_t w, std::uint16_t h, const Bytes& pixels, std::uint8_t opacity = 255,
                     std::uint8_t encoding = 0) {
  return {h, w, 0, 0, 0, 0, kFormatIndexed, opacity, encoding, ByteBuffer(pixels.begin(), pixels.end())};
}

// A finished shape for damaged files to start with, and its version-1 bytes.
const TPatchFrame kGood{3, 17, {Frame(2, 1, {5, 6})}, {{2, 10, 0}}};
ByteBuilder AppendGood(ByteBuilder b) {
  return FrameHead(b.U16(3).I16(17).U16(1).U16(1), 2, 1, 2).U8(5).U8(6).I16(2).I16(10).I16(0);
}

struct FOX : ::testing::Test {
  // Loads into a list that still holds shapes, which the load must replace.
  TLoadOutcome Load(const Bytes& bytes) {
    WriteFile(path_, bytes);
    shapes_ = TShapeList(3);
    ui_.Clear();
    ResetLargestPayloadRequest();
    return LoadFOXFile(path_, shapes_, ui_);
  }
  // Saves, checks that the file reads back whole and equal, and returns its bytes.
  Bytes RoundTrip(const TShapeList& shapes) {
    EXPECT_TRUE(SaveFOXFile(path_, shapes));
    const Bytes written = ReadFile(path_);
    EXPECT_TRUE(Load(written).Whole());
    EXPECT_EQ(shapes_, shapes);
    return written;
  }

  TempDir dir_;
  std::string path_ = dir_.File("a.fox");
  TShapeList shapes_;
  ScriptedUserInterface ui_;
};

TEST_F(FOX, WritesExactBytes) {
  EXPECT_EQ(RoundTrip({}), Header(1, 0).Get());                 // the bare 28-byte header
  EXPECT_TRUE(Load(Header(1, -1)).Whole() && shapes_.empty());  // a negative count announces nothing

  const TPatchSubFrame first{10, 10, -5, 7, 3, -2, kFormatIndexed, 255, 0, ByteBuffer(100, 7)};
  TPatchFrame shape{0x15, 300, {first, Frame(10, 10, Bytes(100, 9))}, {{1, 0, 0}, {2, 100, 0}, {3, -1, 5}}};
  ByteBuilder b = Header(1, 1).U16(0x15).I16(300).U16(2).U16(3);
  b.I16(1).U16(10).U16(10).I16(-5).I16(7).I16(3).I16(-2).I32(100).Fill(100, 7);
  FrameHead(b, 10, 10, 100).Fill(100, 9).I16(1).I16(0).I16(0).I16(2).I16(100).I16(0).I16(3).I16(-1).I16(5);
  EXPECT_EQ(RoundTrip({shape}), b.Get());
  EXPECT_EQ(b.Get().size(), 290u);

  // Version 3: after the shape header a 2-byte block, then the frame record
  // with its 4-byte block (length, opacity, encoding). No replacement is 65535.
  ByteBuilder v3 = Header(3, 1).U16(0).U16(65535).U16(1).U16(0).U16(2);
  v3.Raw({0x01, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x04, 0x00, 0x80, 0x00, 0x11, 0x22});
  EXPECT_EQ(RoundTrip({TPatchFrame{0, -1, {Frame(2, 1, {0x11, 0x22}, 128)}, {}}}), v3.Get());
}

TEST_F(FOX, ReadsTheLayoutOfEachVersion) {
  // Version 3 rows give the shape and frame block lengths and the bytes each
  // holds beyond the fields known; older versions have no blocks.
  const std::tuple<int, unsigned, unsigned, unsigned, unsigned> cases[] = {
      {0, 0, 0, 0, 0}, {2, 0, 0, 0, 0},  {-1, 0, 0, 0, 0}, {INT_MIN, 0, 0, 0, 0},
      {3, 2, 0, 4, 0}, {3, 10, 8, 4, 0}, {3, 2, 0, 6, 2},  {3, 2, 0, 2, 0}};
  for (const auto& [version, shapeBlock, shapeExtra, frameBlock, frameExtra] : cases) {
    const bool v3 = version == 3;
    ByteBuilder b = Header(version, 2).U16(4).U16(65535).U16(1).U16(1);
    if (v3) b.U16(shapeBlock).Fill(shapeExtra, 0xEE);
    FrameHead(b, 2, 2, 4);
    if (v3) b.U16(frameBlock).U8(128).U8(1).Fill(frameExtra, 0xDD);
    // Without blocks, bytes that would pass for a block are the payload.
    b.U8(4).U8(0).U8(0x80).U8(1).I16(12).I16(0).I16(0).U16(8).I16(7).U16(0).U16(0);
    if (v3) b.U16(shapeBlock).Fill(shapeExtra, 0xEE);
    SCOPED_TRACE(::testing::Message() << version << ", blocks " << shapeBlock << " and " << frameBlock);
    EXPECT_TRUE(Load(b).Whole());
    const TPatchSubFrame frame = Frame(2, 2, {4, 0, 0x80, 1}, v3 ? 128 : 255, v3);
    EXPECT_EQ(shapes_, (TShapeList{{4, -1, {frame}, {{12, 0, 0}}}, {8, 7, {}, {}}}));
  }
}

TEST_F(FOX, RefusedAndDamagedFilesEndWithTheLoadingErrorKeepingFinishedShapes) {
  const TMessage loading = MakeMessage(TMsgId::LoadingError);
  const char* cut = "shorter than its contents announce";
  const TPatchFrame zero{0, 0, {}, {}};
  // A second shape with one frame, up to its payload length.
  auto withFrame = [](std::int32_t length) {
    return FrameHead(AppendGood(Header(1, 2)).U16(0).I16(-1).U16(1).U16(0), 1, 1, length);
  };
  // A refusal shows its message and raises nothing; damage raises a ReadError
  // whose text holds the row's error, and damage inside a frame names its shape.
  // No payload buffer is ever larger than the whole file.
  // clang-format off
  const std::tuple<Bytes, std::vector<TMessage>, const char*, TShapeList, bool> cases[] = {
      // Version 4, an encryption marker, no signature.
      {Header(4, 0), {MakeMessage(TMsgId::UnknownFOXVersion, {"4"}), loading}, nullptr, {}, false},
      {Header(1, 0, 2), {MakeMessage(TMsgId::EncryptedFOX), loading}, nullptr, {}, false},
      {Bytes(28, 0), {MakeMessage(TMsgId::NotAFOXFile), loading}, nullptr, {}, false},
      // A negative payload length; one of 2 GiB in a tiny file.
      {withFrame(-1).Fill(64, 0), {loading}, "a payload length of -1 bytes", {kGood}, true},
      {withFrame(INT_MAX).Fill(10, 0), {loading}, cut, {kGood}, true},
      // Two billion shapes: after the first, 38 bytes hold four empty shape headers and a cut one.
      {AppendGood(Header(1, 2000000000)).Fill(38, 0), {loading}, cut, {kGood, zero, zero, zero, zero}, false},
      // More steps than the file holds; a header cut short.
      {AppendGood(Header(1, 2)).U16(0).I16(-1).U16(0).U16(1000).Fill(30, 1), {loading}, cut, {kGood}, false},
      {ByteBuilder().Text("FSHX").U16(1), {loading}, cut, {}, false},
  };
  // clang-format on
  for (const auto& row : cases) {
    SCOPED_TRACE(&row - cases);
    const auto& [file, shown, error, kept, inFrame] = row;
    try {
      EXPECT_FALSE(Load(file).Complete);
      EXPECT_FALSE(error) << "loaded";
    } catch (const ReadError& raised) {
      EXPECT_TRUE(error && std::string(raised.what()).find(error) != std::string::npos) << raised.what();
    }
    EXPECT_LE(LargestPayloadRequest(), file.size()) << "largest payload asked for, against the file size";
    EXPECT_EQ(MessagesOf(ui_), shown);
    EXPECT_EQ(ui_.DebugLines(), (inFrame ? Texts{"Fatal loading error at: 2"} : Texts{}));
    EXPECT_EQ(shapes_, kept);
  }
}

TEST_F(FOX, ValuesTheFormatCannotHoldLeaveTheOldFileAlone) {
  // 70000 frames, 70000 steps, a frame of format 40000.
  // clang-format off
  const TPatchFrame bad[] = {{0, -1, std::vector(70000, Frame(1, 1, {1})), {}}, {0, -1, {}, TKSScript(70000)},
                             {0, -1, {{1, 1, 0, 0, 0, 0, 40000, 255, 0, {}}}, {}}};
  // clang-format on
  for (const TPatchFrame& shape : bad) {
    WriteFile(path_, {'o', 'l', 'd'});
    EXPECT_THROW(SaveFOXFile(path_, {kGood, shape}), WriteError);
    EXPECT_EQ(ReadFile(path_), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(dir_.List(), Texts{"a.fox"});  // no temporary file left behind
  }
}

TEST_F(FOX, RandomDocumentsComeBackEqualInTheVersionTheirFramesNeed) {
  std::mt19937 rng(20240611);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto i16 = [&] { return static_cast<std::int16_t>(pick(-32768, 32767)); };
  auto u16 = [&] { return static_cast<std::uint16_t>(pick(0, 65535)); };
  for (int i = 0; i < 200 && !HasFailure(); ++i) {
    SCOPED_TRACE(i);
    TShapeList shapes(pick(0, 5));
    const bool opaque = pick(0, 2) == 0;  // a third of the documents can be version 1
    bool fitsVersion1 = true;
    for (TPatchFrame& shape : shapes) {
      shape = {u16(), i16(), std::vector<TPatchSubFrame>(pick(0, 4)), TKSScript(pick(0, 6))};
      for (TPatchSubFrame& f : shape.Frames) {
        f = {u16(), u16(), i16(), i16(), i16(), i16(), i16(), 255, 0, ByteBuffer(pick(0, 300))};
        for (std::uint8_t& byte : f.Pixels.Edit()) byte = static_cast<std::uint8_t>(pick(0, 255));
        // Opaque and raw, each way of leaving version 1 on its own, or anything.
        const std::pair<int, int> ways[] = {{255, 0}, {254, 0}, {255, 1}, {pick(0, 255), pick(0, 255)}};
        std::tie(f.Opacity, f.Encoding) = ways[opaque ? 0 : pick(0, 3)];
        fitsVersion1 = fitsVersion1 && f.Opacity == 255 && f.Encoding == 0;
      }
      for (TKSStep& step : shape.Script) step = {i16(), i16(), i16()};
    }
    EXPECT_EQ(RoundTrip(shapes).at(4), fitsVersion1 ? 1 : 3);
  }
}

}  // namespace
}  // namespace quillmere
