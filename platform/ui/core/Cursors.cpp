#include "platform/ui/core/Cursors_p.h"

#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/Resources_p.h"
#include "platform/ui/core/WinApi.h"

#include <QApplication>
#include <QPixmap>
#include <QStyle>
#include <QWidget>

#include <map>
#include <memory>

struct HCURSOR__ {
    QCursor cursor;
};

struct HICON__ {
    QIcon icon;
};

namespace {

// Cursors and icons live as long as the process: handles are shared by every caller, as
// the system's own cursors are.
std::map<uintptr_t, std::unique_ptr<HCURSOR__>>& StandardCursors()
{
    static std::map<uintptr_t, std::unique_ptr<HCURSOR__>> cursors;
    return cursors;
}

std::map<UINT, std::unique_ptr<HCURSOR__>>& ResourceCursors()
{
    static std::map<UINT, std::unique_ptr<HCURSOR__>> cursors;
    return cursors;
}

std::map<uintptr_t, std::unique_ptr<HICON__>>& Icons()
{
    static std::map<uintptr_t, std::unique_ptr<HICON__>> icons;
    return icons;
}

Qt::CursorShape ShapeOf(UINT nID)
{
    switch (nID) {
    case 32513:
        return Qt::IBeamCursor;
    case 32514:
        return Qt::WaitCursor;
    case 32515:
        return Qt::CrossCursor;
    case 32516:
        return Qt::UpArrowCursor;
    case 32640:
    case 32646:
        return Qt::SizeAllCursor;
    case 32642:
        return Qt::SizeFDiagCursor;
    case 32643:
        return Qt::SizeBDiagCursor;
    case 32644:
        return Qt::SizeHorCursor;
    case 32645:
        return Qt::SizeVerCursor;
    case 32648:
        return Qt::ForbiddenCursor;
    case 32649:
        return Qt::PointingHandCursor;
    case 32650:
        return Qt::BusyCursor;
    case 32651:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

int g_nShowCursor = 0;

} // namespace

HCURSOR AfxStandardCursor(Qt::CursorShape shape)
{
    auto& map = StandardCursors();
    auto& slot = map[static_cast<uintptr_t>(shape)];
    if (!slot) {
        slot = std::make_unique<HCURSOR__>();
        slot->cursor = QCursor(shape);
    }
    return slot.get();
}

QCursor AfxCursorFromHandle(HCURSOR hCursor)
{
    return hCursor ? hCursor->cursor : QCursor(Qt::BlankCursor);
}

QIcon AfxIconFromHandle(HICON hIcon)
{
    return hIcon ? hIcon->icon : QIcon();
}

HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName)
{
    if (!lpCursorName || !IS_INTRESOURCE(lpCursorName))
        return nullptr;
    const UINT nID = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpCursorName));
    if (!hInstance)
        return AfxStandardCursor(ShapeOf(nID));
    auto& map = ResourceCursors();
    auto it = map.find(nID);
    if (it != map.end())
        return it->second.get();
    const CCursorResource* pRes = FindCursorResource(nID);
    if (!pRes)
        return nullptr;
    QImage image;
    if (!AfxLoadResourceImage(pRes->image, image))
        return nullptr;
    auto p = std::make_unique<HCURSOR__>();
    p->cursor = QCursor(QPixmap::fromImage(image), pRes->xHotSpot, pRes->yHotSpot);
    HCURSOR h = p.get();
    map[nID] = std::move(p);
    return h;
}

HICON LoadIcon(HINSTANCE hInstance, LPCTSTR lpIconName)
{
    if (!lpIconName || !IS_INTRESOURCE(lpIconName))
        return nullptr;
    const UINT nID = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpIconName));
    const uintptr_t key = (hInstance ? 0x100000u : 0u) | nID;
    auto& map = Icons();
    auto it = map.find(key);
    if (it != map.end())
        return it->second.get();
    auto p = std::make_unique<HICON__>();
    if (hInstance) {
        const CImageResource* pRes = FindIconResource(nID);
        QImage image;
        if (!pRes || !AfxLoadResourceImage(*pRes, image))
            return nullptr;
        p->icon = QIcon(QPixmap::fromImage(image));
    } else {
        QStyle::StandardPixmap sp = QStyle::SP_MessageBoxInformation;
        switch (nID) {
        case 32513:
            sp = QStyle::SP_MessageBoxCritical;
            break;
        case 32514:
            sp = QStyle::SP_MessageBoxQuestion;
            break;
        case 32515:
            sp = QStyle::SP_MessageBoxWarning;
            break;
        case 32512:
            sp = QStyle::SP_ComputerIcon;
            break;
        default:
            break;
        }
        if (qApp)
            p->icon = QApplication::style()->standardIcon(sp);
    }
    HICON h = p.get();
    map[key] = std::move(p);
    return h;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    if (!pManager)
        return nullptr;
    HCURSOR hOld = pManager->m_hCursor;
    pManager->m_hCursor = hCursor;
    // The cursor shows over the window that has the mouse (or the capture).
    HWND hWnd = pManager->m_hWndCapture ? pManager->m_hWndCapture : pManager->m_hWndMouse;
    if (CWndState* pState = pManager->Find(hWnd); pState && pState->client)
        pState->client->setCursor(AfxCursorFromHandle(hCursor));
    return hOld;
}

HCURSOR GetCursor()
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    return pManager ? pManager->m_hCursor : nullptr;
}

int ShowCursor(BOOL bShow)
{
    const bool wasShown = g_nShowCursor >= 0;
    g_nShowCursor += bShow ? 1 : -1;
    const bool shown = g_nShowCursor >= 0;
    if (qApp && wasShown != shown) {
        if (shown)
            QApplication::restoreOverrideCursor();
        else
            QApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    }
    return g_nShowCursor;
}

BOOL DestroyCursor(HCURSOR hCursor)
{
    (void)hCursor; // shared cursors stay
    return TRUE;
}

BOOL DestroyIcon(HICON hIcon)
{
    (void)hIcon;
    return TRUE;
}
