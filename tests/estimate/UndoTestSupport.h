// The command an estimate grid's undo would take back, as the kind of command a test expects
// (null when the grid recorded another kind, or nothing).
#pragma once

#include "engine/estimate/UndoCommands.h"
#include "estimate/CMorvelEMView.h"

template <typename TCommand>
const TCommand* UndoCommandAs(const CMorvelEMView& view)
{
    return dynamic_cast<const TCommand*>(view.GetModel().Undo().GetUndoCommand());
}
