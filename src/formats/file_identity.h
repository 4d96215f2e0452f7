#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillmere {

// What tells one version of a file from another without reading it: another
// program that saves in place changes the size or the time, one that saves
// through a new file changes the inode.
struct TFileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::int64_t Size = 0;
  std::int64_t ModifiedSeconds = 0;
  std::int64_t ModifiedNanoseconds = 0;
  bool operator==(const TFileIdentity&) const = default;
};

// The identity of the file at `path` (links followed); none when there is no
// such file.
std::optional<TFileIdentity> FileIdentityOf(const std::string& path);

}  // namespace quillmere
