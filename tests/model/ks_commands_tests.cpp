#include "model/ks_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace quillmere {

TEST(KSCommands, StepTextFillsTemplatesOrFallsBackToNumbers) {
  const std::pair<TKSStep, const char*> cases[] = {{{1, 4, 0}, "Show Frame 4"},
                                                   {{3, 0, 5}, "Loop to step 0, 5 time(s)"},
                                                   {{3, -1, 0}, "Loop to step -1, 0 time(s)"},
                                                   {{13, 1, 0}, "Set camera to follow furre position (1)"},
                                                   {{9, 7, 7}, "Move frame in front of the furre"},
                                                   {{20, 1, 2}, "(20) 1, 2"},
                                                   {{0, -32768, -5}, "(0) -32768, -5"}};
  for (const auto& [step, text] : cases) EXPECT_EQ(StepText(step), text) << step.Command;
  EXPECT_EQ(StepLine(2, {2, 100, 0}), "[2]: Delay 100");
}

// A shifted or badly split table would pair a template with the wrong descriptor.
TEST(KSCommands, DescriptorsGiveArgumentsThatMatchTheTemplates) {
  const std::tuple<int, int, std::string, std::string> cases[] = {
      {1, 1, "(frame number)", ""}, {3, 2, "(step number)", "times."}, {9, 0, "", ""}, {14, 0, "", ""}};
  for (const auto& [code, count, first, second] : cases) {
    EXPECT_EQ(ArgumentCount(code), count) << code;
    EXPECT_EQ(ArgumentLabels(code), std::pair(first, second)) << code;
  }
  for (int code = 1; code <= kKSCommandCount; ++code) {
    const std::string_view pattern = CommandTemplate(code);
    ASSERT_FALSE(pattern.empty()) << code;
    EXPECT_EQ(std::count(pattern.begin(), pattern.end(), '#'), ArgumentCount(code)) << code;
    for (std::string_view line : {pattern, ArgumentDescriptor(code)})
      EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos) << code;
  }
}

}  // namespace quillmere
