// The parts list's exchange commands with their dialogs: CSV output of chosen columns, CSV
// input and the reading of another parts file, both mapped onto the list's columns and
// inserted at the current row. RegisterParts() hands RunPartsIoCommand to the parts grid
// (CShellServices::runPartsIoCommand).
#pragma once

#include "platform/base/Types.h"

class CView;

// Runs command nID (ID_TEXT_OUTPUT, ID_TEXT_INPUT or ID_READ_OTHER_FORM) for a parts grid.
void RunPartsIoCommand(CView* pView, UINT nID);
