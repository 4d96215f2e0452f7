#include "formats/file_type.h"

#include <cstring>

#include "formats/file_name.h"
#include "formats/file_reader.h"

namespace quillmere {

std::string_view ExpectedExtension(TShapeFileType type) {
  switch (type) {
    case TShapeFileType::ftFOX:
      return ".FOX";
    case TShapeFileType::ftFS2:
      return ".FS2";
    case TShapeFileType::ftFSH:
    case TShapeFileType::ftFSHPlain:
      break;
  }
  return ".FSH";
}

std::string_view FileTypeName(TShapeFileType type) {
  switch (type) {
    case TShapeFileType::ftFOX:
      return "fox";
    case TShapeFileType::ftFS2:
      return "fs2";
    case TShapeFileType::ftFSH:
      return "fsh";
    case TShapeFileType::ftFSHPlain:
      break;
  }
  return "fsh-plain";
}

TFileTypeInfo DetectFileType(const std::string& fileName) {
  FileReader file(fileName);
  TFileTypeInfo info;
  char head[5] = {};
  std::size_t got = file.ReadSome(head, sizeof head);
  if (got >= 4 && std::memcmp(head, "FSHX", 4) == 0) {
    info.FileType = TShapeFileType::ftFOX;
  } else if (got >= 5 && std::memcmp(head, "FSH2.", 5) == 0) {
    info.FileType = TShapeFileType::ftFS2;
  } else if (file.Size() >= 8) {
    char trailer[4] = {};
    file.Seek(file.Size() - 8);
    file.ReadSome(trailer, sizeof trailer);
    info.FileType = std::memcmp(trailer, "FSH1", 4) == 0 ? TShapeFileType::ftFSH
                                                          : TShapeFileType::ftFSHPlain;
  }
  info.ExtensionMatches = UpperCase(ExtractFileExt(fileName)) == ExpectedExtension(info.FileType);
  return info;
}

}  // namespace quillmere
