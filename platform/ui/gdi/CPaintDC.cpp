#include "platform/ui/gdi/CPaintDC.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    std::memset(&m_ps, 0, sizeof m_ps);
    CWndState* pState = AfxGetWndState(m_hWnd);
    QImage* pBuffer = pState && pState->IsSelfDrawn() ? AfxGetBackBuffer(m_hWnd) : nullptr;
    if (!pBuffer)
        return;
    // Taking the area to paint validates it; whatever is invalidated from now on is painted
    // next time.
    const QRegion region = pState->invalid.intersected(QRect(QPoint(0, 0), pBuffer->size()));
    const bool erase = pState->eraseNeeded;
    pState->invalid = QRegion();
    pState->eraseNeeded = false;
    const QRect r = region.boundingRect();
    m_ps.rcPaint = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    if (m_rgnPaint.CreateRectRgn(0, 0, 0, 0))
        CGdiData::From(m_rgnPaint.m_hObject)->region = region;
    if (!AttachDevice(pBuffer))
        return;
    CRgn clip;
    if (clip.CreateRectRgn(0, 0, 0, 0)) {
        CGdiData::From(clip.m_hObject)->region = region;
        SetSystemClipRgn(&clip);
    }
    m_ps.hdc = GetSafeHdc();
    if (erase && pWnd)
        m_ps.fErase = pWnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_ps.hdc), 0) ? FALSE : TRUE;
}

CPaintDC::~CPaintDC()
{
    DetachDevice();
    // The window shows again the area painted, not the rectangle around it: a row at the
    // top and a total further down leave the rows between them alone.
    if (m_rgnPaint.m_hObject != nullptr && !CGdiData::From(m_rgnPaint.m_hObject)->region.isEmpty())
        AfxFlushBackBuffer(m_hWnd, CGdiData::From(m_rgnPaint.m_hObject)->region);
}
