// The "msctls_updown32" class: the two arrow buttons beside a number edit (its buddy).
// A click proposes a step (UDN_DELTAPOS, which the owner may refuse), moves the position
// within the range (or wraps with UDS_WRAP), writes it into the buddy with UDS_SETBUDDYINT
// and reports it to the parent as a scroll message (SB_THUMBPOSITION, then SB_ENDSCROLL).
// The "msctls_progress32" class: a progress bar.
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/base/TypedNumber.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WndClass_p.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QStyleOption>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

class CUpDownWidget : public QWidget, public CControlMixin {
public:
    CUpDownWidget(QWidget* parent, DWORD style) : QWidget(parent), CControlMixin(this), m_style(style)
    {
        setFocusPolicy(Qt::NoFocus);
        m_repeat.setInterval(100);
        connect(&m_repeat, &QTimer::timeout, this, [this] {
            m_repeat.setInterval(50);
            Step(m_pressed);
        });
    }

    DWORD m_style;
    int m_nLower = 100; // the range the control starts with: 100 to 0
    int m_nUpper = 0;
    int m_nPos = 0;
    int m_nBase = 10;
    HWND m_hBuddy = nullptr;

    bool Horizontal() const { return (m_style & UDS_HORZ) != 0; }

    // The position, read back from the buddy's text when the control writes it there.
    int GetPos(bool* pError)
    {
        if (pError)
            *pError = false;
        if ((m_style & UDS_SETBUDDYINT) && m_hBuddy) {
            if (CWnd* pBuddy = CWnd::FromHandle(m_hBuddy)) {
                CString text;
                pBuddy->GetWindowText(text);
                // A decimal buddy holds what a person typed: read it as a number field is
                // read ("１２", "1,000"); a hexadecimal one as it stands.
                std::string plain;
                if (m_nBase == 10)
                    text = ReadTypedNumberText(text, plain) ? CString(plain.c_str()) : CString("x");
                text.Remove(',');
                text.Trim();
                char* end = nullptr;
                const long v = std::strtol(text, &end, m_nBase);
                const int lo = std::min(m_nLower, m_nUpper);
                const int hi = std::max(m_nLower, m_nUpper);
                if (!text.IsEmpty() && end && *end == '\0' && v >= lo && v <= hi)
                    m_nPos = static_cast<int>(v);
                else if (pError)
                    *pError = true;
            }
        }
        return m_nPos;
    }

    int SetPos(int nPos)
    {
        const int nOld = m_nPos;
        const int lo = std::min(m_nLower, m_nUpper);
        const int hi = std::max(m_nLower, m_nUpper);
        m_nPos = std::max(lo, std::min(nPos, hi));
        WriteBuddy();
        return nOld;
    }

    void WriteBuddy()
    {
        if (!(m_style & UDS_SETBUDDYINT) || !m_hBuddy)
            return;
        CWnd* pBuddy = CWnd::FromHandle(m_hBuddy);
        if (!pBuddy)
            return;
        CString text;
        if (m_nBase == 16) {
            text.Format("0x%04X", static_cast<unsigned>(m_nPos));
        } else {
            text.Format("%d", m_nPos);
            if (!(m_style & UDS_NOTHOUSANDS) && std::abs(m_nPos) >= 1000) {
                // Thousands separated by commas, as the system's number format does.
                const bool negative = m_nPos < 0;
                CString digits = negative ? text.Mid(1) : text;
                CString grouped;
                const int n = digits.GetLength();
                for (int i = 0; i < n; ++i) {
                    grouped += digits[i];
                    if ((n - 1 - i) % 3 == 0 && i != n - 1)
                        grouped += ',';
                }
                text = negative ? CString("-") + grouped : grouped;
            }
        }
        pBuddy->SetWindowText(text);
    }

    // One step towards the upper end (bUp) or the lower end.
    void Step(bool bUp)
    {
        GetPos(nullptr);
        const int dir = m_nUpper >= m_nLower ? 1 : -1;
        NMUPDOWN nm{};
        nm.hdr.hwndFrom = Hwnd();
        nm.hdr.idFrom = ControlId();
        nm.hdr.code = UDN_DELTAPOS;
        nm.iPos = m_nPos;
        nm.iDelta = bUp ? dir : -dir;
        if (SendToParent(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) != 0)
            return;
        const int lo = std::min(m_nLower, m_nUpper);
        const int hi = std::max(m_nLower, m_nUpper);
        int next = m_nPos + nm.iDelta;
        if (next > hi)
            next = (m_style & UDS_WRAP) ? lo : hi;
        else if (next < lo)
            next = (m_style & UDS_WRAP) ? hi : lo;
        if (next == m_nPos)
            return;
        SetPos(next);
        ReportScroll(SB_THUMBPOSITION);
    }

