#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/ks_step.h"

namespace quillmere {

// The clipboard form of steps: "KitterSpeak:2:2, 1:0:0, 2:100:0".
std::string EncodeKSClipboardText(const TKSScript& steps);

struct TKSDecodeResult {
  // The steps decoded, in text order; those before a failing record stay.
  TKSScript Steps;
  // Set when decoding stopped on an error the user must see: a field that is
  // not an integer ("''x'' is not a valid integer value"), or a text that has
  // the prefix but no record at all.
  std::optional<std::string> Error;
};

// Decodes clipboard text. Text that does not start with "KitterSpeak:" gives
// no steps and no error.
TKSDecodeResult DecodeKSClipboardText(std::string_view text);

}  // namespace quillmere
