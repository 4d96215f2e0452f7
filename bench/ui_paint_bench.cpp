// ui-paint-bench FILE [--repeats N] [--passes page,column] [--width PIXELS] [--trace CSV]
//
// How fast the editor's window paints its two main grids, with FILE opened
// as the destination and imported as the source (bench/run-ui-bench makes a
// document of 2,000 large PNG-encoded shapes for it):
//   1. the first paint of each grid after the load, and after a page scroll,
//      both with no cell drawn before;
//   2. repainting both grids once every cell on screen has been drawn,
//      `--repeats` times (default 200);
//   3. scrolling both grids from one end to the other, a page or a column at
//      a time, with the resident memory's growth over the load's and the
//      cell cache's bytes; `--trace` writes every step (pass, step, ms, RSS
//      MiB, cache MiB) to a CSV file.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise, and
// with settings in a folder of its own unless XDG_CONFIG_HOME names one.
// Prints a table and a PASS or FAIL line per target.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

#include "app/main_window_state.h"
#include "export/colour_remap.h"
#include "interface/scripted_user_interface.h"
#include "model/shape_palette.h"
#include "ui/main_window.h"
#include "ui/shape_grid.h"

namespace {

using namespace quillmere;
using namespace quillmere::ui;
using Clock = std::chrono::steady_clock;

constexpr double kFirstPaintTargetMs = 300;
constexpr double kRepaintTargetMs = 16;
constexpr double kMiB = 1024.0 * 1024.0;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of every thread of this process: the cells decode on worker
// threads, so on a busy machine the wall time alone says little.
double CpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000 + static_cast<double>(t.tv_usec) / 1000; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// VmRSS and VmHWM of this process, in bytes.
struct TMemory {
  double Rss = 0;
  double Peak = 0;
};

TMemory ReadMemory() {
  TMemory memory;
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    std::istringstream fields(line);
    std::string name;
    double kib = 0;
    fields >> name >> kib;
    if (name == "VmRSS:") memory.Rss = kib * 1024;
    if (name == "VmHWM:") memory.Peak = kib * 1024;
  }
  return memory;
}

// Starts VmHWM again from the current RSS, so that the peak of a phase is not
// the load's. Without it (an old kernel) the sampled RSS still counts.
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// The machine's load average over the last minute: the cells decode on every
// core, so other work running alongside shows in the figures.
std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string oneMinute;
  file >> oneMinute;
  return oneMinute.empty() ? "?" : oneMinute;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

void Settle() {
  // Twice: a paint may post the enabled-state sync, which posts nothing more.
  QApplication::processEvents();
  QApplication::processEvents();
}

struct TTimed {
  double Ms = 0;
  double CpuMs = 0;
  std::size_t Cells = 0;  // cells drawn (not found in the cache) during it
};

class Bench {
 public:
  explicit Bench(MainWindow& window) : window_(window) {}

  ShapeGrid* Dest() const { return window_.Grid(TGridId::DestGrid); }
  ShapeGrid* Src() const { return window_.Grid(TGridId::SrcGrid); }

  TTimed Repaint(ShapeGrid* grid) {
    const std::size_t before = Drawn();
    const double cpu = CpuMs();
    const Clock::time_point start = Clock::now();
    grid->viewport()->repaint();
    const double ms = MsSince(start);
    return TTimed{ms, CpuMs() - cpu, Drawn() - before};
  }

  // Scrolls one grid by a page and times its repaint. The grids are moved
  // one at a time: a repaint flushes every paint the window has waiting, so
  // with both grids moved the first repaint would draw both.
  TTimed PageAndRepaint(ShapeGrid* grid) {
    QScrollBar* bar = grid->horizontalScrollBar();
    bar->setValue(bar->value() + bar->pageStep());
    const TTimed timed = Repaint(grid);
    Settle();
    return timed;
  }

  // Every cell not found in the cache is drawn and inserted, so while the
  // cache is below its bound (a screenful or two) its count tells how many
  // cells a paint drew.
  std::size_t Drawn() const { return window_.Cache().Count(); }

