#pragma once

#include <span>
#include <string_view>

namespace quillmere::ui {

// Every command the main window can run, named after its handler.
enum class TCommand {
  None,
  New1Click,
  Open1Click,
  SaveDestination1Click,
  SaveAs1Click,
  SaveSourceDestination1Click,
  ExportObject1Click,
  AnimatedGIF1Click,
  ReloadDestination1Click,
  EditAnimationScript1Click,
  Properties1Click,
  FlipHorizontally1Click,
  FlipVertically1Click,
  RemoveDuplicates1Click,
  ObjectNumberOffset1Click,
  Exit1Click,
  Import1Click,
  RefreshSource1Click,
  SaveSourceChanges1Click,
  ExportObject2Click,
  AnimatedGIF2Click,
  MenuItem1Click,
  EditAnimationScript3Click,
  FlipHorizontally2Click,
  FlipVertically2Click,
  ObjectNumberOffset2Click,
  DragandDrop1Click,
  tooltipsBalloonHelp1Click,
  CopyObjects1Click,
  MoveObjects1Click,
  SaveFBJInformation1Click,
  LargeHighlight1Click,
  MainHighlightColor1Click,
  SubFrameHighlightColor1Click,
  ResetColorstoDefault1Click,
  Contents1Click,
  Website1Click,
  Support1Click,
  About1Click,
  ShapeProperties3Click,
  ShapeProperties4Click,
  ExportSubframes,  // always disabled
  // The centre panel and the window's own keys.
  TrashClick,
  InsertForeClick,
  InsertAftClick,
  ReplaceitClick,
  MoveLeftClick,
  MoveRightClick,
  // The Edit menu.
  Undo1Click,
  Redo1Click,
};

enum class TRowKind {
  Item,   // runs its command
  Check,  // runs its command and shows a check mark
  Separator,
  Recent,  // the "Recent" submenu, filled from a recent-files list
};

// Where a row lives: the menu bar or one of the grids' pop-up menus.
enum class TMenuPlace { MenuBar, PopupMenu1, PopupMenu2, MSubFPopup, SSubFPopup };

// One menu row. `Path` names the menu and any submenus, joined by '/'
// ("&File/Export"); `Shortcut` is in QKeySequence's portable text form,
// several keys for one item separated by "; ".
struct TMenuRow {
  TMenuPlace Place;
  std::string_view Path;
  TRowKind Kind;
  std::string_view Caption;
  TCommand Command = TCommand::None;
  std::string_view Shortcut = {};
  std::string_view Name = {};  // the item's name, for tests and accessibility
};

// Every menu row of the window, in the order the menus show them.
std::span<const TMenuRow> MenuRows();

// The handler's name of a command ("Open1Click").
std::string_view CommandName(TCommand command);

// Commands whose dialog is not part of this build: their items are in place
// but disabled, so that nothing offers what it can't do.
bool AwaitsDialog(TCommand command);

}  // namespace quillmere::ui
