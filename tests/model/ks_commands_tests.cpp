#include "model/ks_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quillmere {
namespace {

TEST(KSCommands, StepTextFillsTemplatesAndFallsBackToNumbers) {
  struct Case {
    TKSStep Step;
    const char* Text;
  };
  const Case cases[] = {
      {{1, 4, 0}, "Show Frame 4"},
      {{2, 100, 0}, "Delay 100"},
      {{3, 0, 5}, "Loop to step 0, 5 time(s)"},
      {{3, -1, 0}, "Loop to step -1, 0 time(s)"},
      {{3, -32768, 32767}, "Loop to step -32768, 32767 time(s)"},
      {{13, 1, 0}, "Set camera to follow furre position (1)"},
      {{9, 7, 7}, "Move frame in front of the furre"},
      {{12, 3, 4}, "Stop"},
      {{2, -25536, 0}, "Delay -25536"},
      {{20, 1, 2}, "(20) 1, 2"},
      {{0, 0, 0}, "(0) 0, 0"},
      {{14, -5, 9}, "(14) -5, 9"},
      {{-32768, -1, -2}, "(-32768) -1, -2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepText(c.Step), c.Text) << "command " << c.Step.Command;
  }
}

TEST(KSCommands, StepLinePrefixesZeroBasedIndex) {
  EXPECT_EQ(StepLine(2, {2, 100, 0}), "[2]: Delay 100");
  EXPECT_EQ(StepLine(0, {12, 0, 0}), "[0]: Stop");
  EXPECT_EQ(StepLine(65534, {20, 1, 2}), "[65534]: (20) 1, 2");
}

TEST(KSCommands, ArgumentCountAndLabelsComeFromDescriptors) {
  struct Case {
    int Code;
    int Count;
    const char* First;
    const char* Second;
  };
  const Case cases[] = {
      {1, 1, "(frame number)", ""},
      {2, 1, "milliseconds.", ""},
      {3, 2, "(step number)", "times."},
      {9, 0, "", ""},
      {12, 0, "", ""},
      {13, 1, "(0 - off, 1 - on)", ""},
      {0, 0, "", ""},
      {14, 0, "", ""},
      {-1, 0, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgumentCount(c.Code), c.Count) << "code " << c.Code;
    const auto [first, second] = ArgumentLabels(c.Code);
    EXPECT_EQ(first, c.First) << "code " << c.Code;
    EXPECT_EQ(second, c.Second) << "code " << c.Code;
  }
}

// A shifted or badly split table would pair a template with the wrong
// descriptor; every shipped command has as many "#" as arguments.
TEST(KSCommands, EveryTableLineIsCleanAndTemplatesMatchArgumentCounts) {
  for (int code = 1; code <= kKSCommandCount; ++code) {
    const std::string_view pattern = CommandTemplate(code);
    const std::string_view descriptor = ArgumentDescriptor(code);
    ASSERT_FALSE(pattern.empty()) << "code " << code;
    ASSERT_FALSE(descriptor.empty()) << "code " << code;
    for (std::string_view line : {pattern, descriptor}) {
      EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos) << "code " << code;
    }
    EXPECT_EQ(std::count(pattern.begin(), pattern.end(), '#'), ArgumentCount(code))
        << "code " << code;
  }
  EXPECT_EQ(CommandTemplate(13), "Set camera to follow furre position (#)");
  EXPECT_EQ(ArgumentDescriptor(3), "2:(step number);times.");
  EXPECT_TRUE(CommandTemplate(0).empty());
  EXPECT_TRUE(ArgumentDescriptor(kKSCommandCount + 1).empty());
}

}  // namespace
}  // namespace quillmere
