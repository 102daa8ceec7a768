#include "platform/ui/CWindowDC.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/CWnd_p.h"

IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

QImage* ScratchImage()
{
    static QImage s_image(1, 1, QImage::Format_RGB32);
    return &s_image;
}

} // namespace

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    QImage* pBuffer = m_hWnd ? AfxGetBackBuffer(m_hWnd) : nullptr;
    AttachDevice(pBuffer ? pBuffer : ScratchImage());
}

CWindowDC::~CWindowDC()
{
    DetachDevice();
    if (QImage* pBuffer = m_hWnd ? AfxGetBackBuffer(m_hWnd) : nullptr)
        AfxFlushBackBuffer(m_hWnd, QRect(QPoint(0, 0), pBuffer->size()));
}
