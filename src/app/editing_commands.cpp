#include "app/editing_commands.h"

#include <algorithm>
#include <string_view>

#include "editing/flip.h"

namespace quillmere {
namespace {

TPane& PaneOf(TWorkspace& workspace, TDocumentKind kind) {
  return kind == TDocumentKind::Destination ? workspace.Panes.Dest : workspace.Panes.Src;
}

// Runs `edit` through the change entry point; an edit that reports it changed
// nothing leaves the modified flag as it was.
bool ChangeIf(TWorkspace& workspace, TDocumentKind kind, std::string_view step,
              const std::function<bool(TDocument&)>& edit) {
  const TWorkspace::TStep scope = workspace.Step(step);
  const bool wasModified = workspace.Document(kind).Modified;
  bool changed = false;
  workspace.Change(kind, [&](TDocument& document) { changed = edit(document); });
  if (!changed) {
    workspace.Document(kind).Modified = wasModified;
    workspace.UpdateCaptions();
  }
  return changed;
}

// The shape at the main grid's Left, for a document that holds shapes.
std::size_t CurrentShapeIndex(TWorkspace& workspace, TDocumentKind kind) {
  const std::size_t count = workspace.Document(kind).Shapes.size();
  return std::min(static_cast<std::size_t>(PaneOf(workspace, kind).Grid.Left()), count - 1);
}

}  // namespace

void FlipCommand(TWorkspace& workspace, TDocumentKind pane, bool horizontally, UserInterface& ui) {
  const TPane& view = PaneOf(workspace, pane);
  ChangeIf(workspace, pane, horizontally ? "Flip Horizontally" : "Flip Vertically", [&](TDocument& document) {
    TShapeList& shapes = document.Shapes;
    if (shapes.empty()) return false;  // nothing to flip on an empty pane
    if (!view.OnFrames()) {
      for (int i = view.Grid.Right(); i >= view.Grid.Left(); --i) {
        if (static_cast<std::size_t>(i) >= shapes.size()) continue;
        if (horizontally) {
          FlipShapeHorizontally(shapes[static_cast<std::size_t>(i)], ui);
        } else {
          FlipShapeVertically(shapes[static_cast<std::size_t>(i)], ui);
        }
      }
      return true;
    }
    const auto current = static_cast<std::size_t>(view.Grid.Left());
    if (current >= shapes.size()) return false;
    std::vector<TPatchSubFrame>& frames = shapes[current].Frames;
    for (int i = view.SubGrid.Right(); i >= view.SubGrid.Left(); --i) {
      if (static_cast<std::size_t>(i) >= frames.size()) continue;
      if (horizontally) {
        FlipFrameHorizontally(frames[static_cast<std::size_t>(i)], ui);
      } else {
        FlipFrameVertically(frames[static_cast<std::size_t>(i)], ui);
      }
    }
    return true;
  });
}

std::optional<TOpenedScriptEditor> OpenScriptEditor(TWorkspace& workspace, TDocumentKind pane, UserInterface& ui) {
  const TShapeList& shapes = workspace.Document(pane).Shapes;
  if (!CheckSomethingToEdit(shapes, ui)) return std::nullopt;
  const std::size_t index = CurrentShapeIndex(workspace, pane);
  return TOpenedScriptEditor{index, ScriptEditorCaption(static_cast<int>(index)), TScriptEditor(shapes[index])};
}

std::optional<TPropertyEditor> OpenPropertyEditor(TWorkspace& workspace, TDocumentKind pane, bool frames,
                                                  UserInterface& ui) {
  const TShapeList& shapes = workspace.Document(pane).Shapes;
  if (!CheckSomethingToEdit(shapes, ui)) return std::nullopt;
  const TPane& view = PaneOf(workspace, pane);
  if (!frames) return TPropertyEditor::ForShapes(shapes, view.Grid.Left(), view.Grid.Right());
  return TPropertyEditor::ForFrames(shapes[CurrentShapeIndex(workspace, pane)], view.SubGrid.Left(),
                                    view.SubGrid.Right());
}

// OK marks the document even when every value stayed: the person confirmed
// an edit, and the flag is what asks before it is lost.
bool ApplyPropertiesCommand(TWorkspace& workspace, TDocumentKind pane, const TPropertyEditor& editor) {
  const TPane& view = PaneOf(workspace, pane);
  bool changed = false;
  const TWorkspace::TStep step = workspace.Step("Shape Properties");
  workspace.Change(pane, [&](TDocument& document) {
    if (!editor.EditsFrames()) {
      changed = editor.Apply(document.Shapes);
      return;
    }
    const auto current = static_cast<std::size_t>(view.Grid.Left());
    changed = current < document.Shapes.size() && editor.Apply(document.Shapes[current]);
  });
  return changed;
}

void StoreScriptCommand(TWorkspace& workspace, TDocumentKind pane, std::size_t shapeIndex, TScriptEditor& editor) {
  ChangeIf(workspace, pane, "Edit KitterSpeak Script", [&](TDocument& document) {
    if (shapeIndex >= document.Shapes.size()) return false;
    editor.CloseAndSave(document.Shapes[shapeIndex]);
    return editor.Saved();
  });
}

void RemoveDuplicatesCommand(TWorkspace& workspace, TDedupeOptions& remembered, UserInterface& ui,
                             const TDedupeDialog& dialog) {
  ChangeIf(workspace, TDocumentKind::Destination, "Remove Duplicates",
           [&](TDocument& document) { return RunRemoveDuplicates(document, remembered, ui, dialog); });
}

void SetTransferMode(TWorkspace& workspace, bool move) {
  workspace.Panes.MoveMode = move;
  workspace.Panes.DestPagesChange(workspace.Panes.Dest.Tab);
  workspace.Panes.SrcPagesChange(workspace.Panes.Src.Tab);
}

}  // namespace quillmere
