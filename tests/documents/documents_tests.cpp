#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "documents/open_shape_file.h"
#include "documents/save_destination.h"
#include "formats/fox_format.h"
#include "interface/messages.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;
using enum TShapeFileType;
using enum TMsgId;
using Texts = std::vector<std::string>;
using Messages = std::vector<TMessage>;

// Everything an operation may change in a document, and the names it told
// the recent-files list of.
auto State(const TDocument& d, const Texts& used = {}) {
  return std::tuple(d.Shapes, d.FileName, d.Modified, d.Offset, used);
}

TFileUsed Recording(Texts& used) {
  return [&used](const std::string& name) { used.push_back(name); };
}

// Shapes of 1 x 1 frames at X -1, which every reader can hold.
TPatchFrame Shape(std::uint8_t pixel, std::size_t frames = 1, std::int16_t replacement = -1) {
  const TPatchSubFrame frame{1, 1, -1, 0, 0, 0, kFormatIndexed, 255, 0, {pixel}};
  return {0, replacement, std::vector<TPatchSubFrame>(frames, frame), {}};
}

// A document with a past, so that what an operation resets is visible. Its
// second shape has two frames, which FSH and FS2 can't hold.
TDocument UsedDocument() {
  TDocument d;
  std::tie(d.Shapes, d.FileName, d.Modified, d.Offset) =
      std::tuple(TShapeList{Shape(1), Shape(2, 2)}, "/old.fox", true, 10);
  return d;
}

TEST(OpenShapeFile, ContentPicksTheReaderAndOnlyAWholeReadNamesTheDocument) {
  TempDir dir;
  const TShapeList fox = {Shape(7, 2), Shape(8)};
  ASSERT_TRUE(SaveFOXFile(dir.File("a.fox"), fox));
  const Bytes foxBytes = ReadFile(dir.File("a.fox"));
  const Bytes fs2 = ByteBuilder().Text("FSH2.002").U16(1).Fill(6, 0).Raw({1, 1, 0xFF, 0}).U16(300).U8(5);
  const Bytes encrypted = ByteBuilder().Text("FSHX").I32(1).I32(1).U32(0).U32(7).U32(0).U32(0);
  const Bytes badSize = ByteBuilder().U16(1).U16(0).U8(1).U8(1).U8(0).U8(0).U8(6).Text("FSH1.002");
  const TMessage mismatch = MakeMessage(FiletypeMismatch), loading = MakeMessage(LoadingError);
  // Name, content, detected type, whole read, shapes, messages. Refusals keep
  // no name, so that a plain Save can't overwrite the file; the filetype
  // warning comes after whatever the read showed.
  // clang-format off
  const std::tuple<const char*, Bytes, TFileTypeInfo, bool, TShapeList, Messages> cases[] = {
      {"fox.fsh", foxBytes, {ftFOX, false}, true, fox, {mismatch}},
      {"patch.fs2", fs2, {ftFS2, true}, true, {Shape(5, 1, 300)}, {}},
      {"locked.fsh", encrypted, {ftFOX, false}, false, {}, {MakeMessage(EncryptedFOX), loading, mismatch}},
      {"sizes.fsh", badSize, {ftFSH, true}, false, {}, {MakeMessage(InvalidChunkData)}},
  };
  // clang-format on
  for (const auto& [name, content, type, whole, shapes, messages] : cases) {
    const std::string path = dir.File(name);
    WriteFile(path, content);
    TDocument document = UsedDocument();
    ScriptedUserInterface ui;
    Texts used;
    const TOpenResult result = OpenShapeFile(path, document, ui, Recording(used));
    const auto state = std::tuple(shapes, whole ? path : "None", false, 0, Texts{path});
    EXPECT_EQ(std::tuple(result.Type, result.Outcome.Whole(), MessagesOf(ui), State(document, used)),
              std::tuple(type, whole, messages, state));
  }

  // A read error raises after the loading error, keeping the shapes before it.
  WriteFile(dir.File("torn.fox"), Bytes(foxBytes.begin(), foxBytes.end() - 1));  // the last payload is short
  TDocument document = UsedDocument();
  ScriptedUserInterface ui;
  Texts used;
  EXPECT_THROW(OpenShapeFile(dir.File("torn.fox"), document, ui, Recording(used)), ReadError);
  EXPECT_EQ(MessagesOf(ui), Messages{loading});
  EXPECT_EQ(State(document, used),
            std::tuple(TShapeList{Shape(7, 2)}, std::string("None"), false, 0, Texts{dir.File("torn.fox")}));

  // A file that can't be opened changes nothing.
  document = UsedDocument();
  used.clear();
  EXPECT_THROW(OpenShapeFile(dir.File("absent.fox"), document, ui, Recording(used)), FileOpenError);
  EXPECT_EQ(State(document, used), State(UsedDocument()));
}

TEST(SaveDestination, ExtensionPicksTheFormatAndLossyFormatsAskFirst) {
  const TMessage loss = MakeMessage(DataLossFSH), fbj = MakeMessage(FS2WithoutFBJ),
                 no = MakeMessage(FileNotSaved);
  // Name, answers, messages, the type the file has afterwards (an untouched
  // file keeps its 3 plain bytes), the folder's files.
  // clang-format off
  const std::tuple<const char*, std::vector<TMsgAnswer>, Messages, TShapeFileType, Texts> cases[] = {
      {"out.Fox", {}, {}, ftFOX, {"out.Fox"}},
      {"kept.fsh", {TMsgAnswer::Cancel}, {loss, no}, ftFSHPlain, {"kept.fsh"}},
      {"walls", {TMsgAnswer::Ok}, {loss}, ftFSH, {"walls", "walls.fbj"}},
      {"patch.fs2", {TMsgAnswer::Ok}, {loss, fbj}, ftFS2, {"patch.fs2"}},
      {"kept.fs2", {TMsgAnswer::Ok, TMsgAnswer::Cancel}, {loss, fbj, no}, ftFSHPlain, {"kept.fs2"}},
  };
  // clang-format on
  for (const auto& [file, answers, messages, type, files] : cases) {
    TempDir dir;
    const std::string path = dir.File(file);
    WriteFile(path, {1, 2, 3});
    TDocument doc = UsedDocument();
    ScriptedUserInterface ui(answers);
    Texts used;
    const bool written = type != ftFSHPlain, saved = SaveDestinationFile(path, doc, ui, {}, Recording(used));
    // A declined loss warning leaves even the name and the recent list alone.
    const bool declined = messages == Messages{loss, no};
    const std::string name = declined ? "/old.fox" : path;
    EXPECT_EQ(std::tuple(saved, MessagesOf(ui), dir.List(), DetectFileType(path).FileType,
                         ReadFile(path) == Bytes{1, 2, 3}),
              std::tuple(written, messages, files, type, !written));
    EXPECT_EQ(std::tie(doc.Modified, doc.FileName, used), std::tuple(!written, name, declined ? Texts{} : Texts{path}));
  }
}

}  // namespace
}  // namespace quillmere
