#include "app/main_window_state.h"

#include "app/editing_commands.h"
#include "interface/platform_error.h"

namespace quillmere {

TMainWindowState::TMainWindowState(UserInterface& ui, const std::string& configFolder)
    : Workspace(ui), Settings(configFolder), ui_(ui) {}

template <typename TCommand>
void TMainWindowState::Guarded(TCommand command) {
  try {
    command();
  } catch (const PlatformError& error) {
    ShowGeneralError(ui_, error.what());
  }
}

// Each item names the step it would take.
TUndoItems TMainWindowState::UndoItems() const {
  TUndoItems items;
  if (const TUndoStep* step = Workspace.History().NextUndo(undoTarget_)) {
    items.Undo += " " + step->Name;
    items.UndoEnabled = true;
  }
  if (const TUndoStep* step = Workspace.History().NextRedo(undoTarget_)) {
    items.Redo += " " + step->Name;
    items.RedoEnabled = true;
  }
  return items;
}

void TMainWindowState::tooltipsBalloonHelp1Click() {
  Guarded([&] { Settings.ToggleTips(); });
}

void TMainWindowState::DragandDrop1Click() {
  Guarded([&] { Settings.ToggleDragDrop(); });
}

// Not kept between runs, so nothing is written.
void TMainWindowState::SaveFBJInformation1Click() {
  Workspace.SaveOptions.SaveFBJInformation = !Workspace.SaveOptions.SaveFBJInformation;
}

void TMainWindowState::LargeHighlight1Click() {
  Guarded([&] { Settings.ToggleLargeHighlight(); });
}

void TMainWindowState::CopyObjects1Click() {
  SetTransferMode(Workspace, false);
  Guarded([&] { Settings.SetCopyMode(true); });
}

void TMainWindowState::MoveObjects1Click() {
  SetTransferMode(Workspace, true);
  Guarded([&] { Settings.SetCopyMode(false); });
}

void TMainWindowState::SetMainHighlight(std::uint32_t colour) {
  Guarded([&] { Settings.SetMainHighlight(colour); });
}

void TMainWindowState::SetSubFrameHighlight(std::uint32_t colour) {
  Guarded([&] { Settings.SetSubFrameHighlight(colour); });
}

void TMainWindowState::ResetColorstoDefault1Click() {
  Guarded([&] { Settings.ResetColorsToDefault(ui_); });
}

// The settings object already holds the stored options, so each command's
// effect beyond its own check mark is what remains to apply; writing them
// back would only fail at start on a settings file that can't be written.
std::unique_ptr<TMainWindowState> StartUp(UserInterface& ui, const std::string& configFolder) {
  std::unique_ptr<TMainWindowState> state(new TMainWindowState(ui, configFolder));
  TWorkspace& workspace = state->Workspace;
  if (!state->Settings.CopyMode()) SetTransferMode(workspace, true);
  workspace.Panes.DestGridClick();
  // A new workspace already has no file names, lists of 8 and both panes on
  // their Main tab; the lists still need their sections.
  const std::pair<TMostRecentFiles&, std::string_view> lists[] = {
      {workspace.DestRecentFiles, kDestinationRecentSection}, {workspace.SourceRecentFiles, kSourceRecentSection}};
  for (const auto& [list, section] : lists) {
    list.SetIniSection(std::string(section));
    list.Load(state->Settings.Ini());
  }
  workspace.UpdateCaptions();
  return state;
}

void ShutDown(TMainWindowState& state) {
  try {
    state.Settings.Save();
    state.Workspace.DestRecentFiles.Save(state.Settings.Ini());
    state.Workspace.SourceRecentFiles.Save(state.Settings.Ini());
  } catch (const PlatformError& error) {
    ShowGeneralError(state.ui_, error.what());
  }
}

}  // namespace quillmere
