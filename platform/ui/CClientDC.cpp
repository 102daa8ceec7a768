#include "platform/ui/CClientDC.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/CWnd_p.h"

IMPLEMENT_DYNAMIC(CClientDC, CDC)

namespace {

// Contexts of windows that have no picture of their own (and of no window at all) still
// measure text and report the screen's resolution: they draw into this small image.
QImage* ScratchImage()
{
    static QImage s_image(1, 1, QImage::Format_RGB32);
    return &s_image;
}

} // namespace

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    QImage* pBuffer = m_hWnd ? AfxGetBackBuffer(m_hWnd) : nullptr;
    AttachDevice(pBuffer ? pBuffer : ScratchImage());
}

CClientDC::~CClientDC()
{
    DetachDevice();
    if (QImage* pBuffer = m_hWnd ? AfxGetBackBuffer(m_hWnd) : nullptr)
        AfxFlushBackBuffer(m_hWnd, QRect(QPoint(0, 0), pBuffer->size()));
}
