// A FSH file (with its FBJ companion after the marker) opened, written
// back as FSH and read again.

#include <cstddef>
#include <cstdint>

#include "shape_file_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quillmere::fuzz::FuzzShapeFile(data, size, quillmere::TShapeFileType::ftFSH);
  return 0;
}
