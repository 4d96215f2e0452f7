#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // The full name of `name` inside the folder.
  std::string File(std::string_view name) const;
  // The names of the entries in the folder, sorted.
  std::vector<std::string> List() const;

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// Builds file contents with little-endian numbers.
class ByteBuilder {
 public:
  ByteBuilder& U8(unsigned value);
  ByteBuilder& U16(unsigned value);
  ByteBuilder& I16(int value) { return U16(static_cast<std::uint16_t>(value)); }
  ByteBuilder& U32(std::uint32_t value);
  ByteBuilder& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
  ByteBuilder& Text(std::string_view text);
  ByteBuilder& Raw(const Bytes& bytes);
  ByteBuilder& Fill(std::size_t count, std::uint8_t value);
  const Bytes& Get() const { return bytes_; }
  operator const Bytes&() const { return bytes_; }

 private:
  Bytes bytes_;
};

}  // namespace quillmere::test
