// CPaintDC: the device context a WM_PAINT handler paints with. It draws into the window's
// back buffer, clipped to the area that needs painting (m_ps.rcPaint); constructing it
// validates that area (and erases it first when it was invalidated with erasing).
#pragma once

#include "platform/ui/core/WinDefs.h"
#include "platform/ui/gdi/CDC.h"

class CWnd;

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;

private:
    CRgn m_rgnPaint; // the area painted, shown again when the painting ends
};
