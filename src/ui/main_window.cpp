#include "ui/main_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDrag>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

#include "app/editing_commands.h"
#include "app/transfer_commands.h"
#include "export/export_flows.h"
#include "export/palette_text.h"
#include "ui/centre_panel.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/gif_export_dialog.h"
#include "ui/dialogs/object_offset_dialog.h"
#include "ui/dialogs/property_editor_dialog.h"
#include "ui/dialogs/remove_duplicates_dialog.h"
#include "ui/dialogs/script_editor_dialog.h"
#include "ui/help/help_links.h"
#include "ui/help/help_window.h"
#include "ui/qt_text.h"
#include "ui/shape_grid.h"

namespace quillmere::ui {
namespace {

// Cells dragged from a source grid carry the grid's number.
constexpr char kCellsMime[] = "application/x-quillmere-cells";

constexpr int kGroupDestHeight = 205;
constexpr int kStatusHeight = 19;
constexpr int kClientWidth = 620;
constexpr int kClientHeight = 440;
constexpr QPoint kDesignPlace(41, 86);

// A busy cursor for a command that reads or writes files; the person's own
// dialogs on the way show the normal one (QtUserInterface pushes it).
class BusyCursor {
 public:
  explicit BusyCursor(bool busy) : busy_(busy) {
    if (busy_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~BusyCursor() {
    if (busy_) QGuiApplication::restoreOverrideCursor();
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  bool busy_;
};

bool ReadsOrWrites(TCommand command) {
  switch (command) {
    case TCommand::Open1Click:
    case TCommand::Import1Click:
    case TCommand::SaveDestination1Click:
    case TCommand::SaveAs1Click:
    case TCommand::SaveSourceDestination1Click:
    case TCommand::SaveSourceChanges1Click:
    case TCommand::ReloadDestination1Click:
    case TCommand::RefreshSource1Click:
    case TCommand::ExportObject1Click:
    case TCommand::ExportObject2Click:
      return true;
    default:
      return false;
  }
}

QColor ToQColor(std::uint32_t value) {
  const TRGB rgb = ColourValueToRGB(value);
  return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

}  // namespace

MainWindow::MainWindow(TMainWindowState& state, UserInterface& ui, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      workspace_(state.Workspace),
      ui_(ui),
      painter_(workspace_.Panes, state.Settings, ui) {
  setObjectName("MainWindow");
  setWindowTitle("Quillmere");
  // A system menu, a minimise box and no maximise box: the height is fixed.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  chooseColour_ = [this](std::uint32_t current, const QString& title) -> std::optional<std::uint32_t> {
    const QColor colour = QColorDialog::getColor(ToQColor(current), this, title);
    if (!colour.isValid()) return std::nullopt;
    return RGBToColourValue(TRGB{static_cast<std::uint8_t>(colour.red()),
                                 static_cast<std::uint8_t>(colour.green()),
                                 static_cast<std::uint8_t>(colour.blue())});
  };
  BuildWidgets();
  BuildMenus();
  workspace_.SetObserver([this](const TDocumentChange& change) { DocumentChanged(change); });
  Refresh();
  // The window opens at its design place and size; it may grow wider, never
  // narrower, taller or shorter.
  adjustSize();
  resize(kClientWidth, height());
  move(kDesignPlace);
  setMinimumSize(width(), height());
  setMaximumHeight(height());
}

MainWindow::~MainWindow() { workspace_.SetObserver(nullptr); }

void MainWindow::BuildWidgets() {
  auto* central = new QWidget(this);
  central->setObjectName("ClientArea");
  auto* blocks = new QVBoxLayout(central);
  blocks->setContentsMargins(0, 0, 0, 0);
  blocks->setSpacing(0);

  const auto buildPane = [&](TDocumentKind kind) {
    const bool dest = kind == TDocumentKind::Destination;
    auto* group = new QGroupBox(dest ? "Destination" : "Source", central);
    group->setObjectName(dest ? "GroupBox1" : "GroupBox2");
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(4, 2, 4, 4);
    auto* pages = new QTabWidget(group);
    pages->setObjectName(dest ? "DestPages" : "SrcPages");
    pages->setDocumentMode(true);
    groupLayout->addWidget(pages);
    std::array<QLabel*, 5>& status = dest ? destStatus_ : srcStatus_;
    const std::array<TGridId, 2> ids = dest ? std::array{TGridId::DestGrid, TGridId::DestSubGrid}
                                            : std::array{TGridId::SrcGrid, TGridId::SrcSubGrid};
    const char* what = dest ? "Destination" : "Source";
    for (int tab = 0; tab < 2; ++tab) {
      auto* page = new QWidget(pages);
      auto* pageLayout = new QVBoxLayout(page);
      pageLayout->setContentsMargins(0, 0, 0, 0);
      pageLayout->setSpacing(2);
      auto* grid = new ShapeGrid(page);
      const TGridId id = ids[static_cast<std::size_t>(tab)];
      grid->setObjectName(tab == 0 ? (dest ? "DestGrid" : "SrcGrid") : (dest ? "DestSubGrid" : "SrcSubGrid"));
      grid->setAccessibleName(QString("%1 %2").arg(what, tab == 0 ? "shapes" : "frames"));
      grid->setAccessibleDescription(tab == 0 ? "One cell per shape. Click, Shift+click or drag to select; "
                                                "arrow keys move the selection."
                                              : "The frames of the shape focused on the Main tab.");
      grids_[static_cast<std::size_t>(id)] = grid;
      pageLayout->addWidget(grid);
      auto* bar = new QStatusBar(page);
      bar->setSizeGripEnabled(false);
      bar->setFixedHeight(kStatusHeight);
      const std::array<int, 3> widths = tab == 0 ? std::array{200, 200, 0} : std::array{200, 0, 0};
      const int panels = tab == 0 ? 3 : 2;
      for (int i = 0; i < panels; ++i) {
        auto* label = new QLabel(bar);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        if (widths[static_cast<std::size_t>(i)] > 0)
          label->setFixedWidth(widths[static_cast<std::size_t>(i)]);
        bar->addWidget(label, i == panels - 1 ? 1 : 0);
        status[static_cast<std::size_t>(tab == 0 ? i : 3 + i)] = label;
      }
      pageLayout->addWidget(bar);
      pageLayout->addStretch(1);
      pages->addTab(page, tab == 0 ? "Main" : "SubFrames");
    }
    connect(pages, &QTabWidget::currentChanged, this, [this, kind](int index) { PageChanged(kind, index); });
    // The source pane takes what the destination and the centre panel leave.
    if (dest) group->setFixedHeight(kGroupDestHeight);
    (dest ? destGroup_ : srcGroup_) = group;
    (dest ? destPages_ : srcPages_) = pages;
    blocks->addWidget(group);
  };

  buildPane(TDocumentKind::Destination);
  panel_ = new CentrePanel(central);
  blocks->addWidget(panel_);
  buildPane(TDocumentKind::Source);
  central->setFixedHeight(kClientHeight);
  central->setMinimumWidth(kClientWidth);
  setCentralWidget(central);
  BuildPaletteConverter(central);

  const std::array<std::pair<TPanelButton, TCommand>, 6> buttons{{
      {TPanelButton::Trash, TCommand::TrashClick},
      {TPanelButton::InsertFore, TCommand::InsertForeClick},
      {TPanelButton::InsertAft, TCommand::InsertAftClick},
      {TPanelButton::Replaceit, TCommand::ReplaceitClick},
      {TPanelButton::MoveLeft, TCommand::MoveLeftClick},
      {TPanelButton::MoveRight, TCommand::MoveRightClick},
  }};
  for (const auto& [button, command] : buttons) {
    connect(PanelButton(button), &QAbstractButton::clicked, this,
            [this, command = command] { Run(command); });
  }

  TPaneState& panes = workspace_.Panes;
  const std::array<TGridSelection*, 4> selections{&panes.Dest.Grid, &panes.Dest.SubGrid, &panes.Src.Grid,
                                                  &panes.Src.SubGrid};
  for (std::size_t i = 0; i < grids_.size(); ++i) {
    const auto id = static_cast<TGridId>(i);
    ShapeGrid* grid = grids_[i];
    grid->SetSelection(selections[i]);
    grid->SetCellSource([this, id, grid](int first, int last) {
      std::vector<QImage> cells = painter_.Cells(id, first, last, grid->hasFocus());
      // The paint handlers changed enabled states; the buttons follow once
      // the paint is over.
      ScheduleSync();
      return cells;
    });
    connect(grid, &ShapeGrid::Clicked, this, [this, id] { GridClicked(id); });
    connect(grid, &ShapeGrid::GridKey, this, [this, id](TGridKeyCode key) { GridKeyPressed(id, key); });
    connect(grid, &ShapeGrid::FocusEntered, this, [this, id] {
      state_.GridFocused(id);
      SyncStates();
    });
    if (!IsDestinationGrid(id)) {
      grid->SetDragGate([this](int column) {
        return CanStartDrag(true, state_.Settings.DragDrop(), workspace_.Panes.Enabled, column);
      });
      connect(grid, &ShapeGrid::DragRequested, this, [this, id] { StartCellDrag(id); });
    }
    // Shape files from a file manager land on the main grids; cells dragged
    // from the source land on either destination grid.
    if (!IsFrameGrid(id) || IsDestinationGrid(id)) {
      grid->SetDropHandlers([this, id](const QMimeData& mime) { return AcceptsDrop(id, mime); },
                            [this, id](const QMimeData& mime, QPoint point) { Dropped(id, mime, point); });
    }
  }
}

// A developer's tool that nothing shows: it turns the text palette named in
// the field into "furc.pal", the game palette's layout, in the current folder.
void MainWindow::BuildPaletteConverter(QWidget* central) {
  auto* convert = new QPushButton("PalConvertor", central);
  convert->setObjectName("Button2");
  convert->setGeometry(356, 258, 123, 25);
  convert->hide();
  auto* source = new QLineEdit("furcadia2.pal.txt", central);
  source->setObjectName("Edit2");
  source->setGeometry(356, 284, 123, 21);
  source->hide();
  connect(convert, &QPushButton::clicked, this, [this, source] {
    const std::string in = source->text().toStdString();
    Guard([&] { ConvertTextPalette(in, "furc.pal", ui_); }, true);
  });
}

QAbstractButton* MainWindow::PanelButton(TPanelButton button) const { return panel_->Button(button); }

std::vector<QLabel*> MainWindow::StatusPanels(TDocumentKind kind) const {
  const auto& labels = kind == TDocumentKind::Destination ? destStatus_ : srcStatus_;
  return {labels.begin(), labels.end()};
}

void MainWindow::Guard(const std::function<void()>& body, bool busy) {
  {
    const BusyCursor cursor(busy);
    try {
      body();
    } catch (const std::exception& error) {
      ShowGeneralError(ui_, error.what());
    } catch (...) {
      ShowGeneralError(ui_, "An unexpected error ended the command.");
    }
  }
  Refresh();
}

void MainWindow::Run(TCommand command) {
  if (command == TCommand::Exit1Click) {
    close();
    return;
  }
  Guard([&] { RunCommand(command); }, ReadsOrWrites(command));
}

void MainWindow::RunCommand(TCommand command) {
  TPaneState& panes = workspace_.Panes;
  switch (command) {
    case TCommand::New1Click:
      workspace_.New1Click();
      break;
    case TCommand::Open1Click:
      workspace_.Open1Click();
      break;
    case TCommand::SaveDestination1Click:
      workspace_.SaveDestination1Click();
      break;
    case TCommand::SaveAs1Click:
      workspace_.SaveAs1Click();
      break;
    case TCommand::SaveSourceDestination1Click:
      workspace_.SaveSourceDestination1Click();
      break;
    case TCommand::ExportObject1Click:
      if (panes.Enabled.ExportDestObject) {
        RunBitmapExport(workspace_.Destination.Shapes, panes.Dest.Grid.Left(), panes.Dest.Grid.Right(), ui_);
      }
      break;
    case TCommand::ExportObject2Click:
      if (panes.Enabled.ExportSrcObject) {
        RunBitmapExport(workspace_.Source.Shapes, panes.Src.Grid.Left(), panes.Src.Grid.Right(), ui_);
      }
      break;
    case TCommand::AnimatedGIF1Click:
      if (panes.Enabled.DestAnimatedGif) {
        RunGifExport(this, workspace_.Destination.Shapes, panes.Dest.Grid.Left(), panes.Dest.Grid.Right(),
                     ui_);
      }
      break;
    case TCommand::AnimatedGIF2Click:
      if (panes.Enabled.SrcAnimatedGif) {
        RunGifExport(this, workspace_.Source.Shapes, panes.Src.Grid.Left(), panes.Src.Grid.Right(), ui_);
      }
      break;
    case TCommand::About1Click: {
      AboutDialog about(this);
      about.exec();
      break;
    }
    case TCommand::ReloadDestination1Click:
      workspace_.ReloadDestination1Click();
      break;
    case TCommand::Import1Click:
      workspace_.Import1Click();
      break;
    case TCommand::RefreshSource1Click:
      workspace_.RefreshSource1Click();
      break;
    case TCommand::SaveSourceChanges1Click:
      workspace_.SaveSourceChanges1Click();
      break;
    case TCommand::FlipHorizontally1Click:
    case TCommand::FlipVertically1Click:
      FlipCommand(workspace_, TDocumentKind::Destination, command == TCommand::FlipHorizontally1Click, ui_);
      break;
    case TCommand::FlipHorizontally2Click:
    case TCommand::FlipVertically2Click:
      FlipCommand(workspace_, TDocumentKind::Source, command == TCommand::FlipHorizontally2Click, ui_);
      break;
    case TCommand::EditAnimationScript1Click:
    case TCommand::EditAnimationScript3Click:
      ScriptEditorDialog::Run(
          workspace_,
          command == TCommand::EditAnimationScript1Click ? TDocumentKind::Destination : TDocumentKind::Source,
          ui_, state_.Settings.Tips(), this);
      break;
    case TCommand::Properties1Click:
    case TCommand::ShapeProperties3Click:
      EditProperties(workspace_, TDocumentKind::Destination, command == TCommand::ShapeProperties3Click,
                     state_.Settings.Tips(), ui_, this);
      break;
    case TCommand::MenuItem1Click:
    case TCommand::ShapeProperties4Click:
      EditProperties(workspace_, TDocumentKind::Source, command == TCommand::ShapeProperties4Click,
                     state_.Settings.Tips(), ui_, this);
      break;
    case TCommand::ObjectNumberOffset1Click:
      EditObjectOffset(workspace_.Destination, this);
      workspace_.UpdateCaptions();
      break;
    case TCommand::ObjectNumberOffset2Click:
      EditObjectOffset(workspace_.Source, this);
      workspace_.UpdateCaptions();
      break;
    case TCommand::RemoveDuplicates1Click:
      RemoveDuplicatesCommand(workspace_, state_.DedupeOptions, ui_,
                              [this](TDedupeDialogState& dialog) { return AskDedupeOptions(dialog, this); });
      break;
    case TCommand::DragandDrop1Click:
      state_.DragandDrop1Click();
      break;
    case TCommand::tooltipsBalloonHelp1Click:
      state_.tooltipsBalloonHelp1Click();
      break;
    case TCommand::CopyObjects1Click:
      state_.CopyObjects1Click();
      break;
    case TCommand::MoveObjects1Click:
      state_.MoveObjects1Click();
      break;
    case TCommand::SaveFBJInformation1Click:
      state_.SaveFBJInformation1Click();
      break;
    case TCommand::LargeHighlight1Click:
      state_.LargeHighlight1Click();
      break;
    case TCommand::MainHighlightColor1Click:
      ChooseHighlight(true);
      break;
    case TCommand::SubFrameHighlightColor1Click:
      ChooseHighlight(false);
      break;
    case TCommand::ResetColorstoDefault1Click:
      state_.ResetColorstoDefault1Click();
      break;
    case TCommand::TrashClick:
    case TCommand::InsertForeClick:
    case TCommand::InsertAftClick:
    case TCommand::ReplaceitClick:
    case TCommand::MoveLeftClick:
    case TCommand::MoveRightClick:
      RunTransfer(command);
      break;
    case TCommand::Undo1Click:
    case TCommand::Redo1Click:
      Travel(command == TCommand::Undo1Click);
      break;
    case TCommand::Contents1Click:
      ShowHelp(kManualStart);
      break;
    case TCommand::Website1Click:
      OpenAddress(WebsiteAddress());
      break;
    case TCommand::Support1Click:
      OpenAddress(SupportAddress());
      break;
    default:
      // The commands whose dialogs are not part of this build are disabled.
      break;
  }
}

void MainWindow::ShowHelp(const QString& page) {
  if (help_ == nullptr) help_ = new HelpWindow(this);
  help_->ShowPage(page);
}

void MainWindow::OpenAddress(const QUrl& address) {
  if (openAddress_) {
    openAddress_(address);
    return;
  }
  // Without a browser nothing visible happens, as with any desktop link.
  OpenHelpAddress(
      address, [](const QUrl& url) { QDesktopServices::openUrl(url); },
      [this](const QString& page) { ShowHelp(page); });
}

void MainWindow::RunTransfer(TCommand command) {
  static const std::map<TCommand, TTransferCommand> kTransfers{
      {TCommand::TrashClick, TTransferCommand::Delete},
      {TCommand::InsertForeClick, TTransferCommand::InsertBefore},
      {TCommand::InsertAftClick, TTransferCommand::InsertAfter},
      {TCommand::ReplaceitClick, TTransferCommand::Replace},
      {TCommand::MoveLeftClick, TTransferCommand::ShiftLeft},
      {TCommand::MoveRightClick, TTransferCommand::ShiftRight},
  };
  const TTransferCommand transfer = kTransfers.at(command);
  if (!RunTransferCommand(workspace_, transfer)) return;
  // The view follows what the transfer selected; a shift moves it one column
  // its way so the shifted cells stay where the eye left them.
  const TPaneState& panes = workspace_.Panes;
  ShapeGrid* dest = Grid(VisibleGrid(panes.Dest, true));
  const int count = dest->Selection().Count();
  if (transfer == TTransferCommand::ShiftLeft || transfer == TTransferCommand::ShiftRight) {
    dest->View().FollowShift(transfer == TTransferCommand::ShiftRight, dest->Selection().Focus(), count);
    dest->ApplyView();
  } else {
    dest->ShowFocus();
  }
  for (ShapeGrid* grid : grids_) grid->Refresh();
}

// The grids of the documents the step changed show the selection it put back.
void MainWindow::Travel(bool undo) {
  for (TDocumentKind kind : undo ? state_.Undo1Click() : state_.Redo1Click()) {
    const bool dest = kind == TDocumentKind::Destination;
    Grid(VisibleGrid(dest ? workspace_.Panes.Dest : workspace_.Panes.Src, dest))->ShowFocus();
  }
  for (ShapeGrid* grid : grids_) grid->Refresh();
}

void MainWindow::OpenFiles(const std::vector<std::string>& files) {
  Guard(
      [&] {
        if (!files.empty()) workspace_.DestRecentClick(files[0]);
        if (files.size() > 1) workspace_.SourceRecentClick(files[1]);
      },
      true);
}

void MainWindow::ChooseHighlight(bool main) {
  const std::uint32_t current = main ? state_.Settings.MainHighlight() : state_.Settings.SubFrameHighlight();
  const std::optional<std::uint32_t> chosen =
      chooseColour_(current, main ? "Main Highlight Color" : "SubFrame Highlight Color");
  if (!chosen) return;
  if (main) {
    state_.SetMainHighlight(*chosen);
  } else {
    state_.SetSubFrameHighlight(*chosen);
  }
}

void MainWindow::DocumentChanged(const TDocumentChange& change) {
  const int document = change.Document == TDocumentKind::Destination ? 0 : 1;
  painter_.DocumentChanged(document);
  if (change.Kind == TChangeKind::Replaced) {
    // A new list is shown from its first column.
    const bool dest = change.Document == TDocumentKind::Destination;
    for (TGridId id : dest ? std::array{TGridId::DestGrid, TGridId::DestSubGrid}
                           : std::array{TGridId::SrcGrid, TGridId::SrcSubGrid}) {
      Grid(id)->View().Reset();
    }
  }
}

void MainWindow::GridClicked(TGridId grid) {
  TPaneState& panes = workspace_.Panes;
  switch (grid) {
    case TGridId::DestGrid:
      panes.DestGridClick();
      Grid(TGridId::DestSubGrid)->ShowFocus();
      break;
    case TGridId::DestSubGrid:
      panes.DestSubGridClick();
      break;
    case TGridId::SrcGrid:
      panes.SrcGridClick();
      Grid(TGridId::SrcSubGrid)->ShowFocus();
      break;
    case TGridId::SrcSubGrid:
      panes.SrcSubGridClick();
      break;
  }
  Refresh();
}

void MainWindow::PageChanged(TDocumentKind kind, int index) {
  const TPaneTab tab = index == 1 ? TPaneTab::SubFrames : TPaneTab::Main;
  if (kind == TDocumentKind::Destination) {
    workspace_.Panes.DestPagesChange(tab);
  } else {
    workspace_.Panes.SrcPagesChange(tab);
  }
  Refresh();
}

void MainWindow::GridKeyPressed(TGridId grid, TGridKeyCode key) {
  const TGridCommand command = GridKeyDown(workspace_.Panes, grid, key);
  switch (command.Action) {
    case TGridAction::FocusGrid:
      Grid(command.Grid)->setFocus(Qt::OtherFocusReason);
      break;
    case TGridAction::Delete:
      Run(TCommand::TrashClick);
      break;
    case TGridAction::ReloadDestination:
      Run(TCommand::ReloadDestination1Click);
      break;
    case TGridAction::ReloadSource:
      Run(TCommand::RefreshSource1Click);
      break;
    default:
      break;
  }
}

std::unique_ptr<QMimeData> MainWindow::CellDragData(TGridId grid) const {
  auto mime = std::make_unique<QMimeData>();
  mime->setData(kCellsMime, DragMark() + ' ' + QByteArray::number(static_cast<int>(grid)));
  return mime;
}

QByteArray MainWindow::DragMark() const {
  return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
         QByteArray::number(reinterpret_cast<quintptr>(this), 16);
}

void MainWindow::StartCellDrag(TGridId grid) {
  auto* drag = new QDrag(Grid(grid));
  drag->setMimeData(CellDragData(grid).release());
  drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool MainWindow::AcceptsDrop(TGridId grid, const QMimeData& mime) const {
  if (mime.hasFormat(kCellsMime)) {
    const QList<QByteArray> parts = mime.data(kCellsMime).split(' ');
    if (parts.size() != 2 || parts[0] != DragMark()) return false;
    bool number = false;
    const int source = parts[1].toInt(&number);
    if (!number || source < 0 || source > static_cast<int>(TGridId::SrcSubGrid)) return false;
    return AcceptsDrag(grid, static_cast<TGridId>(source));
  }
  return !IsFrameGrid(grid) && mime.hasUrls() && !mime.urls().isEmpty() &&
         mime.urls().constFirst().isLocalFile();
}

void MainWindow::Dropped(TGridId grid, const QMimeData& mime, QPoint point) {
  if (mime.hasFormat(kCellsMime)) {
    if (!AcceptsDrop(grid, mime)) return;
    ShapeGrid* target = Grid(grid);
    const std::optional<int> column = target->ColumnAt(point);
    const int cellRight = column ? target->CellRect(*column).right() + 1 : 0;
    const TGridCommand command = EndDrag(workspace_.Panes, grid, column, point.x(), cellRight, ui_);
    if (command.Action == TGridAction::InsertBefore) {
      Run(TCommand::InsertForeClick);
    } else if (command.Action == TGridAction::InsertAfter) {
      Run(TCommand::InsertAftClick);
    } else {
      Refresh();
    }
    return;
  }
  if (!mime.hasUrls() || mime.urls().isEmpty()) return;
  const std::string fileName = mime.urls().constFirst().toLocalFile().toStdString();
  const TDropTarget target = grid == TGridId::DestGrid  ? TDropTarget::Destination
                             : grid == TGridId::SrcGrid ? TDropTarget::Source
                                                        : TDropTarget::Other;
  // A file manager waits for the drop to return; the load runs after it.
  QMetaObject::invokeMethod(
      this, [this, fileName, target] { Guard([&] { workspace_.FilesDropped(fileName, target); }, true); },
      Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!workspace_.FormCloseQuery()) {
    event->ignore();
    Refresh();
    return;
  }
  closing_ = true;
  event->accept();
}

void MainWindow::ScheduleSync() {
  if (syncPending_) return;
  syncPending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        syncPending_ = false;
        SyncStates();
      },
      Qt::QueuedConnection);
}

void MainWindow::Refresh() {
  const TCaptions& captions = workspace_.Captions();
  const TPaneState& panes = workspace_.Panes;
  const auto fill = [&](TDocumentKind kind, const TPaneCaptions& text, const TPane& pane) {
    const bool dest = kind == TDocumentKind::Destination;
    Group(kind)->setTitle(ToQString(text.Group));
    const auto& labels = dest ? destStatus_ : srcStatus_;
    labels[0]->setText(ToQString(text.Shapes));
    labels[1]->setText(ToQString(pane.ShapeStatus));
    labels[2]->setText(ToQString(text.FileName));
    labels[3]->setText(ToQString(pane.FramesStatus));
    labels[4]->setText(ToQString(pane.FrameStatus));
    QTabWidget* pages = Pages(kind);
    const QSignalBlocker blocker(pages);
    pages->setCurrentIndex(pane.OnFrames() ? 1 : 0);
  };
  fill(TDocumentKind::Destination, captions.Dest, panes.Dest);
  fill(TDocumentKind::Source, captions.Src, panes.Src);

  if (QAction* both = Action("SaveSourceDestination1"))
    both->setVisible(captions.SaveSourceDestinationVisible);
  const auto check = [&](const char* name, bool on) {
    if (QAction* action = Action(name)) {
      const QSignalBlocker blocker(action);
      action->setChecked(on);
    }
  };
  check("DragandDrop1", state_.Settings.DragDrop());
  check("tooltipsBalloonHelp1", state_.Settings.Tips());
  check("CopyObjects1", !state_.MoveMode());
  check("MoveObjects1", state_.MoveMode());
  check("SaveFBJInformation1", state_.SaveFBJInformation());
  check("LargeHighlight1", state_.Settings.LargeHighlight());

  for (std::size_t i = 0; i < 6; ++i) {
    const auto which = static_cast<TPanelButton>(i);
    PanelButton(which)->setToolTip(state_.Settings.Tips() ? PanelHint(which) : QString());
  }
  BuildRecentMenu(TDocumentKind::Destination);
  BuildRecentMenu(TDocumentKind::Source);
  SyncStates();
  for (ShapeGrid* grid : grids_) {
    grid->SetFocusMarkShown(!state_.Settings.LargeHighlight());
    grid->Refresh();
  }
}

void MainWindow::SyncStates() {
  if (closing_) return;
  const TCommandStates& enabled = workspace_.Panes.Enabled;
  PanelButton(TPanelButton::Trash)->setEnabled(enabled.Trash);
  PanelButton(TPanelButton::InsertFore)->setEnabled(enabled.InsertFore);
  PanelButton(TPanelButton::InsertAft)->setEnabled(enabled.InsertAft);
  PanelButton(TPanelButton::Replaceit)->setEnabled(enabled.Replaceit);
  PanelButton(TPanelButton::MoveLeft)->setEnabled(enabled.MoveLeft);
  PanelButton(TPanelButton::MoveRight)->setEnabled(enabled.MoveRight);
  const auto set = [&](const char* name, bool on) {
    if (QAction* action = Action(name)) action->setEnabled(on);
  };
  set("ExportObject3", enabled.ExportDestObject);
  set("AnimatedGIF1", enabled.DestAnimatedGif && !AwaitsDialog(TCommand::AnimatedGIF1Click));
  set("ExportObject4", enabled.ExportSrcObject);
  set("AnimatedGIF2", enabled.SrcAnimatedGif && !AwaitsDialog(TCommand::AnimatedGIF2Click));
  set("SaveSourceChanges1", enabled.SaveSourceChanges);
  const TUndoItems undo = state_.UndoItems();
  for (const auto& [name, caption, on] : {std::tuple("Undo1", undo.Undo, undo.UndoEnabled),
                                          std::tuple("Redo1", undo.Redo, undo.RedoEnabled)}) {
    if (QAction* action = Action(name)) {
      action->setText(ToQString(caption));
      action->setEnabled(on);
    }
  }
}

}  // namespace quillmere::ui
