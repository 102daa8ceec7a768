// Process-wide state of the drawing objects, in one place.
#pragma once

#include "platform/base/Types.h"

struct CDrawingShared {
    // Embedded objects draw their frames in the editor (the view's object-frame command
    // toggles it). On at start.
    static BOOL s_bShowObjectFrames;
};
