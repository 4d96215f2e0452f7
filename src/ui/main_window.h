#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/centre_panel_layout.h"
#include "app/drag_drop.h"
#include "app/main_window_state.h"
#include "ui/cell_painter.h"
#include "ui/command_table.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMimeData;
class QAbstractButton;
class QTabWidget;
class QUrl;

namespace quillmere::ui {

class CentrePanel;
class HelpWindow;
class ShapeGrid;

// Quillmere's main window: the two panes with their grids and status bars,
// the centre panel and the menus. It renders what the core's state holds and
// turns each event into the core call that handles it; after every call it
// copies the core's captions, enabled states and check marks into the
// widgets.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(TMainWindowState& state, UserInterface& ui, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs a command as its menu item, button or key does. A failure inside it
  // ends the command through the general error handler; the window stays.
  void Run(TCommand command);

  // Files named on the command line: the first opened as the destination,
  // the second imported as the source, through the recent-file flows.
  void OpenFiles(const std::vector<std::string>& files);

  // The colour picker; tests answer it. Returns the chosen colour value (red
  // in the low byte) or nothing when cancelled.
  using ColourChooser =
      std::function<std::optional<std::uint32_t>(std::uint32_t current, const QString& title)>;
  void SetColourChooser(ColourChooser chooser) { chooseColour_ = std::move(chooser); }

  // Where "Website..." and "Support..." send their address; tests answer it
  // so that no browser starts. The default hands it to the desktop.
  using AddressOpener = std::function<void(const QUrl&)>;
  void SetAddressOpener(AddressOpener opener) { openAddress_ = std::move(opener); }

  // The manual's window, made on first use; stays open beside the editor.
  HelpWindow* Help() const { return help_; }
  void ShowHelp(const QString& page);

  // For tests and accessibility tools: the widgets by their design names.
  ShapeGrid* Grid(TGridId grid) const { return grids_[static_cast<std::size_t>(grid)]; }
  QAbstractButton* PanelButton(TPanelButton button) const;
  CentrePanel* Panel() const { return panel_; }
  QTabWidget* Pages(TDocumentKind kind) const {
    return kind == TDocumentKind::Destination ? destPages_ : srcPages_;
  }
  QGroupBox* Group(TDocumentKind kind) const {
    return kind == TDocumentKind::Destination ? destGroup_ : srcGroup_;
  }
  // The status panels of a pane: Main tab's three, then SubFrames' two.
  std::vector<QLabel*> StatusPanels(TDocumentKind kind) const;
  // Every action made for a menu row, by the row's name ("Open1") or, for
  // pop-up rows, "<place>:<caption>".
  QAction* Action(const std::string& name) const;
  QMenu* Popup(TMenuPlace place) const;
  // What a drag of a grid's cells carries: the grid, and this window's mark,
  // so that cells dragged from another running Quillmere (whose selection
  // this window can't read) are refused.
  std::unique_ptr<QMimeData> CellDragData(TGridId grid) const;
  QMenu* RecentMenu(TDocumentKind kind) const;
  const CellCache& Cache() const { return painter_.Cache(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildWidgets();
  void BuildPaletteConverter(QWidget* central);
  void BuildMenus();
  QAction* MakeAction(const TMenuRow& row, QWidget* owner);
  void BuildRecentMenu(TDocumentKind kind);

  // After every core call: captions, status texts, enabled states, check
  // marks, the Recent menus and the grids.
  void Refresh();
  // The enabled states only; the grids' paints change them too.
  void SyncStates();
  void ScheduleSync();

  void GridClicked(TGridId grid);
  void PageChanged(TDocumentKind kind, int index);
  void GridKeyPressed(TGridId grid, TGridKeyCode key);
  QByteArray DragMark() const;
  void StartCellDrag(TGridId grid);
  bool AcceptsDrop(TGridId grid, const QMimeData& mime) const;
  void Dropped(TGridId grid, const QMimeData& mime, QPoint point);
  void RunCommand(TCommand command);
  void RunTransfer(TCommand command);
  void Travel(bool undo);
  void OpenAddress(const QUrl& address);
  // Runs `body` as one command: a busy cursor while it reads or writes, a
  // failure shown by the general error handler, then the refresh.
  void Guard(const std::function<void()>& body, bool busy);
  void DocumentChanged(const TDocumentChange& change);
  void ChooseRecent(TDocumentKind kind, std::size_t index);
  void ChooseHighlight(bool main);

  TMainWindowState& state_;
  TWorkspace& workspace_;
  UserInterface& ui_;
  ColourChooser chooseColour_;
  AddressOpener openAddress_;
  HelpWindow* help_ = nullptr;

  std::array<ShapeGrid*, 4> grids_{};
  QTabWidget* destPages_ = nullptr;
  QTabWidget* srcPages_ = nullptr;
  QGroupBox* destGroup_ = nullptr;
  QGroupBox* srcGroup_ = nullptr;
  std::array<QLabel*, 5> destStatus_{};
  std::array<QLabel*, 5> srcStatus_{};
  CentrePanel* panel_ = nullptr;
  std::map<std::string, QAction*> named_;
  std::multimap<TCommand, QAction*> actions_;
  std::map<TMenuPlace, QMenu*> popups_;
  QMenu* destRecent_ = nullptr;
  QMenu* srcRecent_ = nullptr;
  std::array<std::vector<std::string>, 2> shownRecent_;

  CellPainter painter_;
  bool syncPending_ = false;
  bool closing_ = false;
};

}  // namespace quillmere::ui
