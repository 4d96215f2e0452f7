#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/workspace.h"
#include "editing/property_editor.h"
#include "editing/remove_duplicates.h"
#include "export/export_flows.h"
#include "kitterspeak/script_editor.h"

namespace quillmere {

// The window's editing commands on the workspace. Each goes through the
// workspace's one way in for changes, so an edit marks the document it was
// made in modified, the Source as much as the Destination: closing then asks
// before the edit is lost.

// "Flip Horizontally" / "Flip Vertically" of a pane: on its Main tab every
// frame of the selected shapes, on its SubFrames tab the selected frames of
// the pane's current shape (the shape at its main grid's Left).
void FlipCommand(TWorkspace& workspace, TDocumentKind pane, bool horizontally, UserInterface& ui);

// "Edit KitterSpeak Script..." of a pane: the editor for the shape at the
// pane's main grid's Left, with the caption naming that shape. A document
// without shapes shows "Nothing selected to edit!" and opens nothing.
struct TOpenedScriptEditor {
  std::size_t ShapeIndex = 0;
  std::string Caption;  // "Animation Editor: Shape 3"
  TScriptEditor Editor;
};
std::optional<TOpenedScriptEditor> OpenScriptEditor(TWorkspace& workspace, TDocumentKind pane, UserInterface& ui);

// "Shape Properties..." of a pane: from its shape grid or the menus (`frames`
// false) the selected shapes, from its frame grid the selected frames of the
// shape at the main grid's Left. A document without shapes shows "Nothing
// selected to edit!" and opens nothing.
std::optional<TPropertyEditor> OpenPropertyEditor(TWorkspace& workspace, TDocumentKind pane, bool frames,
                                                  UserInterface& ui);

// Applies a property editor closed with OK, filled for the pane's shapes
// (Main tab) or the current shape's frames (SubFrames tab), and marks the
// pane's document modified. Returns whether any value changed.
bool ApplyPropertiesCommand(TWorkspace& workspace, TDocumentKind pane, const TPropertyEditor& editor);

// Stores a KitterSpeak editor closed with OK into shape `shapeIndex` of the pane.
void StoreScriptCommand(TWorkspace& workspace, TDocumentKind pane, std::size_t shapeIndex, TScriptEditor& editor);

// "Remove Duplicates..." on the Destination, with the dialog given as a callback.
void RemoveDuplicatesCommand(TWorkspace& workspace, TDedupeOptions& remembered, UserInterface& ui,
                             const TDedupeDialog& dialog);

// "Copy Objects" / "Move Objects": the transfer mode, after which both panes
// run their tab-change rules again (Move mode disables the inserts on a
// SubFrames tab).
void SetTransferMode(TWorkspace& workspace, bool move);

}  // namespace quillmere
