// The "STATIC" class: texts, frames and rectangles, etched lines, pictures and
// owner-drawn statics.
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/gdi/GdiObjects_p.h"
#include "platform/ui/gdi/SysColors.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

constexpr UINT STM_SETICON = 0x0170;
constexpr UINT STM_GETICON = 0x0171;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT STM_GETIMAGE = 0x0173;
constexpr UINT IMAGE_BITMAP = 0;

QColor SysQColor(int nIndex)
{
    const DWORD c = GetSysColor(nIndex);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A path shortened to the width as the system shortens one: the last name stays whole and
// as much of the start as fits stands before an ellipsis ("/home/us…/FORM/見積.MMK" keeps
// "/見積.MMK"); only when even that is too wide is the name cut at its end.
QString ElidePath(const QFontMetrics& metrics, const QString& text, int cxWidth)
{
    if (metrics.horizontalAdvance(text) <= cxWidth)
        return text;
    const QString ellipsis(QChar(0x2026));
    const qsizetype nSeparator =
        std::max({text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char('\\')),
                  text.lastIndexOf(QChar(0xA5))});
    const QString name = nSeparator >= 0 ? text.mid(nSeparator) : text;
    const QString start = nSeparator >= 0 ? text.left(nSeparator) : QString();
    for (qsizetype n = start.size(); n >= 0; --n) {
        const QString candidate = start.left(n) + ellipsis + name;
        if (metrics.horizontalAdvance(candidate) <= cxWidth)
            return candidate;
    }
    return metrics.elidedText(ellipsis + name, Qt::ElideRight, cxWidth);
}

class CStaticWidget : public QLabel, public CControlMixin {
public:
    CStaticWidget(QWidget* parent, DWORD style) : QLabel(parent), CControlMixin(this), m_style(style)
    {
        setFocusPolicy(Qt::NoFocus);
        setTextFormat(Qt::PlainText);
        const DWORD type = style & SS_TYPEMASK;
        Qt::Alignment align = Qt::AlignLeft;
        if (type == SS_CENTER)
            align = Qt::AlignHCenter;
        else if (type == SS_RIGHT)
            align = Qt::AlignRight;
        align |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
        setAlignment(align);
        // A text with an ellipsis style stays on one line and is shortened to the width.
        setWordWrap((type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && !IsElided());
        if (style & SS_SUNKEN)
            setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (!(style & SS_NOTIFY))
            setAttribute(Qt::WA_TransparentForMouseEvents, IsFrameOrRect());
    }

    void SetSystemText(const QString& text)
    {
        m_text = text;
        Refresh();
    }
    const QString& SystemText() const { return m_text; }

    void SetBuddyWidget(QWidget* pBuddy)
    {
        m_hasBuddy = pBuddy != nullptr;
        setBuddy(pBuddy);
        Refresh();
    }

    void SetPicture(const QImage& image)
    {
        m_picture = image;
        if (!image.isNull())
            setPixmap(QPixmap::fromImage(image));
        else
            clear();
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        const DWORD type = m_style & SS_TYPEMASK;
        if (type == SS_OWNERDRAW) {
            QPainter p(this);
            AfxOwnerDraw(*this, p, ODT_STATIC, 0, ODA_DRAWENTIRE, isEnabled() ? 0 : ODS_DISABLED, rect(), 0);
            return;
        }
        if (IsFrameOrRect()) {
            PaintFrameOrRect(type);
            return;
        }
        QLabel::paintEvent(e);
    }

    void resizeEvent(QResizeEvent* e) override
    {
        QLabel::resizeEvent(e);
        if (IsElided())
            Refresh();
    }

    void changeEvent(QEvent* e) override
    {
        QLabel::changeEvent(e);
        if (e->type() == QEvent::FontChange && IsElided())
            Refresh();
    }

    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QLabel::mouseReleaseEvent(e);
        if ((m_style & SS_NOTIFY) && e->button() == Qt::LeftButton &&
            rect().contains(e->position().toPoint()))
            Notify(STN_CLICKED);
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        QLabel::mouseDoubleClickEvent(e);
        if ((m_style & SS_NOTIFY) && e->button() == Qt::LeftButton)
            Notify(STN_DBLCLK);
    }

private:
    bool IsElided() const { return (m_style & (SS_PATHELLIPSIS | SS_ENDELLIPSIS)) != 0; }

    bool IsFrameOrRect() const
    {
        const DWORD type = m_style & SS_TYPEMASK;
        return (type >= SS_BLACKRECT && type <= SS_WHITEFRAME) ||
               (type >= SS_ETCHEDHORZ && type <= SS_ETCHEDFRAME);
    }

