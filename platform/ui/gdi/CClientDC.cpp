#include "platform/ui/gdi/CClientDC.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"

IMPLEMENT_DYNAMIC(CClientDC, CDC)

void AfxAttachWindowDC(CDC& dc, HWND hWnd)
{
    static QImage s_scratch(1, 1, QImage::Format_RGB32);
    QImage* pBuffer = hWnd ? AfxGetBackBuffer(hWnd) : nullptr;
    dc.AttachDevice(pBuffer ? pBuffer : &s_scratch);
}

void AfxReleaseWindowDC(CDC& dc, HWND hWnd)
{
    dc.DetachDevice();
    if (QImage* pBuffer = hWnd ? AfxGetBackBuffer(hWnd) : nullptr)
        AfxFlushBackBuffer(hWnd, QRect(QPoint(0, 0), pBuffer->size()));
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    AfxAttachWindowDC(*this, m_hWnd);
}

CClientDC::~CClientDC()
{
    AfxReleaseWindowDC(*this, m_hWnd);
}
