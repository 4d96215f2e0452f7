#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "model/ks_step.h"

namespace quillmere {

// KitterSpeak command codes.
enum TKSCommand : std::int16_t {
  ksShowFrame = 1,
  ksDelay = 2,
  ksLoopToStep = 3,
  ksJumpToStep = 4,
  ksFrameX = 5,
  ksFrameY = 6,
  ksFurreX = 7,
  ksFurreY = 8,
  ksInFront = 9,
  ksBehind = 10,
  ksDefaultDelay = 11,
  ksStop = 12,
  ksCamera = 13,
};

inline constexpr int kKSCommandCount = 13;

// The command's text template ("Delay #"), from the shipped KSDESC table;
// empty for a code outside 1..13.
std::string_view CommandTemplate(int code);

// The command's argument descriptor ("2:(step number);times."), from the
// shipped KSDATA table; empty for a code outside 1..13.
std::string_view ArgumentDescriptor(int code);

// How many arguments the command takes (0, 1 or 2); 0 for an unknown code.
int ArgumentCount(int code);

// The labels of the command's arguments; unused ones are empty.
std::pair<std::string, std::string> ArgumentLabels(int code);

// The display text of a step: "Delay 100"; unknown codes read "(20) 1, 2".
std::string StepText(const TKSStep& step);

// The list line of a step: "[2]: Delay 100".
std::string StepLine(int index, const TKSStep& step);

}  // namespace quillmere
