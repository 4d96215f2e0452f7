// Every prefix of a valid file of each type and version, and the file with any
// one header byte changed: a read never crashes or hangs, never calls a cut
// file complete, and shows the loading-error or refusal message as for any
// damaged file. The files come from the project's own writers.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>

#include "documents/open_shape_file.h"
#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "interface/messages.h"
#include "interface/platform_error.h"
#include "model/frame_decoding.h"
#include "model/payload_memory.h"
#include "support/frames.h"
#include "support/message_printing.h"

namespace quillmere::test {
namespace {

using enum TMsgId;

// One PNG stream of a plane given top-down, as libpng's own writer makes it.
Bytes Png(int width, int height, const Bytes& pixels, bool colour) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.format = colour ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  Bytes out(PNG_IMAGE_PNG_SIZE_MAX(image));
  png_alloc_size_t size = out.size();
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

Bytes Pattern(std::size_t count, int seed) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed * 13 + 1);
  return bytes;
}

// Flags with furre bits, so that the FBJ holds furre bytes; replacement
// indices 1 to 3, so that an FS2 file finds its FBJ records.
TShapeList FlatShapes() {
  TShapeList shapes;
  for (int i = 0; i < 3; ++i) {
    TPatchSubFrame frame = Frame(3 + i, 2, kFormatIndexed, Pattern(static_cast<std::size_t>((3 + i) * 2), i));
    // Shape 1's flags carry no furre bits, so FSH and FBJ keep no position for it.
    frame.FurrePosX = static_cast<std::int16_t>(i == 1 ? 0 : i + 1);
    frame.FurrePosY = static_cast<std::int16_t>(i == 1 ? 0 : -i - 2);
    shapes.push_back(TPatchFrame{static_cast<std::uint16_t>(i == 1 ? 0x03 : 0x19), static_cast<std::int16_t>(i + 1),
                                 {frame}, {}});
  }
  return shapes;
}

// FOX version 1: raw planes of every format, several frames, scripts.
TShapeList FoxShapes() {
  TShapeList shapes = FlatShapes();
  shapes[0].Frames.push_back(Frame(2, 2, kFormatColour, Pattern(12, 5)));
  shapes[0].Frames.push_back(Frame(2, 1, kFormatColourAlpha, Pattern(8, 6)));
  shapes[0].Script = {{1, 0, 0}, {2, 100, 0}, {3, 1, -1}};
  shapes[2].Script = {{7, 2, 3}};
  return shapes;
}

// FOX version 3: PNG planes (colour and alpha back to back), an opacity.
TShapeList Fox3Shapes() {
  TShapeList shapes = FoxShapes();
  Bytes colourAlpha = Png(3, 2, Pattern(18, 7), true);
  const Bytes alpha = Png(3, 2, Pattern(6, 8), false);
  colourAlpha.insert(colourAlpha.end(), alpha.begin(), alpha.end());
  shapes[1].Frames.push_back(Frame(3, 2, kFormatColourAlpha, colourAlpha, kEncodingPNG, 128));
  shapes[2].Frames.insert(shapes[2].Frames.begin(), Frame(4, 3, kFormatIndexed, Png(4, 3, Pattern(12, 9), false),
                                                          kEncodingPNG));
  return shapes;
}

// Every length for a small file; for a large one all of the first 512 bytes,
// all of the last 64 and a stride between.
std::vector<std::size_t> PrefixLengths(std::size_t size) {
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n < size; n += (n < 512 || n + 64 >= size) ? 1 : 61) lengths.push_back(n);
  return lengths;
}

// The bytes worth changing: the first 64 (file header, first records) and,
// in a file with PNG planes, the first PNG's signature and IHDR chunk.
std::vector<std::size_t> HeaderBytes(const Bytes& bytes) {
  std::set<std::size_t> at;
  for (std::size_t i = 0; i < std::min<std::size_t>(64, bytes.size()); ++i) at.insert(i);
  const Bytes ihdr = {'I', 'H', 'D', 'R'};
  const auto found = std::search(bytes.begin(), bytes.end(), ihdr.begin(), ihdr.end());
  if (found != bytes.end()) {
    const auto start = static_cast<std::size_t>(found - bytes.begin()) - 12;  // the signature and the length
    for (std::size_t i = start; i < start + 33; ++i) at.insert(i);
  }
  return {at.begin(), at.end()};
}

std::vector<std::uint8_t> ChangedValues(std::uint8_t value) {
  std::set<std::uint8_t> values = {0x00, 0xFF, static_cast<std::uint8_t>(value ^ 0x80),
                                   static_cast<std::uint8_t>(value + 1)};
  values.erase(value);
  return {values.begin(), values.end()};
}

struct TRead {
  bool Whole = false;
  bool HasFile = false;
  bool Raised = false;
  std::vector<TMessage> Shown;
  TShapeList Shapes;
};

