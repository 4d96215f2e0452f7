#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/export_flows.h"
#include "support/frames.h"
#include "support/message_printing.h"

namespace quillmere::test {

TEST(ExportFlows, NumberFieldsKeepTheirLimits) {
  const std::pair<const char*, int> cases[] = {{"", 1},
                                               {"-", 1},
                                               {"+", 1},
                                               {"abc", 1},
                                               {"12x", 1},
                                               {"0", 1},
                                               {"5", 5},
                                               {"+7", 7},
                                               {"2000", 1000},
                                               {"-5", 1},
                                               {"99999999999999999999", 1000},
                                               {"-99999999999999999999", 1}};
  for (const auto& [text, value] : cases) EXPECT_EQ(NumberFieldValue(text, 1, 1000), value) << text;
}

// Three shapes selected: the first dialog's file choice is cancelled once
// (the dialog shows again), the second dialog is cancelled, so only the first
// file is written and the third shape is never offered.
TEST(ExportFlows, GifSeriesKeepsOptionsAndStopsOnCancel) {
  const TPatchSubFrame frame = Frame(2, 2, 1, Bytes(4, 1));
  const TShapeList shapes = {Shape({frame}), Shape({frame}, {{2, 0, 0}, {2, 0, 0}, {2, 0, 0}}),
                             Shape({frame}), Shape({frame})};
  TempDir dir;
  ScriptedUserInterface ui;
  ui.SetFileChoices({"", dir.File("first.gif"), dir.File("never.gif")});
  TGifExportDialogState state;
  std::vector<std::tuple<std::size_t, int, int>> shown;  // shape, Maximum Steps, Base Frame Delay
  const auto written =
      RunGifExportSeries(shapes, 1, 3, state, ui, [&](TGifExportDialogState& s, const TPatchFrame& shape) {
        shown.emplace_back(std::size_t(&shape - shapes.data()), s.Options.MaxSteps, s.Options.BaseFrameDelay);
        if (shown.size() == 1) {
          s.Options.KitterspeakMode = false;
          s.SetBaseFrameDelay("5000");
        }
        if (shown.size() < 3) return TDialogResult::Accept;
        s.Auto();
        return TDialogResult::Cancel;
      });
  EXPECT_EQ(shown, (std::vector<std::tuple<std::size_t, int, int>>{{1, 3, 10}, {1, 3, 1000}, {2, 1, 1000}}));
  EXPECT_EQ(written, std::vector<std::string>{dir.File("first.gif")});
  EXPECT_EQ(dir.List(), std::vector<std::string>{"first.gif"});
  ASSERT_EQ(ui.FileRequests().size(), 2u);
  EXPECT_EQ(ui.FileRequests()[0].Filter, "GIF Image|*.gif");
  EXPECT_EQ(ui.FileRequests()[0].DefaultExtension, "gif");
  EXPECT_FALSE(state.Options.KitterspeakMode);

  // Auto on an empty script still leaves one step, the field's lower limit.
  state.ShowFor(shapes[0]);
  state.SetMaxSteps("50");
  state.Auto();
  EXPECT_EQ(state.Options.MaxSteps, 1);
}

// Shape 3 has two frames, shape 4 one; each row gives the file choices.
TEST(ExportFlows, BitmapExportAsksOncePerShape) {
  const TPatchSubFrame frame = Frame(2, 2, 1, Bytes(4, 1));
  const TShapeList shapes = {Shape({}), Shape({}), Shape({}), Shape({frame, frame}), Shape({frame})};
  const std::tuple<std::vector<std::string>, std::vector<std::string>, std::size_t> cases[] = {
      {{"object3.bmp", "object4.bmp"}, {"object3-0.bmp", "object3-1.bmp", "object4-0.bmp"}, 2},
      {{"object3.bmp", ""}, {"object3-0.bmp", "object3-1.bmp"}, 2},
      {{""}, {}, 1}};
  for (const auto& [choices, files, asked] : cases) {
    TempDir dir;
    ScriptedUserInterface ui;
    std::vector<std::string> paths;
    for (const auto& choice : choices) paths.push_back(choice.empty() ? "" : dir.File(choice));
    ui.SetFileChoices(paths);
    EXPECT_EQ(RunBitmapExport(shapes, 3, 4, ui).size(), files.size());
    EXPECT_EQ(dir.List(), files);
    ASSERT_EQ(ui.FileRequests().size(), asked);
    for (std::size_t i = 0; i < asked; ++i) {
      EXPECT_EQ(ui.FileRequests()[i].InitialName, "object" + std::to_string(3 + i) + ".bmp");
      EXPECT_EQ(ui.FileRequests()[i].Filter, "Bitmap file (*.bmp)|*.bmp|All Files|*.*");
    }
  }
}

TEST(ExportFlows, SelectAllFollowsTheOptionBoxes) {
  using B = TDedupeBox;
  TDedupeDialogState all({true, true, true, true});
  EXPECT_TRUE(all.SelectAll());
  all.ClickOption(B::Flags, false);
  EXPECT_FALSE(all.SelectAll());
  all.ClickOption(B::Flags, true);
  EXPECT_TRUE(all.SelectAll());

  TDedupeDialogState some({.Flags = true, .KitterSpeak = true});
  EXPECT_FALSE(some.SelectAll());
  some.ClickOption(B::FurrePosition, true);
  EXPECT_FALSE(some.SelectAll());
  some.ReleaseOnSelectAll(true);
  EXPECT_EQ(some.Options(), (TDedupeOptions{true, true, true, true}));
  some.ReleaseOnSelectAll(false);
  EXPECT_EQ(some.Options(), TDedupeOptions{});
  some.ClickOption(B::ObjectPosition, true);
  EXPECT_EQ(some.Options(), TDedupeOptions{.ObjectPosition = true});
}

// Each row: the shapes' pictures, whether the dialog scans, what the
// destination holds afterwards and the message.
TEST(ExportFlows, RemoveDuplicatesReportsAndMarksOnlyRemovals) {
  const std::tuple<std::string, bool, std::size_t, const char*> cases[] = {
      {"ppqp", true, 2, "Before: 4\nAfter: 2\nRemoved 2 objects."},
      {"pq", true, 2, "Before: 2\nAfter: 2\nRemoved 0 objects."},
      {"pp", false, 2, nullptr}};
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
    EXPECT_EQ(destination.Shapes.size(), after);
    EXPECT_EQ(changed, after != pictures.size());
    EXPECT_EQ(destination.Modified, changed);
    EXPECT_EQ(remembered, (TDedupeOptions{.ObjectPosition = scan, .KitterSpeak = true}));
    std::vector<TMessage> expected;
    if (text) expected.push_back({"Duplicate Removal", text, TMsgIcon::Information, TMsgButtons::Ok});
    EXPECT_EQ(MessagesOf(ui), expected);
  }
}

}  // namespace quillmere::test
