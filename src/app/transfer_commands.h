#pragma once

#include "app/workspace.h"

namespace quillmere {

// The six buttons of the centre panel.
enum class TTransferCommand { Delete, InsertBefore, InsertAfter, Replace, ShiftLeft, ShiftRight };

// Runs a centre-panel button on the workspace as the window does: only while
// the button is enabled, through the workspace's one way in for changes, with
// the grids selecting afterwards what the transfer says. Returns whether the
// transfer ran.
bool RunTransferCommand(TWorkspace& workspace, TTransferCommand command);

}  // namespace quillmere
