#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace quillmere::fuzz {
namespace {

std::string MakeScratchFolder() {
  std::error_code error;
  std::filesystem::path base = "/dev/shm";
  if (!std::filesystem::is_directory(base, error)) base = std::filesystem::temp_directory_path();
  std::filesystem::path folder = base / ("quillmere-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder(), ignored);
  });
  return folder.string();
}

}  // namespace

const std::string& ScratchFolder() {
  // Never destroyed: the exit handler that removes the folder runs after
  // static objects are gone.
  static const std::string* folder = new std::string(MakeScratchFolder());
  return *folder;
}

std::string ScratchFile(std::string_view name) { return ScratchFolder() + "/" + std::string(name); }

void PutFile(const std::string& path, std::string_view bytes, bool present) {
  if (!present) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail("cannot write the scratch file");
}

std::string GetFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TSplit SplitAt(std::string_view input, std::string_view marker) {
  const std::size_t at = input.find(marker);
  if (at == std::string_view::npos) return {input, {}, false};
  return {input.substr(0, at), input.substr(at + marker.size()), true};
}

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace quillmere::fuzz
