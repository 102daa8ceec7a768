// Process-wide state of the drawing objects, in one place.
#pragma once

#include "layout/drawing/FormatCatalogues.h"
#include "platform/base/Types.h"

#include <optional>

struct CDrawingShared {
    // Embedded objects draw their frames in the editor (the view's object-frame command
    // toggles it). On at start.
    static BOOL s_bShowObjectFrames;
    // The clock field tokens print when set (reproducible prints and tests); the local
    // time while empty.
    static std::optional<CClockReading> s_fixedClock;
    // A print preview is being drawn: dotted styles take their screen form.
    static BOOL s_bPrintPreview;
    // The major version the platform reports to the printed-underline test (10 here).
    static int s_nPlatformMajorVersion;
    // The layout editor's tool tip: the index of the table cell whose text it shows (-1
    // none), and 0 while it shows a text object's text (-1 none). One tip is shown at a
    // time in the whole program.
    static int s_nLastTipCell;
    static int s_nTextTipShown;
};