  // Every step of a pass as a line of `trace`, when one is open.
  void SetTrace(std::ofstream* trace) { trace_ = trace; }

  void TrackMemory(const char* pass, std::size_t step = 0, double ms = 0) {
    const TMemory memory = ReadMemory();
    peakRss_ = std::max(peakRss_, memory.Rss);
    peakCache_ = std::max(peakCache_, window_.Cache().Bytes());
    if (trace_ != nullptr) {
      *trace_ << pass << ',' << step << ',' << ms << ',' << memory.Rss / kMiB << ','
              << static_cast<double>(window_.Cache().Bytes()) / kMiB << '\n';
    }
  }
  double PeakRss() const { return peakRss_; }
  std::size_t PeakCache() const { return peakCache_; }

  // One pass over every column, `step` columns at a time (0: a page), both
  // grids moved and repainted at each step: each step's time and the CPU
  // time of all the steps.
  std::vector<double> Scroll(const char* name, int step, double& cpuMs) {
    std::vector<double> times;
    cpuMs = 0;
    for (ShapeGrid* grid : {Dest(), Src()}) grid->horizontalScrollBar()->setValue(0);
    Settle();
    TrackMemory(name);
    for (;;) {
      bool moved = false;
      for (ShapeGrid* grid : {Dest(), Src()}) {
        QScrollBar* bar = grid->horizontalScrollBar();
        const int next = std::min(bar->maximum(), bar->value() + (step > 0 ? step : bar->pageStep()));
        if (next != bar->value()) {
          bar->setValue(next);
          moved = true;
        }
      }
      if (!moved) break;
      const double cpu = CpuMs();
      const Clock::time_point start = Clock::now();
      Dest()->viewport()->repaint();
      Src()->viewport()->repaint();
      times.push_back(MsSince(start));
      cpuMs += CpuMs() - cpu;
      Settle();
      TrackMemory(name, times.size(), times.back());
    }
    return times;
  }

 private:
  MainWindow& window_;
  std::ofstream* trace_ = nullptr;
  double peakRss_ = 0;
  std::size_t peakCache_ = 0;
};

const char* Verdict(bool pass) { return pass ? "PASS" : "FAIL"; }

}  // namespace

