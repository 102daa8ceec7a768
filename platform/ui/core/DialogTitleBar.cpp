#include "platform/ui/core/DialogTitleBar_p.h"

#include "platform/ui/core/CWndFrameWidget_p.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#if defined(MORVEL_HAVE_XCB)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#endif

#if defined(MORVEL_HAVE_XCB)
namespace {

struct CFreeReply {
    void operator()(void* p) const { std::free(p); }
};

xcb_atom_t InternAtom(xcb_connection_t* pConnection, const char* lpszName)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(pConnection, 0, static_cast<uint16_t>(std::strlen(lpszName)), lpszName);
    const std::unique_ptr<xcb_intern_atom_reply_t, CFreeReply> pReply(
        xcb_intern_atom_reply(pConnection, cookie, nullptr));
    return pReply ? pReply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The first window value of a window property, or none.
xcb_window_t WindowProperty(xcb_connection_t* pConnection, xcb_window_t window, xcb_atom_t property)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(pConnection, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
    const std::unique_ptr<xcb_get_property_reply_t, CFreeReply> pReply(
        xcb_get_property_reply(pConnection, cookie, nullptr));
    if (!pReply || xcb_get_property_value_length(pReply.get()) < static_cast<int>(sizeof(xcb_window_t)))
        return XCB_WINDOW_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(pReply.get()));
}

// The running window manager's name, as it announces itself on the screen's root window
// (the check window of the desktop's window-manager hints); empty without one.
std::string WindowManagerName(xcb_connection_t* pConnection)
{
    const xcb_setup_t* pSetup = xcb_get_setup(pConnection);
    const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(pSetup);
    if (screen.rem == 0)
        return std::string();
    const xcb_window_t check =
        WindowProperty(pConnection, screen.data->root, InternAtom(pConnection, "_NET_SUPPORTING_WM_CHECK"));
    if (check == XCB_WINDOW_NONE)
        return std::string();
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(pConnection, 0, check, InternAtom(pConnection, "_NET_WM_NAME"),
                         InternAtom(pConnection, "UTF8_STRING"), 0, 64);
    const std::unique_ptr<xcb_get_property_reply_t, CFreeReply> pReply(
        xcb_get_property_reply(pConnection, cookie, nullptr));
    if (!pReply)
        return std::string();
    return std::string(static_cast<const char*>(xcb_get_property_value(pReply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(pReply.get())));
}

// Whether the window manager decorates by the window's type only (it leaves the buttons
// that the window's hints take away): asked once, the window manager of a session stays.
bool DecoratesByTypeOnly(xcb_connection_t* pConnection)
{
    static const bool s_bByType = WindowManagerName(pConnection) == "Openbox";
    return s_bByType;
}

} // namespace
#endif

namespace {

// The caption of a dialog whose window manager draws none: the dialog's icon and title, and a
// close box that closes the dialog as the window manager's would. Dragging it moves the
// window through the window manager.
class CDialogCaption : public QWidget {
public:
    explicit CDialogCaption(QWidget* pDialog) : QWidget(pDialog), m_pDialog(pDialog)
    {
        setObjectName(QStringLiteral("morvelDialogCaption"));
        setFocusPolicy(Qt::NoFocus);
        m_pClose = new QToolButton(this);
        m_pClose->setObjectName(QStringLiteral("morvelDialogCaptionClose"));
        m_pClose->setAutoRaise(true);
        m_pClose->setFocusPolicy(Qt::NoFocus);
        m_pClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, this));
        connect(m_pClose, &QToolButton::clicked, pDialog, &QWidget::close);
        pDialog->installEventFilter(this);
        Place();
        // Made while the dialog is being shown, after its children were: shown by itself.
        show();
    }

    // The height of the caption: a line of its bold text and a little room.
    static int HeightFor(const QWidget* pDialog)
    {
        (void)pDialog;
        return QFontMetrics(CaptionFont()).height() + 8;
    }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pWatched == m_pDialog) {
            switch (pEvent->type()) {
            case QEvent::Resize:
                Place();
                break;
            case QEvent::WindowTitleChange:
            case QEvent::WindowIconChange:
            case QEvent::WindowActivate:
            case QEvent::WindowDeactivate:
                update();
                break;
            default:
                break;
            }
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const bool bActive = m_pDialog->isActiveWindow();
        const QPalette::ColorGroup group = bActive ? QPalette::Active : QPalette::Inactive;
        const QColor base =
            bActive ? palette().color(group, QPalette::Highlight) : palette().color(group, QPalette::Mid);
        QLinearGradient fill(0, 0, 0, height());
        fill.setColorAt(0, base.lighter(130));
        fill.setColorAt(1, base);
        p.fillRect(rect(), fill);
        const int nIcon = height() - 6;
        const QIcon icon = m_pDialog->windowIcon();
        if (!icon.isNull())
            icon.paint(&p, QRect(3, 3, nIcon, nIcon));
        p.setFont(CaptionFont());
        p.setPen(bActive ? palette().color(group, QPalette::HighlightedText)
                         : palette().color(group, QPalette::Text));
        const QRect text = rect().adjusted(nIcon + 8, 0, -(m_pClose->width() + 8), 0);
        p.drawText(
            text, Qt::AlignCenter,
            QFontMetrics(CaptionFont()).elidedText(m_pDialog->windowTitle(), Qt::ElideRight, text.width()));
    }

    void mousePressEvent(QMouseEvent* pEvent) override
    {
        if (pEvent->button() == Qt::LeftButton && m_pDialog->windowHandle() != nullptr)
            m_pDialog->windowHandle()->startSystemMove();
    }

