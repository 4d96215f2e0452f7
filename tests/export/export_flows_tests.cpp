#include <gtest/gtest.h>

#include "export/export_flows.h"
#include "support/frames.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere::test {

const TPatchSubFrame frame = Frame(2, 2, 1, Bytes(4, 1));  // a plain picture for the exports

// Anything unreadable or below the range reads as its lower limit, anything above as its upper.
TEST(ExportFlows, NumberFieldsKeepTheirLimits) {
  for (auto [text, value] :
       {std::pair{"", 1}, {"12x", 1}, {"-5", 1}, {"+7", 7}, {"99999999999999999999", 1000}}) {
    EXPECT_EQ(NumberFieldValue(text, 1, 1000), value) << text;
  }
}

// Three shapes selected: the first dialog's file choice is cancelled once
// (the dialog shows again), the second dialog is cancelled, so only the first
// file is written and the third shape is never offered.
TEST(ExportFlows, GifSeriesKeepsOptionsAndStopsOnCancel) {
  const TShapeList shapes = {Shape({frame}), Shape({frame}, {{2, 0, 0}, {2, 0, 0}, {2, 0, 0}}),
                             Shape({frame}), Shape({frame})};
  TempDir dir;
  ScriptedUserInterface ui;
  ui.SetFileChoices({"", dir.File("first.gif"), dir.File("never.gif")});
  TGifExportDialogState state;
  std::vector<std::tuple<std::size_t, int, int>> shown;  // shape, Maximum Steps, Base Frame Delay
  int autoSteps = 0;
  const auto written =
      RunGifExportSeries(shapes, 1, 3, state, ui, [&](TGifExportDialogState& s, const TPatchFrame& shape) {
        shown.emplace_back(std::size_t(&shape - shapes.data()), s.Options.MaxSteps, s.Options.BaseFrameDelay);
        if (shown.size() == 1) s.Options.KitterspeakMode = false, s.SetBaseFrameDelay("5000");
        if (shown.size() < 3) return TDialogResult::Accept;
        s.SetMaxSteps("50"), s.Auto(), autoSteps = s.Options.MaxSteps;
        return TDialogResult::Cancel;
      });
  EXPECT_EQ(shown, (std::vector<std::tuple<std::size_t, int, int>>{{1, 3, 10}, {1, 3, 1000}, {2, 1, 1000}}));
  EXPECT_EQ(autoSteps, 1);  // Auto on an empty script still leaves one step, the field's lower limit
  EXPECT_EQ(std::tuple(written, dir.List(), state.Options.KitterspeakMode),
            std::tuple(std::vector{dir.File("first.gif")}, std::vector<std::string>{"first.gif"}, false));
  EXPECT_EQ(std::tuple(ui.FileRequests().size(), ui.FileRequests()[0].Filter,
                       ui.FileRequests()[0].DefaultExtension),
            std::tuple(2u, "GIF Image|*.gif", "gif"));
}

// An existing file is replaced only when the person says yes; declining shows
// the dialog again for the same shape, with nothing written.
TEST(ExportFlows, GifSeriesAsksBeforeReplacingAFile) {
  const TShapeList shapes = {Shape({frame}, {{1, 0, 0}})};
  TempDir dir;
  const Bytes old = {'o', 'l', 'd'};
  WriteFile(dir.File("old.gif"), old);
  ScriptedUserInterface ui({TMsgAnswer::No, TMsgAnswer::Yes});
  ui.SetFileChoices({dir.File("old.gif"), dir.File("old.gif")});
  TGifExportDialogState state;
  int dialogs = 0;
  std::vector<Bytes> onDialog;  // the file as each dialog finds it
  const auto written = RunGifExportSeries(shapes, 0, 0, state, ui, [&](TGifExportDialogState&, const TPatchFrame&) {
    ++dialogs;
    onDialog.push_back(ReadFile(dir.File("old.gif")));
    return TDialogResult::Accept;
  });
  const TMessage replace{"Confirm Save As", dir.File("old.gif") + " already exists.\rDo you want to replace it?",
                         TMsgIcon::Warning, TMsgButtons::YesNo};
  EXPECT_EQ(MessagesOf(ui), (std::vector<TMessage>{replace, replace}));
  EXPECT_EQ(std::tuple(dialogs, onDialog, written), std::tuple(2, std::vector<Bytes>{old, old},
                                                               std::vector<std::string>{dir.File("old.gif")}));
  EXPECT_NE(ReadFile(dir.File("old.gif")), old);
}