    void PaintFrameOrRect(DWORD type)
    {
        QPainter p(this);
        const QRect r = rect();
        const QColor black = SysQColor(COLOR_WINDOWFRAME);
        const QColor gray = SysQColor(COLOR_BTNSHADOW);
        const QColor white = SysQColor(COLOR_WINDOW);
        const QColor light = SysQColor(COLOR_BTNHIGHLIGHT);
        switch (type) {
        case SS_BLACKRECT:
            p.fillRect(r, black);
            break;
        case SS_GRAYRECT:
            p.fillRect(r, gray);
            break;
        case SS_WHITERECT:
            p.fillRect(r, white);
            break;
        case SS_BLACKFRAME:
            p.setPen(black);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            break;
        case SS_GRAYFRAME:
            p.setPen(gray);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            break;
        case SS_WHITEFRAME:
            p.setPen(white);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            break;
        case SS_ETCHEDHORZ:
            p.setPen(gray);
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            p.setPen(light);
            p.drawLine(r.left(), r.top() + 1, r.right(), r.top() + 1);
            break;
        case SS_ETCHEDVERT:
            p.setPen(gray);
            p.drawLine(r.left(), r.top(), r.left(), r.bottom());
            p.setPen(light);
            p.drawLine(r.left() + 1, r.top(), r.left() + 1, r.bottom());
            break;
        case SS_ETCHEDFRAME:
            p.setPen(light);
            p.drawRect(r.adjusted(1, 1, -1, -1));
            p.setPen(gray);
            p.drawRect(r.adjusted(0, 0, -2, -2));
            break;
        default:
            break;
        }
    }

    void Refresh()
    {
        const DWORD type = m_style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP || IsFrameOrRect() || type == SS_OWNERDRAW) {
            update();
            return;
        }
        // Without SS_NOPREFIX "&" marks a mnemonic: shown by Qt when the static has a
        // control to hand the focus to, otherwise left out as the system leaves it out of
        // sight.
        if (IsElided()) {
            // A path loses its middle, any other text its end; the whole text is the tip.
            const QString whole = (m_style & SS_NOPREFIX) ? m_text : AfxStripMnemonics(m_text);
            const QString shown =
                (m_style & SS_PATHELLIPSIS)
                    ? ElidePath(fontMetrics(), whole, contentsRect().width())
                    : fontMetrics().elidedText(whole, Qt::ElideRight, contentsRect().width());
            setTextFormat(Qt::PlainText);
            setText(shown);
            setToolTip(shown == whole ? QString() : whole);
        } else if (m_style & SS_NOPREFIX) {
            setTextFormat(Qt::PlainText);
            setText(m_text);
        } else if (m_hasBuddy) {
            setText(m_text);
        } else {
            setText(AfxStripMnemonics(m_text));
        }
    }

    DWORD m_style;
    QString m_text;
    QImage m_picture;
    bool m_hasBuddy = false;
};

QWidget* CreateStatic(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    auto* w = new CStaticWidget(parent, static_cast<DWORD>(cs.style));
    w->setFont(AfxWidgetFontFromHandle(nullptr));
    w->SetSystemText(AfxCp932ToQString(cs.lpszName));
    return w;
}

LRESULT StaticProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    auto* w = pState ? dynamic_cast<CStaticWidget*>(pState->widget.data()) : nullptr;
    if (!w) {
        *pbHandled = FALSE;
        return 0;
    }
    switch (nMsg) {
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        pState->text = text ? text : "";
        w->SetSystemText(AfxCp932ToQString(text));
        return TRUE;
    }
    case WM_GETTEXT:
        return AfxCopyTextToBuffer(AfxQStringToCp932(w->SystemText()), wParam, lParam);
    case WM_GETTEXTLENGTH:
        return AfxCp932LengthOf(w->SystemText());
    case WM_SETFONT:
        w->setFont(AfxWidgetFontFromHandle(reinterpret_cast<HFONT>(wParam)));
        *pbHandled = FALSE;
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case STM_SETIMAGE:
    case STM_SETICON: {
        if (nMsg == STM_SETIMAGE && wParam != IMAGE_BITMAP)
            return 0;
        HANDLE hOld = pState->hIcon;
        pState->hIcon = static_cast<HICON>(reinterpret_cast<void*>(lParam));
        QImage image;
        if (nMsg == STM_SETIMAGE && lParam) {
            if (auto* pData = CGdiData::From(reinterpret_cast<HGDIOBJ>(lParam)))
                image = pData->image;
        }
        w->SetPicture(image);
        return reinterpret_cast<LRESULT>(hOld);
    }
    case STM_GETIMAGE:
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(pState->hIcon);
    default:
        *pbHandled = FALSE;
        return 0;
    }
}

} // namespace

void AfxSetStaticBuddy(HWND hStatic, HWND hBuddy)
{
    CWndState* pState = AfxGetWndState(hStatic);
    CWndState* pBuddy = AfxGetWndState(hBuddy);
    if (auto* w = pState ? dynamic_cast<CStaticWidget*>(pState->widget.data()) : nullptr)
        w->SetBuddyWidget(pBuddy ? pBuddy->widget.data() : nullptr);
}

void AfxRegisterStaticClass()
{
    CWndClassInfo info;
    info.name = "STATIC";
    info.createWidget = CreateStatic;
    info.wndProc = StaticProc;
    AfxRegisterClassInfo(info);
}
