// time-dedupe-scan IN.fox: loads IN and times the duplicate scan alone (no
// file I/O inside the timing), printing the pixel bytes digested per second.

#include <chrono>
#include <cstdio>
#include <iostream>

#include "editing/remove_duplicates.h"
#include "formats/fox_format.h"
#include "interface/scripted_user_interface.h"

int main(int argc, char** argv) {
  using namespace quillmere;
  if (argc != 2) {
    std::cerr << "usage: time-dedupe-scan IN.fox\n";
    return 2;
  }
  TShapeList shapes;
  ScriptedUserInterface ui;
  LoadFOXFile(argv[1], shapes, ui);
  std::size_t bytes = 0;
  for (const TPatchFrame& shape : shapes) {
    for (const TPatchSubFrame& frame : shape.Frames) bytes += frame.Pixels.size();
  }
  const auto start = std::chrono::steady_clock::now();
  const std::size_t before = shapes.size();
  RemoveDuplicateShapes(shapes, TDedupeOptions{});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%zu shapes, %zu removed, %.1f MiB in %.3f s: %.1f MiB/s\n", before, before - shapes.size(),
              static_cast<double>(bytes) / 1048576.0, seconds, static_cast<double>(bytes) / 1048576.0 / seconds);
  return 0;
}