// Three shapes of the series: the progress answers false while the second is
// written. The first file stays, the second leaves nothing, the third is
// never offered; every report names the file and the series' length.
TEST(ExportFlows, GifSeriesStopsWhenProgressSaysSo) {
  const TShapeList shapes = {Shape({frame, frame}), Shape({frame, frame}), Shape({frame})};
  TempDir dir;
  ScriptedUserInterface ui;
  ui.SetFileChoices({dir.File("a.gif"), dir.File("b.gif"), dir.File("c.gif")});
  TGifExportDialogState state;
  int dialogs = 0;
  std::vector<std::pair<int, int>> files;  // File, Files of each report
  std::string stoppedAt;
  const auto written = RunGifExportSeries(
      shapes, 0, 2, state, ui,
      [&](TGifExportDialogState& s, const TPatchFrame&) {
        ++dialogs;
        s.Options.KitterspeakMode = false;
        return TDialogResult::Accept;
      },
      [&](const TGifSeriesProgress& p) {
        files.emplace_back(p.File, p.Files);
        if (p.File == 2 && p.Export.Phase == TGifExportPhase::Writing) {
          stoppedAt = GifProgressText(p);
          return false;
        }
        return true;
      });
  EXPECT_EQ(std::tuple(written, dir.List(), dialogs),
            std::tuple(std::vector<std::string>{dir.File("a.gif")}, std::vector<std::string>{"a.gif"}, 2));
  EXPECT_EQ(files, (std::vector<std::pair<int, int>>{{1, 3}, {1, 3}, {1, 3}, {1, 3}, {2, 3}, {2, 3}, {2, 3}}));
  EXPECT_EQ(stoppedAt, "Animated GIF 2 of 3: writing frame 1 of 2");
  EXPECT_EQ(GifProgressText({1, 4, {TGifExportPhase::Measuring, 7, 0}}), "Animated GIF 1 of 4: playing, 7 frames so far");
  // A few files show their progress only when slow, a longer series at once.
  EXPECT_EQ(std::pair(GifProgressDelay(3), GifProgressDelay(4)), std::pair(500, 0));
}

// Shapes 3 to 5 selected: shape 3 has two frames; Cancel for shape 4 ends the
// export, so shape 5 is never offered.
TEST(ExportFlows, BitmapExportAsksOncePerShapeUntilCancel) {
  const TShapeList shapes = {Shape({}),      Shape({}),     Shape({}), Shape({frame, frame}),
                             Shape({frame}), Shape({frame})};
  TempDir dir;
  ScriptedUserInterface ui;
  ui.SetFileChoices({dir.File("object3.bmp"), "", dir.File("never.bmp")});
  EXPECT_EQ(RunBitmapExport(shapes, 3, 5, ui).size(), 2u);
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"object3-0.bmp", "object3-1.bmp"}));
  ASSERT_EQ(ui.FileRequests().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(ui.FileRequests()[i].InitialName + " " + ui.FileRequests()[i].Filter,
              "object" + std::to_string(3 + i) + ".bmp Bitmap file (*.bmp)|*.bmp|All Files|*.*");
  }
}

TEST(ExportFlows, SelectAllFollowsTheOptionBoxes) {
  using B = TDedupeBox;
  TDedupeDialogState all({true, true, true, true});
  EXPECT_TRUE(all.SelectAll());
  all.ClickOption(B::Flags, false);
  EXPECT_FALSE(all.SelectAll());

  TDedupeDialogState some({.Flags = true, .KitterSpeak = true});
  some.ReleaseOnSelectAll(true);
  EXPECT_EQ(some.Options(), (TDedupeOptions{true, true, true, true}));
  some.ReleaseOnSelectAll(false);
  EXPECT_EQ(some.Options(), TDedupeOptions{});
}

// Each row: the shapes' pictures, whether the dialog scans, what the
// destination holds afterwards and the message.
TEST(ExportFlows, RemoveDuplicatesReportsAndMarksOnlyRemovals) {
  const std::tuple<std::string, bool, std::size_t, const char*> cases[] = {
      {"ppqp", true, 2, "Before: 4\nAfter: 2\nRemoved 2 objects."}, {"pp", false, 2, nullptr}};
  for (const auto& [pictures, scan, after, text] : cases) {
    TDocument destination;
    for (char c : pictures) {
      destination.Shapes.push_back(Shape({Frame(1, 1, 1, {std::uint8_t(c)})}));
      destination.Shapes.back().Flags = std::uint16_t(destination.Shapes.size());  // differs, not compared
    }
    TDedupeOptions remembered{.KitterSpeak = true};
    ScriptedUserInterface ui;
    const bool changed = RunRemoveDuplicates(destination, remembered, ui, [&](TDedupeDialogState& state) {
      EXPECT_TRUE(state.Checked(TDedupeBox::KitterSpeak));
      state.ClickOption(TDedupeBox::ObjectPosition, true);
      return scan;
    });
    EXPECT_EQ(std::tuple(destination.Shapes.size(), changed, destination.Modified),
              std::tuple(after, after != pictures.size(), after != pictures.size()));
    EXPECT_EQ(remembered, (TDedupeOptions{.ObjectPosition = scan, .KitterSpeak = true}));
    std::vector<TMessage> expected;
    if (text) expected.push_back({"Duplicate Removal", text, TMsgIcon::Information, TMsgButtons::Ok});
    EXPECT_EQ(MessagesOf(ui), expected);
  }
}

}  // namespace quillmere::test
