#include "formats/file_type.h"

#include <gtest/gtest.h>

#include <tuple>

#include "formats/file_name.h"
#include "interface/platform_error.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;

Bytes Text(const char* text) { return ByteBuilder().Text(text); }

TEST(FileType, ContentDecidesTheTypeAndTheExtensionIsCompared) {
  const Bytes fox = ByteBuilder().Text("FSHX").I32(1).I32(0).Fill(16, 0);
  // The FSH trailer is the 4 bytes 8 from the end, also when that is the start.
  // clang-format off
  const std::tuple<const char*, Bytes, const char*, bool> cases[] = {
      {"a.fox", fox, "fox", true},                    {"a.fsh", fox, "fox", false},
      {"noextension", fox, "fox", false},             {"empty", {}, "fsh-plain", false},
      {"a.FS2", Text("FSH2."), "fs2", true},          {"four.fs2", Text("FSH2"), "fsh-plain", false},
      {"x.Fsh", Text("1234FSH1.002"), "fsh", true},   {"late.fsh", Text("12345678FSH1"), "fsh-plain", true},
      {"eight.fsh", Text("FSH1.002"), "fsh", true},   {"seven.fsh", Text("FSH1.00"), "fsh-plain", true},
  };
  // clang-format on
  TempDir dir;
  for (const auto& [name, content, type, matches] : cases) {
    WriteFile(dir.File(name), content);
    const auto [found, matched] = DetectFileType(dir.File(name));
    EXPECT_EQ(std::tuple(FileTypeName(found), matched), std::tuple(type, matches)) << name;
  }
  EXPECT_THROW(DetectFileType(dir.File("absent.fox")), FileOpenError);
  EXPECT_THROW(DetectFileType(dir.Path()), FileOpenError);
}

TEST(FileName, SplitsAndChangesNamesWithEitherSeparator) {
  // clang-format off
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      // path, name, extension, the path with ".fbj" for its extension
      {"C:\\a.b\\walls", "walls", "", "C:\\a.b\\walls.fbj"},
      {"/a.b/walls.tar.gz", "walls.tar.gz", ".gz", "/a.b/walls.tar.fbj"},
  };
  // clang-format on
  for (const auto& [path, name, extension, withFBJ] : cases) {
    EXPECT_EQ(std::tuple(ExtractFileName(path), ExtractFileExt(path), ChangeFileExt(path, ".fbj")),
              std::tuple(name, extension, withFBJ));
  }
}

}  // namespace
}  // namespace quillmere
