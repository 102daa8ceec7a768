// What the layout view's editing and formatting commands keep between the enabling pass
// that classified the selection and the command that acts on it.
//
// The counters and flags are rewritten by every enabling pass (idle update of the bars,
// opening of a menu, the check before an accelerator runs), so when a command runs they
// describe the current selection.
#pragma once

#include "platform/base/CString.h"

struct CPrintFormEditState {
    // Shape census: selected texts and rectangles (or lines), and selected tables.
    int nShapeTexts = 0;
    int nShapeTables = 0;
    // Text census: selected rectangles (or lines), texts and tables.
    int nTextRects = 0;
    int nTextTexts = 0;
    int nTextTables = 0;
    // Underline, bold and italic as the last pass found the selection.
    BOOL bUnderline = FALSE;
    BOOL bBold = FALSE;
    BOOL bItalic = FALSE;
    // Justification of the selection: -1 none or mixed, 0 left, 1 right, 2 centred.
    int nAlignState = -1;
    // The folder the insert-object command starts in; empty until a file was chosen.
    CString strInsertFolder;
};
