#pragma once

// What the fuzz targets share: a private scratch folder for the readers that
// need a file, splitting one input into parts, and the check that stops a run
// when a round trip disagrees.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace quillmere::fuzz {

// A folder of this process's own (under /dev/shm when there is one, so no
// disk is touched per input), removed when the process ends. Targets reuse
// the same names inside it from one input to the next.
const std::string& ScratchFolder();
std::string ScratchFile(std::string_view name);

// Replaces `path` with the bytes given; with `present` false removes it.
void PutFile(const std::string& path, std::string_view bytes, bool present = true);
std::string GetFile(const std::string& path);

// The input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits at the first `marker`: the part before it and, when the marker is
// there, the part after it.
struct TSplit {
  std::string_view First;
  std::string_view Second;
  bool HasSecond = false;
};
TSplit SplitAt(std::string_view input, std::string_view marker);

// A round trip or invariant failed: says which and aborts, which the fuzzer
// records as a crash with the input that caused it.
[[noreturn]] void Fail(const char* what);
inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace quillmere::fuzz
