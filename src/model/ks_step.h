#pragma once

#include <cstdint>
#include <vector>

namespace quillmere {

// One KitterSpeak step. Every field is kept as its 16-bit pattern, also for
// command codes outside 1..13 and arguments a command does not use.
struct TKSStep {
  std::int16_t Command = 0;
  std::int16_t Arg1 = 0;
  std::int16_t Arg2 = 0;

  bool operator==(const TKSStep&) const = default;
};

using TKSScript = std::vector<TKSStep>;

}  // namespace quillmere
