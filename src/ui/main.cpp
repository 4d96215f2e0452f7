// quillmere: the editor. Opens the files a file manager hands it (a
// destination and a source), otherwise starts empty.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "export/colour_remap.h"
#include "formats/atomic_file_writer.h"
#include "model/shape_palette.h"
#include "ui/main_window.h"
#include "ui/qt_user_interface.h"

namespace {

constexpr char kUsage[] =
    "Usage: quillmere [DESTINATION [SOURCE]]\n"
    "Opens the Quillmere shape editor. DESTINATION is opened as the destination\n"
    "(the file being built) and SOURCE imported as the source.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "For batch work (inspect, convert, export) use quillmere-cli.\n";

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // A save past the file-size limit must fail like any write, not end the program.
  quillmere::IgnoreFileSizeSignal();
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--version") {
      std::printf("quillmere %s\n", QUILLMERE_VERSION);
      return 0;
    }
    if (argument.size() > 1 && argument[0] == '-' && argument != "--") {
      std::fprintf(stderr, "quillmere: unknown option %s (see quillmere --help)\n", argument.c_str());
      return 2;
    }
    if (argument != "--") files.push_back(argument);
  }
  if (files.size() > 2) {
    std::fputs("quillmere: at most two files, a destination and a source (see quillmere --help)\n", stderr);
    return 2;
  }
  if (!HasDisplay()) {
    std::fputs("quillmere: needs a display to open its window; for scripts, run it under xvfb-run\n", stderr);
    return 1;
  }

  quillmere::LoadShapePalette();
  quillmere::LoadColourMap();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillmere");
  QApplication::setApplicationVersion(QUILLMERE_VERSION);
  // The desktop matches the window to its launcher entry and icon by this name.
  QGuiApplication::setDesktopFileName("quillmere");
  QApplication::setWindowIcon(QIcon(":/icons/quillmere.svg"));

  quillmere::ui::QtUserInterface ui;
  const std::unique_ptr<quillmere::TMainWindowState> state = quillmere::StartUp(ui);
  int status = 0;
  {
    quillmere::ui::MainWindow window(*state, ui);
    ui.SetParentWindow(&window);
    window.show();
    if (!files.empty()) window.OpenFiles(files);
    status = QApplication::exec();
    ui.SetParentWindow(nullptr);
  }
  quillmere::ShutDown(*state);
  return status;
}
