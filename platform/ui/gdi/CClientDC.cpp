#include "platform/ui/gdi/CClientDC.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/gdi/CDC_p.h"

IMPLEMENT_DYNAMIC(CClientDC, CDC)

void AfxAttachWindowDC(CDC& dc, HWND hWnd)
{
    static QImage s_scratch(1, 1, QImage::Format_RGB32);
    QImage* pBuffer = hWnd ? AfxGetBackBuffer(hWnd) : nullptr;
    dc.AttachDevice(pBuffer ? pBuffer : &s_scratch);
}

void AfxReleaseWindowDC(CDC& dc, HWND hWnd)
{
    // The window shows again what the context's drawing reached: a frame drawn round one
    // cell does not make the whole window (and its scroll bars) paint again.
    const CDCImpl& d = CDCImpl::Of(dc);
    const bool bAll = d.touchedAll;
    const QRect touched = d.touched;
    dc.DetachDevice();
    QImage* pBuffer = hWnd ? AfxGetBackBuffer(hWnd) : nullptr;
    if (pBuffer == nullptr)
        return;
    const QRect all(QPoint(0, 0), pBuffer->deviceIndependentSize().toSize());
    if (bAll)
        AfxFlushBackBuffer(hWnd, all);
    else if (touched.intersects(all))
        AfxFlushBackBuffer(hWnd, touched & all);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    AfxAttachWindowDC(*this, m_hWnd);
}

CClientDC::~CClientDC()
{
    AfxReleaseWindowDC(*this, m_hWnd);
}
