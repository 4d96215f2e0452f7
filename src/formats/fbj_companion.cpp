#include "formats/fbj_companion.h"

#include <sys/stat.h>

#include "formats/file_name.h"
#include "interface/messages.h"

namespace quillmere {
namespace {

constexpr int kSupportedVersion = 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace

std::string FBJFileName(const std::string& shapeFileName) {
  return ChangeFileExt(shapeFileName, ".fbj");
}

std::optional<TFBJReader> TFBJReader::Open(const std::string& shapeFileName, UserInterface& ui) {
  std::string name = FBJFileName(shapeFileName);
  if (!Exists(name)) return std::nullopt;
  auto file = std::make_unique<FileReader>(name);
  char head[4] = {};
  file->ReadSome(head, sizeof head);
  // A version that is not two decimal digits is as unknown as a wrong signature.
  if (head[0] != 'F' || head[1] != 'O' || !IsDigit(head[2]) || !IsDigit(head[3])) {
    Show(ui, TMsgId::FBJUnrecognised);
    return std::nullopt;
  }
  int version = (head[2] - '0') * 10 + (head[3] - '0');
  if (version > kSupportedVersion && Show(ui, TMsgId::FBJNewer) != TMsgAnswer::Yes) {
    return std::nullopt;
  }
  file->Seek(8);
  return TFBJReader(std::move(file), version);
}

void TFBJReader::ReadRecord(TPatchFrame& shape) {
  std::uint8_t flagByte = file_->ReadU8OrZero();
  shape.Flags = static_cast<std::uint16_t>(SignExtend8(flagByte));
  if (shape.Frames.empty()) return;
  TPatchSubFrame& first = shape.Frames.front();
  first.FurrePosX = 0;
  first.FurrePosY = 0;
  if (flagByte & kFlagFurreX) first.FurrePosX = SignExtend8(file_->ReadU8OrZero());
  if (flagByte & kFlagFurreY) first.FurrePosY = SignExtend8(file_->ReadU8OrZero());
}

// A skipped record is as long as reading it would be: its furre bits say how
// many bytes follow, whatever the flag byte's higher bits (which the FSH
// writer carries through from negative or unusual flags).
void TFBJReader::SkipRecord() {
  std::uint8_t flagByte = file_->ReadU8OrZero();
  file_->Skip(((flagByte & kFlagFurreX) ? 1u : 0u) + ((flagByte & kFlagFurreY) ? 1u : 0u));
}

void TFBJReader::ReadNextRecord(TPatchFrame& shape) {
  if (CanRead()) ReadRecord(shape);
}

void TFBJReader::ReadObjectRecord(TPatchFrame& shape) {
  if (!CanRead()) return;
  const unsigned object = static_cast<std::uint16_t>(shape.ReplacementIndex);
  ++consumed_;
  while (consumed_ < object) {
    if (file_->AtEnd()) {
      // Nothing more to skip: the record asked for lies beyond the file.
      consumed_ = object;
      return;
    }
    SkipRecord();
    ++consumed_;
  }
  if (!file_->AtEnd()) ReadRecord(shape);
}

void WriteFBJ(AtomicFileWriter& out, const TShapeList& shapes) {
  out.Write("FO01", 4);
  out.WriteU16(static_cast<std::uint16_t>(shapes.size()));
  out.WriteU16(0);
  for (const TPatchFrame& shape : shapes) {
    out.WriteU8(static_cast<std::uint8_t>(shape.Flags));
    const TPatchSubFrame* first = shape.Frames.empty() ? nullptr : &shape.Frames.front();
    if (shape.Flags & kFlagFurreX) out.WriteU8(first ? static_cast<std::uint8_t>(first->FurrePosX) : 0);
    if (shape.Flags & kFlagFurreY) out.WriteU8(first ? static_cast<std::uint8_t>(first->FurrePosY) : 0);
  }
}

}  // namespace quillmere