    void ReportScroll(UINT nCode)
    {
        const UINT nMsg = Horizontal() ? WM_HSCROLL : WM_VSCROLL;
        SendToParent(nMsg, MAKEWPARAM(static_cast<WORD>(nCode), static_cast<WORD>(m_nPos)),
                     reinterpret_cast<LPARAM>(Hwnd()));
    }

    // Moves beside the buddy and narrows it (UDS_ALIGNRIGHT / UDS_ALIGNLEFT).
    void AlignToBuddy()
    {
        CWndState* pBuddy = AfxGetWndState(m_hBuddy);
        if (!pBuddy || !pBuddy->widget || !(m_style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
            return;
        QWidget* b = pBuddy->widget;
        const QRect r = b->geometry();
        const int w = std::max(1, width());
        if (m_style & UDS_ALIGNRIGHT) {
            b->setGeometry(r.x(), r.y(), std::max(0, r.width() - w), r.height());
            setGeometry(r.right() + 1 - w, r.y(), w, r.height());
        } else {
            b->setGeometry(r.x() + w, r.y(), std::max(0, r.width() - w), r.height());
            setGeometry(r.x(), r.y(), w, r.height());
        }
    }

    void WatchBuddyKeys()
    {
        if (!(m_style & UDS_ARROWKEYS))
            return;
        if (m_watched)
            m_watched->removeEventFilter(this);
        CWndState* pBuddy = AfxGetWndState(m_hBuddy);
        m_watched = pBuddy ? pBuddy->widget.data() : nullptr;
        if (m_watched)
            m_watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == m_watched && e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            const int up = Horizontal() ? Qt::Key_Right : Qt::Key_Up;
            const int down = Horizontal() ? Qt::Key_Left : Qt::Key_Down;
            if (key == up || key == down) {
                Step(key == up);
                ReportScroll(SB_ENDSCROLL);
                return true;
            }
        }
        return QWidget::eventFilter(watched, e);
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (int half = 0; half < 2; ++half) {
            const QRect r = HalfRect(half == 0);
            QStyleOptionButton button;
            button.initFrom(this);
            button.rect = r;
            if (m_bDown && m_pressed == (half == 0))
                button.state |= QStyle::State_Sunken;
            else
                button.state |= QStyle::State_Raised;
            style()->drawControl(QStyle::CE_PushButtonBevel, &button, &p, this);
            QStyleOption arrow;
            arrow.initFrom(this);
            arrow.rect = r.adjusted(2, 1, -2, -1);
            const QStyle::PrimitiveElement pe =
                Horizontal() ? (half == 0 ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft)
                             : (half == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown);
            style()->drawPrimitive(pe, &arrow, &p, this);
        }
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton || !isEnabled())
            return;
        m_pressed = HalfRect(true).contains(e->position().toPoint());
        m_bDown = true;
        update();
        Step(m_pressed);
        m_repeat.setInterval(400);
        m_repeat.start();
    }

    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton || !m_bDown)
            return;
        m_repeat.stop();
        m_bDown = false;
        update();
        ReportScroll(SB_ENDSCROLL);
    }

private:
    // The upper (or right) half and the lower (or left) half.
    QRect HalfRect(bool bUp) const
    {
        if (Horizontal()) {
            const int half = width() / 2;
            return bUp ? QRect(half, 0, width() - half, height()) : QRect(0, 0, half, height());
        }
        const int half = height() / 2;
        return bUp ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
    }

    QTimer m_repeat;
    bool m_pressed = true;
    bool m_bDown = false;
    QPointer<QWidget> m_watched;
};

CUpDownWidget* UpDownOf(CWndState* pState)
{
    return pState ? dynamic_cast<CUpDownWidget*>(pState->widget.data()) : nullptr;
}

QWidget* CreateUpDown(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    auto* w = new CUpDownWidget(parent, static_cast<DWORD>(cs.style));
    // The buddy of UDS_AUTOBUDDY is the window made just before this one.
    if ((cs.style & UDS_AUTOBUDDY) && cs.hwndParent) {
        if (CWndState* pParent = AfxGetWndState(cs.hwndParent)) {
            const std::vector<HWND>& v = pParent->children;
            if (v.size() >= 2)
                w->m_hBuddy = v[v.size() - 2];
        }
    }
    return w;
}

