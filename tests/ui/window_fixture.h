#pragma once

// A real main window over a scripted interface and a settings folder of its
// own, driven with QTest's mouse and key events.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/main_window_state.h"
#include "interface/scripted_user_interface.h"
#include "support/test_files.h"
#include "ui/main_window.h"
#include "ui/shape_grid.h"

namespace quillmere::test {

class WindowFixture {
 public:
  explicit WindowFixture(std::vector<TMsgAnswer> answers = {}) : scripted(std::move(answers)) {}

  // Starts the window as the program does, with the settings folder's file
  // written first when `settings` is not empty.
  ui::MainWindow& Start(const std::string& settings = {}) {
    if (!settings.empty()) {
      const std::string folder = config.Path() + "/Tarnwick/Quillmere";
      std::filesystem::create_directories(folder);
      WriteFile(folder + "/quillmere.ini", Bytes(settings.begin(), settings.end()));
    }
    state = StartUp(scripted, config.Path());
    window = std::make_unique<ui::MainWindow>(*state, scripted);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) throw std::runtime_error("window not exposed");
    Settle();
    return *window;
  }

  // Lets queued work (state syncs after paints, repaints) run.
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      if (window) window->repaint();
    }
    QApplication::processEvents();
  }

  ui::ShapeGrid* Grid(TGridId id) { return window->Grid(id); }

  // A click in the middle of a column (which must be in view), with modifiers.
  void Click(TGridId id, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ui::ShapeGrid* grid = Grid(id);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->CellRect(column).center());
    Settle();
  }

  void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(target, key, modifiers);
    Settle();
  }

  void Trigger(const std::string& action) {
    QAction* found = window->Action(action);
    if (found == nullptr) throw std::runtime_error("no action " + action);
    found->trigger();
    Settle();
  }

  QString Status(TDocumentKind kind, int panel) {
    return window->StatusPanels(kind).at(static_cast<std::size_t>(panel))->text();
  }

  TempDir files;
  TempDir config;
  ScriptedUserInterface scripted;
  std::unique_ptr<TMainWindowState> state;
  std::unique_ptr<ui::MainWindow> window;
};

}  // namespace quillmere::test
