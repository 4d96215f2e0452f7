// The main window's menus, pop-up menus and window-wide keys, all made from
// the command table so that what the menus show is what the table says.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/shape_grid.h"

namespace quillmere::ui {
namespace {

std::string PopupName(TMenuPlace place) {
  switch (place) {
    case TMenuPlace::PopupMenu1:
      return "PopupMenu1";
    case TMenuPlace::PopupMenu2:
      return "PopupMenu2";
    case TMenuPlace::MSubFPopup:
      return "MSubFPopup";
    case TMenuPlace::SSubFPopup:
      return "SSubFPopup";
    case TMenuPlace::MenuBar:
      break;
  }
  return "MainMenu1";
}

}  // namespace

QAction* MainWindow::MakeAction(const TMenuRow& row, QWidget* owner) {
  auto* action = new QAction(ToQString(row.Caption), owner);
  if (!row.Shortcut.empty()) {
    action->setShortcuts(QKeySequence::listFromString(ToQString(row.Shortcut)));
    // Menu shortcuts work wherever the focus is in the window.
    action->setShortcutContext(Qt::WindowShortcut);
  }
  action->setCheckable(row.Kind == TRowKind::Check);
  action->setEnabled(!AwaitsDialog(row.Command));
  const std::string name = row.Place == TMenuPlace::MenuBar
                               ? std::string(row.Name)
                               : PopupName(row.Place) + ":" + std::string(row.Caption);
  action->setObjectName(ToQString(name));
  named_[name] = action;
  actions_.emplace(row.Command, action);
  const TCommand command = row.Command;
  connect(action, &QAction::triggered, this, [this, command] { Run(command); });
  return action;
}

void MainWindow::BuildMenus() {
  std::map<std::string, QMenu*> menus;
  // "&File/Export" is the "Export" submenu of "&File"; menus are made on
  // first use, so the table's order is the menus' order.
  const std::function<QMenu*(std::string_view)> menuAt = [&](std::string_view path) -> QMenu* {
    const std::string key(path);
    if (const auto found = menus.find(key); found != menus.end()) return found->second;
    const std::size_t slash = path.rfind('/');
    QMenu* menu = nullptr;
    if (slash == std::string_view::npos) {
      menu = menuBar()->addMenu(ToQString(path));
    } else {
      menu = menuAt(path.substr(0, slash))->addMenu(ToQString(path.substr(slash + 1)));
    }
    menu->setObjectName(ToQString(path));
    menus[key] = menu;
    return menu;
  };
  for (TMenuPlace place :
       {TMenuPlace::PopupMenu1, TMenuPlace::PopupMenu2, TMenuPlace::MSubFPopup, TMenuPlace::SSubFPopup}) {
    auto* popup = new QMenu(this);
    popup->setObjectName(ToQString(PopupName(place)));
    popups_[place] = popup;
  }

  for (const TMenuRow& row : MenuRows()) {
    QMenu* menu = row.Place == TMenuPlace::MenuBar ? menuAt(row.Path) : popups_.at(row.Place);
    switch (row.Kind) {
      case TRowKind::Separator:
        menu->addSeparator();
        break;
      case TRowKind::Recent: {
        QMenu* recent = menu->addMenu(ToQString(row.Caption));
        recent->setObjectName(ToQString(row.Name));
        // The submenu's one fixed item, hidden; the files follow it.
        QAction* empty = recent->addAction("Empty");
        empty->setVisible(false);
        (row.Name == "Recent1" ? destRecent_ : srcRecent_) = recent;
        break;
      }
      case TRowKind::Item:
      case TRowKind::Check:
        menu->addAction(MakeAction(row, menu));
        break;
    }
  }
  // The export of a frame grid is not offered by this program.
  Action("SSubFPopup:Export Subframes...")->setEnabled(false);

  // Copy and Move are one choice.
  auto* mode = new QActionGroup(this);
  mode->addAction(Action("CopyObjects1"));
  mode->addAction(Action("MoveObjects1"));

  const std::array<std::pair<TGridId, TMenuPlace>, 4> gridMenus{{
      {TGridId::DestGrid, TMenuPlace::PopupMenu1},
      {TGridId::SrcGrid, TMenuPlace::PopupMenu2},
      {TGridId::DestSubGrid, TMenuPlace::MSubFPopup},
      {TGridId::SrcSubGrid, TMenuPlace::SSubFPopup},
  }};
  for (const auto& [grid, place] : gridMenus) {
    QMenu* popup = popups_.at(place);
    connect(Grid(grid), &ShapeGrid::ContextMenuRequested, this, [popup](QPoint at) { popup->popup(at); });
  }

  // Alt+comma and Alt+period shift the destination selection, as the
  // buttons do while they are enabled.
  const std::array<std::pair<const char*, char>, 2> shifts{{{"Alt+,", ','}, {"Alt+.", '.'}}};
  for (const auto& [keys, key] : shifts) {
    auto* shortcut = new QShortcut(QKeySequence(keys), this);
    shortcut->setObjectName(key == ',' ? "MoveLeftActn" : "MoveRightActn");
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, key = key] {
      const TGridCommand command = WindowKeyDown(workspace_.Panes.Enabled, key, true);
      if (command.Action == TGridAction::ShiftLeft) Run(TCommand::MoveLeftClick);
      if (command.Action == TGridAction::ShiftRight) Run(TCommand::MoveRightClick);
    });
  }
}

void MainWindow::BuildRecentMenu(TDocumentKind kind) {
  QMenu* menu = RecentMenu(kind);
  if (menu == nullptr) return;
  const TMostRecentFiles& list = workspace_.RecentFiles(kind);
  const std::size_t slot = kind == TDocumentKind::Destination ? 0 : 1;
  if (shownRecent_[slot] == list.Files() && menu->actions().size() > 1) return;
  shownRecent_[slot] = list.Files();
  // Everything after the fixed "Empty" item was put there by the last build.
  const QList<QAction*> items = menu->actions();
  for (qsizetype i = items.size() - 1; i >= 1; --i) {
    menu->removeAction(items[i]);
    delete items[i];
  }
  const auto entries = list.MenuEntries();
  if (entries.empty()) return;
  menu->addSeparator();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    QAction* action = menu->addAction(ToQString(entries[i].Caption));
    action->setObjectName(QString("%1:%2").arg(menu->objectName()).arg(i + 1));
    action->setToolTip(ToQString(entries[i].FileName));
    connect(action, &QAction::triggered, this, [this, kind, i] { ChooseRecent(kind, i); });
  }
}

void MainWindow::ChooseRecent(TDocumentKind kind, std::size_t index) {
  Guard(
      [&] {
        const std::optional<std::string> fileName = workspace_.RecentFiles(kind).ChooseEntry(index, ui_);
        if (!fileName) return;
        if (kind == TDocumentKind::Destination) {
          workspace_.DestRecentClick(*fileName);
        } else {
          workspace_.SourceRecentClick(*fileName);
        }
      },
      true);
}

QAction* MainWindow::Action(const std::string& name) const {
  const auto found = named_.find(name);
  return found == named_.end() ? nullptr : found->second;
}

QMenu* MainWindow::Popup(TMenuPlace place) const {
  const auto found = popups_.find(place);
  return found == popups_.end() ? nullptr : found->second;
}

QMenu* MainWindow::RecentMenu(TDocumentKind kind) const {
  return kind == TDocumentKind::Destination ? destRecent_ : srcRecent_;
}

}  // namespace quillmere::ui
