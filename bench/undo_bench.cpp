// time-undo IN.fox [steps, default 100]: opens IN as the destination (as the
// window does, so its undo history starts there), then repeats "Insert After"
// of 10 source shapes at spread-out places, each followed by an undo and a
// redo, and prints the median and worst time of each and the memory the
// steps added. The steps stay in the history, as they would for a person
// working on.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/transfer_commands.h"
#include "editing/transfers.h"
#include "interface/scripted_user_interface.h"

namespace {

using namespace quillmere;

double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Wall-clock time, and the time this thread ran: on a busy machine the two
// part, and the second is what the work itself costs.
struct TClock {
  std::chrono::steady_clock::time_point Wall = std::chrono::steady_clock::now();
  double Cpu = CpuMs();
  static double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
  }
};

struct TTimes {
  std::vector<double> Wall, Cpu;
  void Add(const TClock& from, const TClock& to) {
    Wall.push_back(std::chrono::duration<double, std::milli>(to.Wall - from.Wall).count());
    Cpu.push_back(to.Cpu - from.Cpu);
  }
  void Print(const char* what) {
    std::sort(Wall.begin(), Wall.end());
    std::sort(Cpu.begin(), Cpu.end());
    std::printf("%-22s median %.3f ms, worst %.3f ms (thread CPU: median %.3f, worst %.3f) over %zu\n", what,
                Wall[Wall.size() / 2], Wall.back(), Cpu[Cpu.size() / 2], Cpu.back(), Wall.size());
  }
};

// Ten shapes of one 64 x 64 indexed frame each, as a small import would hold.
TShapeList SourceShapes() {
  TShapeList shapes(10);
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    shapes[i].Frames.push_back(
        {.Height = 64, .Width = 64, .Opacity = 255, .Pixels = ByteBuffer(64 * 64, static_cast<std::uint8_t>(i + 1))});
  }
  return shapes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: time-undo IN.fox [steps, default 100]\n";
    return 2;
  }
  const int steps = argc == 3 ? std::stoi(argv[2]) : 100;
  ScriptedUserInterface ui;
  TWorkspace work(ui);
  const double start = ResidentMiB();
  const auto loadStart = std::chrono::steady_clock::now();
  work.DestRecentClick(argv[1]);
  const double loadMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadStart).count();
  const std::size_t shapes = work.Destination.Shapes.size();
  if (shapes == 0) {
    std::cerr << "nothing loaded from " << argv[1] << "\n";
    return 1;
  }
  const double loaded = ResidentMiB();
  {
    // What the history's copy of the list costs: one more copy, sharing every pixel.
    const TShapeList copy = work.Destination.Shapes;
    std::printf("loaded %zu shapes in %.0f ms, %.1f MiB resident; a shared copy of the list costs %.1f MiB\n", shapes,
                loadMs, loaded - start, ResidentMiB() - loaded);
  }

  work.Source.Shapes = SourceShapes();
  work.Panes.RefreshGridCounts();
  work.Replaced(TDocumentKind::Source);
  const double before = ResidentMiB();

  // The same inserts on a copy of the list without any history, for comparison.
  {
    TDocument plain;
    plain.Shapes = work.Destination.Shapes;
    TTimes bare;
    for (int i = 0; i < steps; ++i) {
      const int at = static_cast<int>((static_cast<std::size_t>(i) * 7919) % plain.Shapes.size());
      TPaneSelection dest{.Shapes = {at, at}, .FocusedShape = at, .Frames = {}, .FocusedFrame = 0};
      TPaneSelection src{.Shapes = {0, 9}, .FocusedShape = 9, .Frames = {}, .FocusedFrame = 0};
      const TClock t0;
      InsertAfter(TTransfer{plain, work.Source, dest, src, TTransferMode::Copy});
      bare.Add(t0, TClock());
    }
    bare.Print("Insert After, no undo");
  }

  TTimes insert, undo, redo;
  for (int i = 0; i < steps; ++i) {
    work.Panes.Src.Grid.Click(0);
    work.Panes.Src.Grid.ShiftClick(9);
    work.Panes.SrcGridClick();
    const auto at = static_cast<int>((static_cast<std::size_t>(i) * 7919) % work.Destination.Shapes.size());
    work.Panes.Dest.Grid.Click(at);
    work.Panes.DestGridClick();
    const TClock t0;
    if (!RunTransferCommand(work, TTransferCommand::InsertAfter)) {
      std::cerr << "Insert After did not run\n";
      return 1;
    }
    const TClock t1;
    work.Undo(TDocumentKind::Destination);
    const TClock t2;
    work.Redo(TDocumentKind::Destination);
    const TClock t3;
    insert.Add(t0, t1);
    undo.Add(t1, t2);
    redo.Add(t2, t3);
  }
  const double after = ResidentMiB();
  insert.Print("Insert After");
  undo.Print("Undo");
  redo.Print("Redo");
  const double added = after - before;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%d steps added %.2f MiB resident (the history counts %.2f MiB it alone holds); peak %.1f MiB\n", steps,
              after - before, static_cast<double>(work.History().Stack(TDocumentKind::Destination).Bytes()) / 1048576.0,
              static_cast<double>(usage.ru_maxrss) / 1024.0);
  std::printf("destination now %zu shapes, %zu steps to undo\n", work.Destination.Shapes.size(),
              work.History().Stack(TDocumentKind::Destination).Size());
  constexpr double kMaxMs = 5.0, kMaxMiB = 16.0;
  for (const auto& [what, times] : {std::pair("Insert After", &insert), {"Undo", &undo}, {"Redo", &redo}}) {
    std::printf("%s: %s at most %.0f ms each (worst %.3f ms)\n", times->Wall.back() <= kMaxMs ? "PASS" : "FAIL", what,
                kMaxMs, times->Wall.back());
  }
  std::printf("%s: %d steps add at most %.0f MiB (%.2f MiB)\n", added <= kMaxMiB ? "PASS" : "FAIL", steps, kMaxMiB,
              added);
  return 0;
}
