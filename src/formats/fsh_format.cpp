#include "formats/fsh_format.h"

#include <cstring>
#include <optional>
#include <vector>

#include "formats/atomic_file_writer.h"
#include "formats/fbj_companion.h"
#include "formats/file_name.h"
#include "formats/file_reader.h"
#include "formats/load_frame.h"
#include "interface/messages.h"
#include "model/png_plane.h"

namespace quillmere {
namespace {

constexpr std::uint64_t kFS2HeaderSize = 16;
constexpr std::uint64_t kFS2EncryptionOffset = 12;
constexpr std::size_t kMaxShapes = 0xFFFF;
constexpr int kMaxSide = 0xFF;

// Reads one record's image. A record that the file does not hold in full is
// the read error: a file cut short at a record boundary must not load as if
// complete, padded with empty shapes.
TPatchFrame ReadRecordImage(FileReader& file, bool fs2Mode) {
  TPatchFrame shape;
  TPatchSubFrame& frame = shape.Frames.emplace_back();
  frame.Opacity = 255;
  frame.Encoding = kEncodingRaw;
  frame.Width = file.ReadU8();
  frame.Height = file.ReadU8();
  frame.ShapePosX = SignExtend8(file.ReadU8());
  frame.ShapePosY = SignExtend8(file.ReadU8());
  if (fs2Mode) shape.ReplacementIndex = file.ReadI16();
  std::size_t pixelCount = static_cast<std::size_t>(frame.Width) * frame.Height;
  if (pixelCount > file.Remaining()) file.FailRead();
  ByteBuffer& pixels = frame.Pixels.Edit();
  pixels.resize(pixelCount);
  file.ReadExact(pixels.data(), pixelCount);
  return shape;
}

void ReadFSHBody(FileReader& file, TShapeList& shapes, UserInterface& ui,
                 std::optional<TFBJReader>& fbj, TLoadOutcome& state) {
  std::uint16_t count = file.ReadU16();
  if (2u * count > file.Remaining()) file.FailRead();
  std::vector<std::uint16_t> sizes(count);
  for (std::uint16_t& size : sizes) size = file.ReadU16();
  for (std::uint16_t entry : sizes) {
    TPatchFrame shape = ReadRecordImage(file, false);
    const TPatchSubFrame& frame = shape.Frames.front();
    std::uint32_t pixelCount = static_cast<std::uint32_t>(frame.Width) * frame.Height;
    if (entry < pixelCount) {
      Show(ui, TMsgId::InvalidChunkData);
      state.Complete = true;
      state.Refused = true;
      return;
    }
    // Whatever the record holds beyond its image is skipped in full, so the
    // next record starts where the size table puts it.
    std::int64_t padding = static_cast<std::int64_t>(entry) - 4 - pixelCount;
    if (padding > 0) file.Skip(static_cast<std::uint64_t>(padding));
    if (fbj) fbj->ReadNextRecord(shape);
    shapes.push_back(std::move(shape));
  }
  state.Complete = true;
}

void ReadFS2Body(FileReader& file, TShapeList& shapes, UserInterface& ui,
                 std::optional<TFBJReader>& fbj, TLoadOutcome& state) {
  file.Seek(8);
  std::uint16_t count = file.ReadU16();
  file.Seek(kFS2EncryptionOffset);
  if (file.ReadU8() == 1) {
    Show(ui, TMsgId::EncryptedFS2);
    return;
  }
  file.Seek(kFS2HeaderSize);
  for (std::uint32_t i = 0; i < count; ++i) {
    TPatchFrame shape = ReadRecordImage(file, true);
    if (fbj) fbj->ReadObjectRecord(shape);
    shapes.push_back(std::move(shape));
  }
  state.Complete = true;
}

// ---- writing ---------------------------------------------------------------

// What one shape's record holds, worked out before anything is written.
struct TRecord {
  std::uint8_t Width = 0;
  std::uint8_t Height = 0;
  std::uint8_t PosX = 0;
  std::uint8_t PosY = 0;
  const std::uint8_t* Pixels = nullptr;  // Width x Height bytes, or null for zeros
  std::size_t Available = 0;             // bytes at Pixels; the rest is written as 0
  ByteBuffer Decoded;                    // the raw plane of a PNG-encoded frame
};

// Builds the record of `shape`, or shows why the format can't hold it.
std::optional<TRecord> PlanRecord(const TPatchFrame& shape, std::size_t index, const char* formatName,
                                  UserInterface& ui) {
  TRecord record;
  if (shape.Frames.empty()) return record;  // an empty 0 x 0 record keeps later numbers in place
  const TPatchSubFrame& first = shape.Frames.front();
  record.PosX = static_cast<std::uint8_t>(first.ShapePosX);
  record.PosY = static_cast<std::uint8_t>(first.ShapePosY);
  if (first.Format != kFormatIndexed) return record;
  std::string number = std::to_string(index);
  if (first.Width > kMaxSide || first.Height > kMaxSide) {
    Show(ui, TMsgId::ShapeTooLargeForFSH,
         {number, std::to_string(first.Width), std::to_string(first.Height), formatName});
    return std::nullopt;
  }
  if (first.Encoding != kEncodingRaw && first.Encoding != kEncodingPNG) {
    Show(ui, TMsgId::EncodingNotForFSH, {number, std::to_string(first.Encoding), formatName});
    return std::nullopt;
  }
  record.Width = static_cast<std::uint8_t>(first.Width);
  record.Height = static_cast<std::uint8_t>(first.Height);
  if (first.Encoding == kEncodingPNG) {
    std::size_t position = 0;
    record.Decoded = ReadPNGPlane(first.Pixels, position, first.Width, first.Height, 1);
    record.Pixels = record.Decoded.data();
    record.Available = record.Decoded.size();
  } else {
    record.Pixels = first.Pixels.data();
    record.Available = first.Pixels.size();
  }
  return record;
}

// The record's pixels are exactly width x height bytes, as its size entry
// says: a payload of another length is cut or padded with index 0, so the
// next record still starts where readers expect it.
void WritePixels(AtomicFileWriter& out, const TRecord& record) {
  std::size_t wanted = static_cast<std::size_t>(record.Width) * record.Height;
  std::size_t take = std::min(wanted, record.Available);
  if (take > 0) out.Write(record.Pixels, take);
  static const std::uint8_t kZeros[256] = {};
  for (std::size_t left = wanted - take; left > 0;) {
    std::size_t n = std::min(left, sizeof kZeros);
    out.Write(kZeros, n);
    left -= n;
  }
}

}  // namespace

TLoadOutcome LoadFSHFile(const std::string& fileName, TShapeList& shapes, UserInterface& ui, bool fs2Mode) {
  return RunLoadFrame(shapes, ui, [&](TLoadOutcome& state) {
    FileReader file(fileName);
    std::optional<TFBJReader> fbj = TFBJReader::Open(fileName, ui);
    if (fs2Mode) {
      ReadFS2Body(file, shapes, ui, fbj, state);
    } else {
      ReadFSHBody(file, shapes, ui, fbj, state);
    }
  });
}

bool SaveFSHFile(const std::string& fileName, const TShapeList& shapes, UserInterface& ui,
                 const TSaveOptions& options) {
  const bool fs2Mode = UpperCase(ExtractFileExt(fileName)) == ".FS2";
  const char* formatName = fs2Mode ? "FS2" : "FSH";
  if (shapes.size() > kMaxShapes) {
    Show(ui, TMsgId::TooManyShapesForFSH, {std::to_string(shapes.size()), formatName});
    return false;
  }
  std::vector<TRecord> records;
  records.reserve(shapes.size());
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    std::optional<TRecord> record = PlanRecord(shapes[i], i, formatName, ui);
    if (!record) return false;
    records.push_back(std::move(*record));
  }
  if (fs2Mode && options.SaveFBJInformation &&
      Show(ui, TMsgId::FS2WithoutFBJ) != TMsgAnswer::Ok) {
    Show(ui, TMsgId::FileNotSaved);
    return false;
  }
  // A shape file that is itself named ".fbj" must not be overwritten by its companion.
  const bool writeFBJ = !fs2Mode && options.SaveFBJInformation && FBJFileName(fileName) != fileName;

  AtomicFileWriter out(fileName);
  const auto count = static_cast<std::uint16_t>(shapes.size());
  if (fs2Mode) {
    out.Write("FSH2.002", 8);
    out.WriteU16(count);
    const std::uint8_t reserved[6] = {};
    out.Write(reserved, sizeof reserved);
  } else {
    out.WriteU16(count);
    for (const TRecord& record : records) {
      out.WriteU16(static_cast<std::uint16_t>(4 + record.Width * record.Height));
    }
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    const TRecord& record = records[i];
    const std::uint8_t head[4] = {record.Width, record.Height, record.PosX, record.PosY};
    out.Write(head, sizeof head);
    if (fs2Mode) out.WriteI16(shapes[i].ReplacementIndex);
    WritePixels(out, record);
  }
  if (!fs2Mode) out.Write("FSH1.002", 8);

  if (writeFBJ) {
    AtomicFileWriter fbj(FBJFileName(fileName));
    WriteFBJ(fbj, shapes);
    out.Finish();
    fbj.Finish();
    AtomicFileWriter::PublishTogether(out, fbj);
  } else {
    out.Commit();
  }
  return true;
}

}  // namespace quillmere