// Opens the file as the editor does and decodes every frame read, as the
// grids would; a frame that can't be decoded is refused with ReadError.
TRead Read(const std::string& path, std::size_t fileSize) {
  TRead read;
  ScriptedUserInterface ui;
  TDocument document;
  ResetLargestPayloadRequest();
  try {
    read.Whole = OpenShapeFile(path, document, ui).Outcome.Whole();
  } catch (const ReadError&) {
    read.Raised = true;
  }
  EXPECT_LE(LargestPayloadRequest(), fileSize) << "largest payload asked for, against the file size";
  for (const TPatchFrame& shape : document.Shapes) {
    for (const TPatchSubFrame& frame : shape.Frames) {
      try {
        DecodeFrame(frame, ui);
      } catch (const ReadError&) {
      }
    }
  }
  read.HasFile = document.HasFile();
  read.Shown = MessagesOf(ui);
  read.Shapes = std::move(document.Shapes);
  return read;
}

bool IsRefusal(const TMessage& m) {
  for (const TMsgId id : {NotAFOXFile, EncryptedFOX, EncryptedFS2, InvalidChunkData}) {
    if (m == MakeMessage(id)) return true;
  }
  const TMessage version = MakeMessage(UnknownFOXVersion, {""});
  return m.Caption == version.Caption && m.Text.starts_with(version.Text) && m.Icon == version.Icon;
}

bool SaysDamaged(const std::vector<TMessage>& shown) {
  return std::any_of(shown.begin(), shown.end(),
                     [](const TMessage& m) { return m == MakeMessage(LoadingError) || IsRefusal(m); });
}

// A read that was not whole gives up the file and says why; a whole one says
// nothing of damage.
void ExpectConsistent(const TRead& read) {
  if (read.Whole) {
    EXPECT_TRUE(read.HasFile);
    EXPECT_FALSE(read.Raised);
    EXPECT_FALSE(SaysDamaged(read.Shown)) << ::testing::PrintToString(read.Shown);
  } else {
    EXPECT_FALSE(read.HasFile);
    EXPECT_TRUE(SaysDamaged(read.Shown)) << ::testing::PrintToString(read.Shown);
  }
}

struct TSample {
  const char* Name;                          // the file that is cut and changed
  std::function<void(const TempDir&)> Make;  // writes it, and its companion
  std::size_t Trailer = 0;                   // bytes at the end that hold no shape data
};

std::vector<TSample> ShapeFileSamples() {
  return {
      {"x.fox", [](const TempDir& d) { ASSERT_TRUE(SaveFOXFile(d.File("x.fox"), FoxShapes())); }},
      {"x3.fox", [](const TempDir& d) { ASSERT_TRUE(SaveFOXFile(d.File("x3.fox"), Fox3Shapes())); }},
      {"x.fsh",
       [](const TempDir& d) {
         ScriptedUserInterface ui;
         ASSERT_TRUE(SaveFSHFile(d.File("x.fsh"), FlatShapes(), ui, TSaveOptions{true}));  // and x.fbj
       },
       8},
      {"y.fs2",
       [](const TempDir& d) {
         ScriptedUserInterface ui;
         ASSERT_TRUE(SaveFSHFile(d.File("y.fsh"), FlatShapes(), ui, TSaveOptions{true}));
         ASSERT_TRUE(SaveFSHFile(d.File("y.fs2"), FlatShapes(), ui, TSaveOptions{false}));
         std::filesystem::remove(d.File("y.fsh"));  // y.fbj stays, for y.fs2
       }},
  };
}

// A file cut anywhere before its end never loads as a whole document: the
// read error ends it with the loading-error message (or a refusal, where the
// cut leaves a signature that is no longer the type's), and the document
// gives up the file name. Only an FSH file's trailer, which holds nothing but
// a mark for type detection, may go: every shape is still there. The whole
// file loads whole, without a message.
TEST(TruncationSweep, EveryPrefixOfAShapeFileIsRefusedAsDamaged) {
  for (const TSample& sample : ShapeFileSamples()) {
    SCOPED_TRACE(sample.Name);
    TempDir dir;
    sample.Make(dir);
    const std::string path = dir.File(sample.Name);
    const Bytes whole = ReadFile(path);
    const TRead full = Read(path, whole.size());
    ASSERT_TRUE(full.Whole);
    ASSERT_EQ(full.Shown, std::vector<TMessage>{});
    const std::vector<std::size_t> lengths = PrefixLengths(whole.size());
    // Cut from the end, so that each prefix is one truncate away.
    for (auto n = lengths.rbegin(); n != lengths.rend(); ++n) {
      SCOPED_TRACE(::testing::Message() << "first " << *n << " of " << whole.size() << " bytes");
      ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(*n)), 0);
      const TRead read = Read(path, *n);
      if (*n + sample.Trailer < whole.size()) {
        EXPECT_FALSE(read.Whole);
      } else if (read.Whole) {
        EXPECT_EQ(read.Shapes, full.Shapes);
      }
      ExpectConsistent(read);
      if (HasFailure()) return;
    }
  }
}