private:
    static QFont CaptionFont()
    {
        QFont font = QApplication::font();
        font.setBold(true);
        return font;
    }
    void Place()
    {
        const int cy = HeightFor(m_pDialog);
        setGeometry(0, 0, m_pDialog->width(), cy);
        m_pClose->setGeometry(width() - cy + 1, 1, cy - 2, cy - 2);
        raise();
    }

    QWidget* m_pDialog;
    QToolButton* m_pClose = nullptr;
};

#if defined(MORVEL_HAVE_XCB)
// Asks the window manager for a border without a title bar (the Motif hints the desktop's
// window managers read: flags, functions, decorations, input mode, status).
void AskForBorderOnly(xcb_connection_t* pConnection, xcb_window_t window)
{
    const xcb_atom_t hints = InternAtom(pConnection, "_MOTIF_WM_HINTS");
    uint32_t values[5] = {0, 0, 0, 0, 0};
    const xcb_get_property_cookie_t cookie = xcb_get_property(pConnection, 0, window, hints, hints, 0, 5);
    const std::unique_ptr<xcb_get_property_reply_t, CFreeReply> pReply(
        xcb_get_property_reply(pConnection, cookie, nullptr));
    if (pReply && xcb_get_property_value_length(pReply.get()) == static_cast<int>(sizeof(values)))
        std::memcpy(values, xcb_get_property_value(pReply.get()), sizeof(values));
    constexpr uint32_t kDecorationsGiven = 1u << 1;
    constexpr uint32_t kBorder = 1u << 1;
    values[0] |= kDecorationsGiven;
    values[2] = kBorder;
    xcb_change_property(pConnection, XCB_PROP_MODE_REPLACE, window, hints, hints, 32, 5, values);
    xcb_flush(pConnection);
}
#endif

} // namespace

namespace {

constexpr const char* kWindowRectPlaced = "morvelWindowRectPlaced";

[[maybe_unused]] bool WindowRectPlaced(const QWidget* pWindow)
{
    return pWindow->property(kWindowRectPlaced).toBool();
}

} // namespace

void AfxMarkWindowRectPlaced(QWidget* pWindow, bool bPlaced)
{
    if (pWindow != nullptr)
        pWindow->setProperty(kWindowRectPlaced, bPlaced);
}

void AfxPrepareDialogTitleBar(QWidget* pWindow)
{
#if defined(MORVEL_HAVE_XCB)
    // A window-modal message box is a sheet, which is a dialog off macOS.
    if (pWindow == nullptr || !pWindow->isWindow() ||
        (pWindow->windowType() != Qt::Dialog && pWindow->windowType() != Qt::Sheet) ||
        (pWindow->windowFlags() & Qt::FramelessWindowHint) ||
        !pWindow->testAttribute(Qt::WA_WState_Created) ||
        pWindow->findChild<QWidget*>(QStringLiteral("morvelDialogCaption"), Qt::FindDirectChildrenOnly) !=
            nullptr)
        return;
    auto* pX11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* pConnection = pX11 != nullptr ? pX11->connection() : nullptr;
    if (pConnection == nullptr || !DecoratesByTypeOnly(pConnection))
        return;
    // The window stays a dialog to the window manager, which draws its border alone; the
    // caption above the dialog's contents is the program's, with a close box only.
    AskForBorderOnly(pConnection, static_cast<xcb_window_t>(pWindow->winId()));
    const int cy = CDialogCaption::HeightFor(pWindow);
    // What the window holds moves down below the caption (a layout places its widgets again
    // by the margin, a self-drawn window its client area; others, such as a property sheet's
    // tabs, are moved here).
    for (QWidget* pChild : pWindow->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!pChild->isWindow())
            pChild->move(pChild->x(), pChild->y() + cy);
    }
    new CDialogCaption(pWindow);
    const QMargins margins = pWindow->contentsMargins();
    pWindow->setContentsMargins(margins.left(), margins.top() + cy, margins.right(), margins.bottom());
    if (WindowRectPlaced(pWindow)) {
        // The rectangle the program gave is the whole window's (it was read back so when the
        // window last closed): the caption takes its top and the contents the rest.
        if (auto* pFrame = dynamic_cast<CWndFrameWidget*>(pWindow))
            pFrame->Relayout();
        return;
    }
    // As much room for the contents as before, and the contents where they were placed.
    const QSize size(pWindow->width(), pWindow->height() + cy);
    if (pWindow->minimumSize() == pWindow->maximumSize())
        pWindow->setFixedSize(size);
    else
        pWindow->resize(size);
    pWindow->move(pWindow->x(), std::max(0, pWindow->y() - cy));
#else
    (void)pWindow;
#endif
}
