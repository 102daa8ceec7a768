#include "platform/ui/gdi/CWindowDC.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"

IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    AfxAttachWindowDC(*this, m_hWnd);
}

CWindowDC::~CWindowDC()
{
    AfxReleaseWindowDC(*this, m_hWnd);
}
