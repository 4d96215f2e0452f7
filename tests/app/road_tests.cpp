// One typical piece of work from start to end, on real files: open a FOX
// destination, import an FSH source with its FBJ, select source shapes 3 to 5
// and destination shape 10, Insert After, then Save As ".fsh" through the
// data-loss question; the bytes written and the captions shown are checked.

#include <gtest/gtest.h>

#include "app/transfer_commands.h"
#include "app/workspace.h"
#include "formats/fox_format.h"
#include "interface/messages.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere::test {

namespace {

TPatchFrame OneFrame(std::uint8_t tag, std::int16_t x = 0) {
  TPatchSubFrame frame{1, 2, x, 0, 0, 0, kFormatIndexed, 255, kEncodingRaw, {tag, std::uint8_t(tag + 1)}};
  return {0, -1, {frame}, {}};
}

}  // namespace

TEST(RoadOfWork, OpenImportInsertAfterAndSaveAsFSH) {
  TempDir dir;
  TShapeList destination;
  for (std::uint8_t i = 0; i < 12; ++i) destination.push_back(OneFrame(i));
  destination[0].Frames.push_back(destination[0].Frames[0]);  // FSH can't keep the second frame
  ASSERT_TRUE(SaveFOXFile(dir.File("walls.fox"), destination));
  // The source: six 2 x 1 records with positions -1..-6, and an FBJ whose
  // records give shape 3 Walkable and shape 4 Sittable with a furre position.
  ByteBuilder source;
  source.U16(6);
  for (int i = 0; i < 6; ++i) source.U16(6);
  for (int i = 0; i < 6; ++i) source.U8(2).U8(1).U8(std::uint8_t(-1 - i)).U8(0).U8(100 + i).U8(101 + i);
  WriteFile(dir.File("props.fsh"), source.Text("FSH1.002"));
  WriteFile(dir.File("props.fbj"), ByteBuilder().Text("FO01").U16(6).U16(0).Raw({0, 0, 0, 1, 0x1C, 3, 0xFE, 0, 0}));

  ScriptedUserInterface ui({TMsgAnswer::Ok});
  ui.SetFileChoices({dir.File("walls.fox"), dir.File("props.fsh"), dir.File("out.fsh")});
  TWorkspace work(ui);
  work.Open1Click();
  work.Import1Click();
  work.Panes.Src.Grid.Click(3);
  work.Panes.Src.Grid.ShiftClick(5);
  work.Panes.SrcGridClick();
  work.Panes.Dest.Grid.Click(10);
  work.Panes.DestGridClick();
  ASSERT_TRUE(RunTransferCommand(work, TTransferCommand::InsertAfter));
  EXPECT_EQ(work.Captions().Dest.Group, "Destination (Modified)");
  EXPECT_EQ(work.Captions().Dest.Shapes, "Shapes: 15");
  EXPECT_FALSE(work.Source.Modified);  // Copy mode leaves the source alone

  ASSERT_TRUE(work.SaveAs1Click());
  EXPECT_EQ(MessagesOf(ui), std::vector{MakeMessage(TMsgId::DataLossFSH)});
  EXPECT_EQ(work.Captions().Dest.Group, "Destination");
  EXPECT_EQ(work.Captions().Dest.FileName, "Filename: out.fsh");

  // Destination shapes 0..10, source shapes 3, 4 and 5, destination shape 11.
  ByteBuilder fsh, fbj;
  fsh.U16(15);
  for (int i = 0; i < 15; ++i) fsh.U16(6);
  fbj.Text("FO01").U16(15).U16(0);
  auto record = [&](std::uint8_t x, std::uint8_t a) { fsh.U8(2).U8(1).U8(x).U8(0).U8(a).U8(a + 1); };
  for (int i = 0; i <= 10; ++i) record(0, std::uint8_t(i)), fbj.U8(0);
  for (int i = 3; i <= 5; ++i) record(std::uint8_t(-1 - i), std::uint8_t(100 + i));
  fbj.Raw({1, 0x1C, 3, 0xFE, 0});
  record(0, 11), fbj.U8(0);
  EXPECT_EQ(ReadFile(dir.File("out.fsh")), fsh.Text("FSH1.002").Get());
  EXPECT_EQ(ReadFile(dir.File("out.fbj")), fbj.Get());
}

}  // namespace quillmere::test
