// The "SCROLLBAR" class over QScrollBar. As with the system's scroll-bar controls the bar
// only reports what the user did (WM_HSCROLL / WM_VSCROLL with the SB_ code to the parent,
// lParam the bar); its position moves when the owner sets it. While the thumb is dragged
// it follows the mouse, and returns to the set position when the owner leaves it.
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WndClass_p.h"

#include <QScrollBar>

#include <algorithm>

namespace {

class CScrollBarWidget : public QScrollBar, public CControlMixin {
public:
    CScrollBarWidget(QWidget* parent, bool vertical)
        : QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, parent), CControlMixin(this)
    {
        m_info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        // A scroll bar covers its rectangle: the window under it need not show through,
        // and a paint of that window beneath leaves the bar alone.
        setAutoFillBackground(true);
        Apply();
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { OnAction(action); });
        connect(this, &QAbstractSlider::sliderReleased, this, [this] { OnReleased(); });
    }

    SCROLLINFO m_info;
    bool m_bTracking = false;

    int MaxPos() const
    {
        return std::max(m_info.nMin, m_info.nMax - std::max(static_cast<int>(m_info.nPage) - 1, 0));
    }

    void Normalize()
    {
        const int range = m_info.nMax - m_info.nMin + 1;
        if (range > 0 && static_cast<int>(m_info.nPage) > range)
            m_info.nPage = static_cast<UINT>(range);
        m_info.nPos = std::max(m_info.nMin, std::min(m_info.nPos, MaxPos()));
    }

    // Shows the stored state.
    void Apply()
    {
        CSilentScope silent(this);
        blockSignals(true);
        setRange(m_info.nMin, MaxPos());
        setPageStep(std::max(1, static_cast<int>(m_info.nPage)));
        setSingleStep(1);
        if (!m_bTracking)
            setValue(m_info.nPos);
        blockSignals(false);
    }

private:
    void Send(UINT nCode, int nPos)
    {
        const UINT nMsg = orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
        SendToParent(nMsg, MAKEWPARAM(static_cast<WORD>(nCode), static_cast<WORD>(nPos)),
                     reinterpret_cast<LPARAM>(Hwnd()));
    }

    void OnAction(int action)
    {
        if (IsSilent())
            return;
        UINT nCode = SB_ENDSCROLL;
        switch (action) {
        case SliderSingleStepAdd:
            nCode = SB_LINEDOWN;
            break;
        case SliderSingleStepSub:
            nCode = SB_LINEUP;
            break;
        case SliderPageStepAdd:
            nCode = SB_PAGEDOWN;
            break;
        case SliderPageStepSub:
            nCode = SB_PAGEUP;
            break;
        case SliderToMinimum:
            nCode = SB_TOP;
            break;
        case SliderToMaximum:
            nCode = SB_BOTTOM;
            break;
        case SliderMove:
            m_bTracking = true;
            m_info.nTrackPos = sliderPosition();
            Send(SB_THUMBTRACK, sliderPosition());
            return;
        default:
            return;
        }
        // The owner moves the bar, not the click.
        setSliderPosition(m_info.nPos);
        Send(nCode, 0);
        Send(SB_ENDSCROLL, 0);
    }

    void OnReleased()
    {
        if (!m_bTracking)
            return;
        const int pos = sliderPosition();
        m_info.nTrackPos = pos;
        Send(SB_THUMBPOSITION, pos);
        m_bTracking = false;
        Send(SB_ENDSCROLL, 0);
        Apply();
    }
};

QWidget* CreateScrollBar(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    const DWORD style = static_cast<DWORD>(cs.style);
    auto* w = new CScrollBarWidget(parent, (style & SBS_VERT) != 0);
    w->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::NoFocus);
    return w;
}

LRESULT ScrollBarProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    auto* w = pState ? dynamic_cast<CScrollBarWidget*>(pState->widget.data()) : nullptr;
    if (!w) {
        *pbHandled = FALSE;
        return 0;
    }
    SCROLLINFO& si = w->m_info;
    switch (nMsg) {
    case SBM_SETPOS: {
        const int nOld = si.nPos;
        si.nPos = static_cast<int>(wParam);
        w->Normalize();
        w->Apply();
        return nOld;
    }
    case SBM_GETPOS:
        return si.nPos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        const int nOld = si.nPos;
        si.nMin = static_cast<int>(wParam);
        si.nMax = static_cast<int>(lParam);
        w->Normalize();
        w->Apply();
        return nOld;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = si.nMin;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = si.nMax;
        return 0;
    case SBM_ENABLE_ARROWS:
        w->setEnabled(wParam != ESB_DISABLE_BOTH);
        return TRUE;
    case SBM_SETSCROLLINFO: {
        const auto* p = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (!p)
            return si.nPos;
        if (p->fMask & SIF_RANGE) {
            si.nMin = p->nMin;
            si.nMax = p->nMax;
        }
        if (p->fMask & SIF_PAGE)
            si.nPage = p->nPage;
        if (p->fMask & SIF_POS)
            si.nPos = p->nPos;
        w->Normalize();
        w->Apply();
        return si.nPos;
    }
    case SBM_GETSCROLLINFO: {
        auto* p = reinterpret_cast<SCROLLINFO*>(lParam);
        if (!p)
            return FALSE;
        if (p->fMask & SIF_RANGE) {
            p->nMin = si.nMin;
            p->nMax = si.nMax;
        }
        if (p->fMask & SIF_PAGE)
            p->nPage = si.nPage;
        if (p->fMask & SIF_POS)
            p->nPos = si.nPos;
        if (p->fMask & SIF_TRACKPOS)
            p->nTrackPos = w->m_bTracking ? si.nTrackPos : si.nPos;
        return TRUE;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        *pbHandled = FALSE;
        return 0;
    }
}

} // namespace

void AfxRegisterScrollBarClass()
{
    CWndClassInfo info;
    info.name = "SCROLLBAR";
    info.style = CS_DBLCLKS;
    info.createWidget = CreateScrollBar;
    info.wndProc = ScrollBarProc;
    AfxRegisterClassInfo(info);
}