int main(int argc, char** argv) {
  std::string file;
  int repeats = 200;
  int width = 1920;
  std::string passes = "page,column";
  std::string tracePath;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--repeats" && i + 1 < argc) {
      repeats = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--passes" && i + 1 < argc) {
      passes = argv[++i];
    } else if (argument == "--trace" && i + 1 < argc) {
      tracePath = argv[++i];
    } else if (argument == "--width" && i + 1 < argc) {
      width = std::max(200, std::atoi(argv[++i]));
    } else if (file.empty() && argument[0] != '-') {
      file = argument;
    } else {
      std::fprintf(stderr, "usage: ui-paint-bench FILE [--repeats N] [--passes page,column] [--width PIXELS]\n"
                   "                      [--trace CSV]\n");
      return 2;
    }
  }
  struct stat info {};
  if (file.empty() || stat(file.c_str(), &info) != 0) {
    std::fprintf(stderr, "ui-paint-bench: no file %s (bench/run-ui-bench makes one)\n", file.c_str());
    return 2;
  }

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The window reads and writes its settings; a run must not touch the person's.
  std::unique_ptr<QTemporaryDir> configFolder;
  if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")) {
    configFolder = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", configFolder->path().toLocal8Bit());
  }

  LoadShapePalette();
  LoadColourMap();
  QApplication app(argc, argv);
  // No box can block a run: every question takes its safe way out.
  ScriptedUserInterface ui;
  const std::unique_ptr<TMainWindowState> state = StartUp(ui);
  MainWindow window(*state, ui);
  window.resize(width, window.height());
  window.show();
  for (int i = 0; i < 200 && !(window.windowHandle() != nullptr && window.windowHandle()->isExposed()); ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  Settle();
  Bench bench(window);
  std::ofstream trace;
  if (!tracePath.empty()) {
    trace.open(tracePath);
    trace << "pass,step,ms,rss_mib,cache_mib\n";
    bench.SetTrace(&trace);
  }

  const std::string loadBefore = LoadAverage();
  const TMemory beforeLoad = ReadMemory();
  const Clock::time_point loadStart = Clock::now();
  window.OpenFiles({file, file});
  const double loadMs = MsSince(loadStart);
  const int shapes = bench.Dest()->Selection().Count();
  if (shapes == 0 || bench.Src()->Selection().Count() != shapes) {
    std::fprintf(stderr, "ui-paint-bench: %s did not load as both documents\n", file.c_str());
    for (const auto& shown : ui.Shown()) std::fprintf(stderr, "  shown: %s\n", shown.Message.Text.c_str());
    return 1;
  }
  const TMemory afterLoad = ReadMemory();
  // The peak from here on is the painting's, not the load's.
  const bool peakReset = ResetPeak();

  std::printf("ui-paint-bench: %s, %d shapes, %.0f MiB, loaded as destination and source in %.2f s\n",
              file.c_str(), shapes, static_cast<double>(info.st_size) / kMiB, loadMs / 1000);
  std::printf("  window %d x %d, client area %d x %d (%s platform); main grids' viewports %d px:\n"
              "  %d whole columns, %d on screen\n",
              window.width(), window.height(), window.centralWidget()->width(), window.centralWidget()->height(),
              qPrintable(QGuiApplication::platformName()),
              bench.Dest()->viewport()->width(), bench.Dest()->View().VisibleColumns,
              bench.Dest()->LastVisibleColumn() - bench.Dest()->FirstVisibleColumn() + 1);
  std::printf("  RSS %.0f MiB before the load, %.0f MiB after it\n\n", beforeLoad.Rss / kMiB, afterLoad.Rss / kMiB);

  // (1) First paints: nothing on screen has been drawn before. Right after
  // the load both grids wait to be painted, so the destination's repaint
  // draws the source grid too; only their sum is the grids' own.
  const TTimed firstDest = bench.Repaint(bench.Dest());
  const TTimed firstSrc = bench.Repaint(bench.Src());
  Settle();
  const TTimed pageDest = bench.PageAndRepaint(bench.Dest());
  const TTimed pageSrc = bench.PageAndRepaint(bench.Src());

  // (2) Repaints with every cell on screen drawn.
  std::vector<double> both, destOnly, srcOnly;
  const std::size_t drawnBeforeRepeats = bench.Drawn();
  for (int i = 0; i < repeats; ++i) {
    const TTimed dest = bench.Repaint(bench.Dest());
    const TTimed src = bench.Repaint(bench.Src());
    destOnly.push_back(dest.Ms);
    srcOnly.push_back(src.Ms);
    both.push_back(dest.Ms + src.Ms);
    Settle();
  }
  const std::size_t drawnInRepeats = bench.Drawn() - drawnBeforeRepeats;

  // (3) End to end.
  struct TPass {
    const char* Name;
    std::vector<double> Times;
    double CpuMs = 0;
  };
  std::vector<TPass> done;
  for (const auto& [name, step] : {std::pair{"page", 0}, std::pair{"column", 1}}) {
    if (passes.find(name) == std::string::npos) continue;
    TPass pass{name, {}, 0};
    pass.Times = bench.Scroll(name, step, pass.CpuMs);
    done.push_back(std::move(pass));
  }
  const TMemory scrollEnd = ReadMemory();
  const double peak = std::max(bench.PeakRss(), peakReset ? scrollEnd.Peak : 0.0);

  std::printf("%-46s %9s %9s %9s %9s\n", "", "dest ms", "src ms", "both ms", "cells");
  std::printf("%-46s %9.1f %9.1f %9.1f %4zu+%-4zu\n", "(1) first paint after the load (*)", firstDest.Ms,
              firstSrc.Ms, firstDest.Ms + firstSrc.Ms, firstDest.Cells, firstSrc.Cells);
  std::printf("%-46s %9.1f %9.1f %9.1f %4zu+%-4zu\n", "(1) first paint after a page scroll", pageDest.Ms, pageSrc.Ms,
              pageDest.Ms + pageSrc.Ms, pageDest.Cells, pageSrc.Cells);
  char label[64];
  std::snprintf(label, sizeof label, "(2) repaint, all cached, median of %d", repeats);
  std::printf("%-46s %9.2f %9.2f %9.2f %9zu\n", label, Percentile(destOnly, 0.5), Percentile(srcOnly, 0.5),
              Percentile(both, 0.5), drawnInRepeats);
  std::printf("%-46s %9.2f %9.2f %9.2f\n", "(2) repaint, all cached, 95th percentile", Percentile(destOnly, 0.95),
              Percentile(srcOnly, 0.95), Percentile(both, 0.95));
  for (const TPass& pass : done) {
    std::snprintf(label, sizeof label, "(3) by %s, %zu steps: median / p95 / max", pass.Name, pass.Times.size());
    std::printf("%-46s %9.1f %9.1f %9.1f\n", label, Percentile(pass.Times, 0.5), Percentile(pass.Times, 0.95),
                Percentile(pass.Times, 1.0));
  }
  std::printf("(*) the destination's repaint() right after the load also draws the source grid, which waits too\n");
  const std::size_t firstCells = firstDest.Cells + firstSrc.Cells + pageDest.Cells + pageSrc.Cells;
  const double firstCpu = firstDest.CpuMs + firstSrc.CpuMs + pageDest.CpuMs + pageSrc.CpuMs;
  std::printf("\nCPU time, all threads: (1) %.0f ms for %zu cells = %.1f ms a cell", firstCpu, firstCells,
              firstCpu / static_cast<double>(std::max<std::size_t>(firstCells, 1)));
  for (const TPass& pass : done) {
    double wall = 0;
    for (double t : pass.Times) wall += t;
    std::printf("; (3) by %s %.1f s wall, %.1f s CPU", pass.Name, wall / 1000, pass.CpuMs / 1000);
  }
  std::printf("\n  on %d cores; load average %s at the start, %s at the end\n", QThread::idealThreadCount(),
              loadBefore.c_str(), LoadAverage().c_str());
  const double growth = peak - afterLoad.Rss;
  const double budget = static_cast<double>(ui::CellCache::kMemoryBound);
  std::printf("\n(3) memory: peak RSS after the load %.1f MiB = %.1f MiB over the RSS after the load%s;\n",
              peak / kMiB, growth / kMiB, peakReset ? "" : " (sampled; VmHWM could not be reset)");
  std::printf("    RSS at the end %.1f MiB; cache %.1f MiB at most, %.1f MiB at the end (%zu cells), cache budget %.0f MiB\n",
              scrollEnd.Rss / kMiB, static_cast<double>(bench.PeakCache()) / kMiB,
              static_cast<double>(window.Cache().Bytes()) / kMiB, window.Cache().Count(),
              static_cast<double>(window.Cache().Budget()) / kMiB);

  const double firstWorst = std::max(firstDest.Ms + firstSrc.Ms, pageDest.Ms + pageSrc.Ms);
  std::printf("\n%s: first paint of a screenful, both grids, at most %.0f ms (worst %.1f ms)\n",
              Verdict(firstWorst <= kFirstPaintTargetMs), kFirstPaintTargetMs, firstWorst);
  std::printf("%s: repaint of both grids, every cell cached, median at most %.0f ms (%.2f ms)\n",
              Verdict(Percentile(both, 0.5) <= kRepaintTargetMs), kRepaintTargetMs, Percentile(both, 0.5));
  if (!done.empty()) {
    std::printf("%s: peak RSS over the RSS after the load within the pictures' bound (%.1f of %.0f MiB)\n",
                Verdict(growth <= budget), growth / kMiB, budget / kMiB);
  }
  return 0;
}
