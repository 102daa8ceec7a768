// CShellState: the process-wide state of the application shell, all in one place.
//
// The program runs one user-interface thread, and these values belong to that thread's
// session rather than to any one window or object: a kind of document window remembers
// across all its windows whether the last menu selection came with a menu (the main frame's
// message pane follows it), only one middle-button auto-scrolling can hold the mouse at a
// time, and every part of the program reads the settings of the one running application.
// Nothing here is locked; it is touched only from the user-interface thread.
#pragma once

#include "platform/base/Types.h"

class CAutoScrollWnd;
class CMorvelSettings;

struct CShellState {
    // Whether the last menu selection of an estimate window, and of a parts window, came
    // with a menu. A closing menu (no menu handle) is passed on to the main frame only
    // once after such a selection; each kind of document window keeps its own flag.
    BOOL bEstimateMenuSelected = FALSE;
    BOOL bPartsMenuSelected = FALSE;

    // The middle-button auto-scrolling running now (it holds the mouse), or null.
    CAutoScrollWnd* pActiveAutoScroll = nullptr;

    // The settings of the running program, or null. Set only through
    // CMorvelSettings::SetCurrent (see there for who sets it).
    CMorvelSettings* pCurrentSettings = nullptr;

    // The state of this process.
    static CShellState& Get();
};
