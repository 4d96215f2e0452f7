#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/drag_drop.h"
#include "app/settings.h"
#include "app/workspace.h"
#include "editing/remove_duplicates.h"
#include "interface/user_interface.h"

namespace quillmere {

// The recent-file lists' sections in the settings file.
inline constexpr std::string_view kDestinationRecentSection = "MRU - Destination";
inline constexpr std::string_view kSourceRecentSection = "MRU - Source";

// The "&Edit" menu's two items as they show now.
struct TUndoItems {
  std::string Undo = "&Undo";  // "&Undo Insert After"
  bool UndoEnabled = false;
  std::string Redo = "&Redo";  // "&Redo Flip Horizontally"
  bool RedoEnabled = false;
  bool operator==(const TUndoItems&) const = default;
};

// Everything the main window holds for one run that needs no pixels: the two
// documents with their grids and recent lists, and the options. The window
// makes it with StartUp, binds its widgets to it, runs the option commands
// below from its menus and ends it with ShutDown.
class TMainWindowState {
 public:
  TMainWindowState(const TMainWindowState&) = delete;
  TMainWindowState& operator=(const TMainWindowState&) = delete;

  TWorkspace Workspace;
  TSettings Settings;
  // The options of "Remove Duplicates...": all off at start, kept for the run
  // and never written to the settings file.
  TDedupeOptions DedupeOptions;

  // The option commands. Each takes effect and is written to the settings file
  // at once; a write that fails is shown by the general error handler and the
  // option keeps its new value for this run.
  void tooltipsBalloonHelp1Click();
  void DragandDrop1Click();
  void SaveFBJInformation1Click();
  void LargeHighlight1Click();
  void CopyObjects1Click();
  void MoveObjects1Click();
  // What the colour picker returned on OK (red in the low byte).
  void SetMainHighlight(std::uint32_t colour);
  void SetSubFrameHighlight(std::uint32_t colour);
  void ResetColorstoDefault1Click();

  // A grid took the keyboard focus: undo and redo act on its document until
  // another document's grid takes it. Before any has, the destination's.
  void GridFocused(TGridId grid) {
    undoTarget_ = IsDestinationGrid(grid) ? TDocumentKind::Destination : TDocumentKind::Source;
  }
  TDocumentKind UndoTarget() const { return undoTarget_; }
  // Return the documents they changed.
  std::vector<TDocumentKind> Undo1Click() { return Workspace.Undo(undoTarget_); }
  std::vector<TDocumentKind> Redo1Click() { return Workspace.Redo(undoTarget_); }
  TUndoItems UndoItems() const;

  // The check marks the menus show.
  bool MoveMode() const { return Workspace.Panes.MoveMode; }
  bool SaveFBJInformation() const { return Workspace.SaveOptions.SaveFBJInformation; }

 private:
  friend std::unique_ptr<TMainWindowState> StartUp(UserInterface& ui, const std::string& configFolder);
  friend void ShutDown(TMainWindowState& state);
  TMainWindowState(UserInterface& ui, const std::string& configFolder);

  template <typename TCommand>
  void Guarded(TCommand command);

  UserInterface& ui_;
  TDocumentKind undoTarget_ = TDocumentKind::Destination;
};

// The start of a run, in this order: both documents empty; the settings
// folder made and the settings file read from `configFolder`
// (Tarnwick/Quillmere/quillmere.ini); the stored options applied as their
// commands apply them (a stored Move mode runs the tab rules again); the
// highlight colours; the destination grid's click handler once; both file
// names "None"; the destination's and then the source's recent list, 8 files
// each, read from their sections; both panes on their Main tab; the captions.
// Nothing is written to the settings file.
std::unique_ptr<TMainWindowState> StartUp(UserInterface& ui, const std::string& configFolder = DefaultConfigFolder());

// The end of a run, once the close query allowed it: the options in the order
// "Tips", "DragDrop", "Copymode", "Highlighter", "MBC", "SBC", then the
// destination's and the source's recent lists. The first write that fails is
// shown by the general error handler ("Unable to write to ..."), and nothing
// after it is written.
void ShutDown(TMainWindowState& state);

}  // namespace quillmere
