// CClientDC: draws into a window's client area at any time (XOR guide lines, frames around
// the cell being edited). The drawing goes into the window's back buffer and shows on the
// screen when the context is released.
#pragma once

#include "platform/ui/core/WinDefs.h"
#include "platform/ui/gdi/CDC.h"

class CWnd;

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    // pWnd null: a context describing the screen that draws nowhere.
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};
