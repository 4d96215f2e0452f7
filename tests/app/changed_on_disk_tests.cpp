#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <functional>

#include "app/workspace.h"
#include "formats/fox_format.h"
#include "interface/messages.h"
#include "support/frames.h"
#include "support/message_printing.h"

namespace quillmere::test {
namespace {

using enum TMsgId;
using enum TMsgAnswer;
using enum TDocumentKind;

TPatchFrame Plain(std::uint8_t pixel) { return Shape({Frame(1, 1, kFormatIndexed, {pixel})}); }

// The first pixel of each shape in the file, "1,9"; "gone" for no file.
std::string Content(const std::string& path) {
  if (!FileExists(path)) return "gone";
  TShapeList shapes;
  ScriptedUserInterface quiet;
  LoadFOXFile(path, shapes, quiet);
  std::string text;
  for (const TPatchFrame& shape : shapes) text += (text.empty() ? "" : ",") + std::to_string(shape.Frames[0].Pixels[0]);
  return text;
}

// How another program may change a file: save a new file over it, rewrite it
// in place, or rewrite it in place at the same size, where only the time tells.
void ReplacedByAnother(const std::string& path) {
  ASSERT_TRUE(SaveFOXFile(path + ".new", {Plain(7), Plain(7), Plain(7)}));
  ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
}
void RewrittenInPlace(const std::string& path) {
  TempDir scratch;
  ASSERT_TRUE(SaveFOXFile(scratch.File("x.fox"), {Plain(7), Plain(7), Plain(7)}));
  WriteFile(path, ReadFile(scratch.File("x.fox")));
}
void RewrittenAtTheSameSize(const std::string& path) {
  TempDir scratch;
  ASSERT_TRUE(SaveFOXFile(scratch.File("x.fox"), {Plain(8)}));
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  WriteFile(path, ReadFile(scratch.File("x.fox")));
  // Kernels keep file times in coarse ticks; a rewrite within one keeps the time.
  timespec later[2] = {before.st_atim, before.st_mtim};
  later[1].tv_sec += 2;
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
}

// A save back to the file a document came from asks before it overwrites
// another program's changes; No leaves that file and the document as they
// were. A file that is unchanged, gone, or not the document's own asks
// nothing, and a written save or a reload takes the file as it now is.
TEST(ChangedOnDisk, WritingBackOverAnotherProgramsChangeAsksFirst) {
  TempDir dir;
  const std::string dest = dir.File("dest.fox"), src = dir.File("src.fox"), other = dir.File("other.fox");
  using TStep = std::function<void(TWorkspace&)>;
  const TStep edit = [](TWorkspace& w) { w.Change(Destination, [](TDocument& d) { d.Shapes.push_back(Plain(9)); }); };
  const TStep editSrc = [](TWorkspace& w) { w.Change(Source, [](TDocument& d) { d.Shapes.push_back(Plain(9)); }); };
  const TStep replaced = [&](TWorkspace&) { ReplacedByAnother(dest); };
  const TStep save = [](TWorkspace& w) { w.SaveDestination1Click(); };
  auto act = [](void (TWorkspace::*flow)()) { return [flow](TWorkspace& w) { return (w.*flow)(), true; }; };
  const TMessage changedDest = MakeMessage(ChangedOnDisk, {dest}), changedSrc = MakeMessage(ChangedOnDisk, {src});
  const TMessage notSaved = MakeMessage(FileNotSaved);
  struct TCase {
    const char* Name;
    std::vector<TStep> Prepare;  // after opening both documents and editing the destination
    std::vector<TMsgAnswer> Answers;  // for the steps and the flow, in order
    const char* Choice;  // for Save As
    std::function<bool(TWorkspace&)> Act;
    std::vector<TMessage> Shown;
    // The destination's flag, the source's flag, the flow's answer, what
    // dest.fox and src.fox hold.
    std::tuple<bool, bool, bool, std::string, std::string> After;
  };
  // clang-format off
  const TCase cases[] = {
      {"unchanged", {}, {}, nullptr, act(&TWorkspace::SaveDestination1Click), {},
       {false, false, true, "1,9", "3"}},
      {"replaced, no", {replaced}, {No}, nullptr, act(&TWorkspace::SaveDestination1Click),
       {changedDest, notSaved}, {true, false, true, "7,7,7", "3"}},
      {"rewritten in place, yes", {[&](TWorkspace&) { RewrittenInPlace(dest); }}, {Yes}, nullptr,
       act(&TWorkspace::SaveDestination1Click), {changedDest}, {false, false, true, "1,9", "3"}},
      {"same size, later time, no", {[&](TWorkspace&) { RewrittenAtTheSameSize(dest); }}, {No}, nullptr,
       act(&TWorkspace::SaveDestination1Click), {changedDest, notSaved}, {true, false, true, "8", "3"}},
      {"deleted by another program", {[&](TWorkspace&) { std::remove(dest.c_str()); }}, {}, nullptr,
       act(&TWorkspace::SaveDestination1Click), {}, {false, false, true, "1,9", "3"}},
      {"a written save is the new version", {replaced, save, edit}, {Yes}, nullptr,
       act(&TWorkspace::SaveDestination1Click), {}, {false, false, true, "1,9,9", "3"}},
      {"save as onto its own name, no", {replaced}, {No}, "dest.fox", [](TWorkspace& w) { return w.SaveAs1Click(); },
       {changedDest, notSaved}, {true, false, false, "7,7,7", "3"}},
      {"save as another name", {replaced}, {}, "other.fox", [](TWorkspace& w) { return w.SaveAs1Click(); },
       {}, {false, false, true, "7,7,7", "3"}},
      {"reload takes the other version", {replaced, [](TWorkspace& w) { w.ReloadDestination1Click(); }, edit}, {No},
       nullptr, act(&TWorkspace::SaveDestination1Click), {}, {false, false, true, "7,7,7,9", "3"}},
      {"close, save, no to overwriting", {replaced}, {Yes, No}, nullptr,
       [](TWorkspace& w) { return w.FormCloseQuery(); },
       {MakeMessage(UnsavedChanges), changedDest, notSaved}, {true, false, false, "7,7,7", "3"}},
      {"save source, no to overwriting", {editSrc, [&](TWorkspace&) { RewrittenInPlace(src); }}, {Yes, No}, nullptr,
       act(&TWorkspace::SaveSourceChanges1Click), {MakeMessage(SaveSourceConfirm), changedSrc, notSaved},
       {true, true, true, "1", "7,7,7"}},
      {"save source and destination, each asks", {editSrc, replaced, [&](TWorkspace&) { RewrittenInPlace(src); }},
       {Yes, No, Yes}, nullptr, act(&TWorkspace::SaveSourceDestination1Click),
       {MakeMessage(SaveSourceConfirm), changedSrc, notSaved, changedDest}, {false, true, true, "1,9", "7,7,7"}},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(SaveFOXFile(dest, {Plain(1)}));
    ASSERT_TRUE(SaveFOXFile(src, {Plain(3)}));
    std::remove(other.c_str());
    ScriptedUserInterface ui(c.Answers);
    TWorkspace w(ui);
    w.DestRecentClick(dest);
    w.SourceRecentClick(src);
    edit(w);
    for (const TStep& step : c.Prepare) step(w);
    ui.Clear();
    if (c.Choice) ui.SetFileChoices({dir.File(c.Choice)});
    const bool result = c.Act(w);
    EXPECT_EQ(MessagesOf(ui), c.Shown);
    EXPECT_EQ(std::tuple(w.Destination.Modified, w.Source.Modified, result, Content(dest), Content(src)), c.After);
  }
}

}  // namespace
}  // namespace quillmere::test
