// CWindowDC: draws over a whole window. Windows of this layer draw their borders themselves,
// so the context covers the client area's back buffer like CClientDC.
#pragma once

#include "platform/ui/core/WinDefs.h"
#include "platform/ui/gdi/CDC.h"

class CWnd;

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