// A changed header byte (a count, a size, a version, a format, a PNG
// header) ends in a whole read, a refusal or the read error, each with the
// message that belongs to it.
TEST(TruncationSweep, EveryChangedHeaderByteOfAShapeFileEndsInOrder) {
  for (const TSample& sample : ShapeFileSamples()) {
    SCOPED_TRACE(sample.Name);
    TempDir dir;
    sample.Make(dir);
    const std::string path = dir.File(sample.Name);
    const Bytes whole = ReadFile(path);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    for (const std::size_t at : HeaderBytes(whole)) {
      for (const std::uint8_t value : ChangedValues(whole[at])) {
        SCOPED_TRACE(::testing::Message() << "byte " << at << " set to " << int(value));
        ASSERT_EQ(::pwrite(fd, &value, 1, static_cast<off_t>(at)), 1);
        ExpectConsistent(Read(path, whole.size()));
        ASSERT_EQ(::pwrite(fd, &whole[at], 1, static_cast<off_t>(at)), 1);
        if (HasFailure()) break;
      }
      if (HasFailure()) break;
    }
    ::close(fd);
  }
}

// What the FBJ companion gave each shape: flags and first-frame furre position.
using TCompanionData = std::vector<std::tuple<std::uint16_t, std::int16_t, std::int16_t>>;
TCompanionData CompanionData(const TShapeList& shapes) {
  TCompanionData data;
  for (const TPatchFrame& s : shapes) data.emplace_back(s.Flags, s.Frames[0].FurrePosX, s.Frames[0].FurrePosY);
  return data;
}

// The companion is read leniently: a cut or damaged FBJ never costs a shape
// or the document its file, and each shape gets its own record or nothing
// (flags and furre position 0). The longer the prefix, the more shapes have
// their records; an FBJ whose signature is damaged is reported as unrecognised.
TEST(TruncationSweep, ACutOrChangedCompanionCostsOnlyTheRecordsItLacks) {
  for (const char* shapeFile : {"x.fsh", "y.fs2"}) {
    SCOPED_TRACE(shapeFile);
    TempDir dir;
    for (const TSample& sample : ShapeFileSamples()) {
      if (std::string(sample.Name) == shapeFile) sample.Make(dir);
    }
    const std::string path = dir.File(shapeFile);
    const std::string fbj = dir.File(std::string(shapeFile).substr(0, 1) + ".fbj");
    const Bytes whole = ReadFile(fbj);
    const std::size_t shapeFileSize = ReadFile(path).size();
    const TRead full = Read(path, shapeFileSize);
    ASSERT_TRUE(full.Whole);
    const TCompanionData original = CompanionData(FlatShapes());
    EXPECT_EQ(CompanionData(full.Shapes), original);
    const TCompanionData nothing(original.size(), {0, 0, 0});
    ASSERT_NE(original, nothing);
    // A record cut inside keeps what it still holds: each value is its own or 0.
    auto expectOwnOrNothing = [&](const TRead& read) {
      EXPECT_TRUE(read.Whole && read.HasFile);
      const TCompanionData data = CompanionData(read.Shapes);
      std::size_t own = 0;
      for (std::size_t i = 0; i < data.size(); ++i) {
        const auto [flags, x, y] = data[i];
        const auto [ownFlags, ownX, ownY] = original[i];
        EXPECT_TRUE((flags == ownFlags || flags == 0) && (x == ownX || x == 0) && (y == ownY || y == 0))
            << "shape " << i;
        own += data[i] == original[i];
      }
      return own;
    };
    std::size_t ownBefore = original.size();
    for (std::size_t n = whole.size(); n-- > 0;) {
      SCOPED_TRACE(::testing::Message() << "first " << n << " bytes of the FBJ");
      ASSERT_EQ(::truncate(fbj.c_str(), static_cast<off_t>(n)), 0);
      const TRead read = Read(path, shapeFileSize);
      const std::size_t own = expectOwnOrNothing(read);
      EXPECT_LE(own, ownBefore);
      ownBefore = own;
      EXPECT_EQ(read.Shown, n < 4 ? std::vector{MakeMessage(FBJUnrecognised)} : std::vector<TMessage>{});
    }
    WriteFile(fbj, whole);
    for (std::size_t at = 0; at < 8; ++at) {
      for (const std::uint8_t value : ChangedValues(whole[at])) {
        SCOPED_TRACE(::testing::Message() << "FBJ byte " << at << " set to " << int(value));
        Bytes changed = whole;
        changed[at] = value;
        WriteFile(fbj, changed);
        const TRead read = Read(path, shapeFileSize);
        expectOwnOrNothing(read);
        const bool signature = at < 4 && !(at >= 2 && value >= '0' && value <= '9');
        if (signature) {
          EXPECT_EQ(read.Shown, std::vector{MakeMessage(FBJUnrecognised)});
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillmere::test
