#include "platform/ui/core/DialogTitleBar_p.h"

#include <QGuiApplication>
#include <QWidget>

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

void AfxPrepareDialogTitleBar(QWidget* pWindow)
{
#if defined(MORVEL_HAVE_XCB)
    // A window-modal message box is a sheet, which is a dialog off macOS.
    if (pWindow == nullptr || !pWindow->isWindow() ||
        (pWindow->windowType() != Qt::Dialog && pWindow->windowType() != Qt::Sheet) ||
        (pWindow->windowFlags() & Qt::FramelessWindowHint) || !pWindow->testAttribute(Qt::WA_WState_Created))
        return;
    auto* pX11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* pConnection = pX11 != nullptr ? pX11->connection() : nullptr;
    if (pConnection == nullptr || !DecoratesByTypeOnly(pConnection))
        return;
    // The tool-bar type first: Openbox takes the first type it knows and shows such a window
    // without minimise and maximise boxes; the dialog type after it names what it is.
    const xcb_atom_t types[] = {InternAtom(pConnection, "_NET_WM_WINDOW_TYPE_TOOLBAR"),
                                InternAtom(pConnection, "_NET_WM_WINDOW_TYPE_DIALOG")};
    xcb_change_property(pConnection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(pWindow->winId()),
                        InternAtom(pConnection, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 2, types);
    xcb_flush(pConnection);
#else
    (void)pWindow;
#endif
}
