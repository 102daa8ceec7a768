// What the files of CWnd share (platform/ui internal: only the CWnd*.cpp files of this
// folder include it). CWnd.cpp holds construction, creation, destruction, texts and styles;
// CWndMessages.cpp sending, routing and the default handlers; CWndGeometry.cpp position and
// size; CWndRelations.cpp parents, children and dialog items; CWndFocus.cpp timers, focus,
// capture and activation; CWndPaint.cpp invalidation, painting and the back buffer;
// CWndScrollBars.cpp the scroll bars.
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/CWnd_p.h"

inline CWndManager* Manager()
{
    return CWndManager::InstanceIfReady();
}

inline CWndState* StateOf(HWND hWnd)
{
    CWndManager* pManager = Manager();
    return pManager ? pManager->Find(hWnd) : nullptr;
}

// The window a top-level window is owned by: the top-level window of the given one.
inline HWND TopLevelOf(HWND hWnd)
{
    CWndState* p = StateOf(hWnd);
    while (p && (p->style & WS_CHILD) && p->hWndParent)
        p = StateOf(p->hWndParent);
    return p ? p->hWnd : nullptr;
}