LRESULT UpDownProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    CUpDownWidget* w = UpDownOf(pState);
    if (!w) {
        *pbHandled = FALSE;
        return 0;
    }
    switch (nMsg) {
    case WM_CREATE:
        w->AlignToBuddy();
        w->WatchBuddyKeys();
        *pbHandled = FALSE;
        return 0;
    case UDM_SETRANGE:
        w->m_nUpper = static_cast<short>(LOWORD(static_cast<DWORD>(lParam)));
        w->m_nLower = static_cast<short>(HIWORD(static_cast<DWORD>(lParam)));
        return 0;
    case UDM_GETRANGE:
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(w->m_nUpper), static_cast<WORD>(w->m_nLower)));
    case UDM_SETRANGE32:
        w->m_nLower = static_cast<int>(wParam);
        w->m_nUpper = static_cast<int>(lParam);
        return 0;
    case UDM_GETRANGE32:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = w->m_nLower;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = w->m_nUpper;
        return 0;
    case UDM_SETPOS:
        return w->SetPos(static_cast<short>(LOWORD(static_cast<DWORD>(lParam))));
    case UDM_SETPOS32:
        return w->SetPos(static_cast<int>(lParam));
    case UDM_GETPOS: {
        bool error = false;
        const int pos = w->GetPos(&error);
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(pos), error ? 1 : 0));
    }
    case UDM_GETPOS32: {
        bool error = false;
        const int pos = w->GetPos(&error);
        if (lParam)
            *reinterpret_cast<BOOL*>(lParam) = error ? TRUE : FALSE;
        return pos;
    }
    case UDM_SETBUDDY: {
        HWND hOld = w->m_hBuddy;
        w->m_hBuddy = reinterpret_cast<HWND>(wParam);
        w->AlignToBuddy();
        w->WatchBuddyKeys();
        return reinterpret_cast<LRESULT>(hOld);
    }
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(w->m_hBuddy);
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16)
            return 0;
        const int nOld = w->m_nBase;
        w->m_nBase = static_cast<int>(wParam);
        w->WriteBuddy();
        return nOld;
    }
    case UDM_GETBASE:
        return w->m_nBase;
    default:
        *pbHandled = FALSE;
        return 0;
    }
}

class CProgressWidget : public QProgressBar, public CControlMixin {
public:
    explicit CProgressWidget(QWidget* parent) : QProgressBar(parent), CControlMixin(this)
    {
        setTextVisible(false);
        setRange(0, 100);
        setValue(0);
    }
    int m_nStep = 10;
};

QWidget* CreateProgress(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    auto* w = new CProgressWidget(parent);
    if (cs.style & PBS_VERTICAL)
        w->setOrientation(Qt::Vertical);
    return w;
}

LRESULT ProgressProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    auto* w = pState ? dynamic_cast<CProgressWidget*>(pState->widget.data()) : nullptr;
    if (!w) {
        *pbHandled = FALSE;
        return 0;
    }
    const auto setPos = [w](int pos) {
        const int nOld = w->value();
        w->setValue(std::max(w->minimum(), std::min(pos, w->maximum())));
        return nOld;
    };
    switch (nMsg) {
    case PBM_SETRANGE: {
        const LRESULT old = MAKELONG(static_cast<WORD>(w->minimum()), static_cast<WORD>(w->maximum()));
        w->setRange(LOWORD(static_cast<DWORD>(lParam)), HIWORD(static_cast<DWORD>(lParam)));
        return old;
    }
    case PBM_SETRANGE32: {
        const LRESULT old = MAKELONG(static_cast<WORD>(w->minimum()), static_cast<WORD>(w->maximum()));
        w->setRange(static_cast<int>(wParam), static_cast<int>(lParam));
        return old;
    }
    case PBM_GETRANGE:
        return wParam ? w->minimum() : w->maximum();
    case PBM_SETPOS:
        return setPos(static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return setPos(w->value() + static_cast<int>(wParam));
    case PBM_SETSTEP: {
        const int nOld = w->m_nStep;
        w->m_nStep = static_cast<int>(wParam);
        return nOld;
    }
    case PBM_STEPIT: {
        // Stepping past the end starts again from the beginning.
        const int nOld = w->value();
        int next = nOld + w->m_nStep;
        if (next > w->maximum())
            next = w->minimum() + (next - w->maximum());
        w->setValue(std::max(w->minimum(), std::min(next, w->maximum())));
        return nOld;
    }
    case PBM_GETPOS:
        return w->value();
    default:
        *pbHandled = FALSE;
        return 0;
    }
}

} // namespace

void AfxRegisterUpDownClass()
{
    CWndClassInfo info;
    info.name = "msctls_updown32";
    info.createWidget = CreateUpDown;
    info.wndProc = UpDownProc;
    AfxRegisterClassInfo(info);
}

void AfxRegisterProgressClass()
{
    CWndClassInfo info;
    info.name = "msctls_progress32";
    info.createWidget = CreateProgress;
    info.wndProc = ProgressProc;
    AfxRegisterClassInfo(info);
}
