// A modeless dialog on a real X display with a window manager (tests/support/run_on_xvfb.sh
// runs this under Xvfb with openbox, the keys pressed by xdotool on the X server): the dialog
// the user opens from the grid takes what the user types next, and the grid has the keyboard
// again once the dialog is closed. Without an X display the test skips itself.
#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "resources/EstimateEditIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/XDisplay.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#if defined(MORVEL_HAVE_XCB)
#include <xcb/xcb.h>

#include <cstring>
#endif

namespace {

// Keys pressed on the X server, as the keyboard would: they go to the window that has the
// input focus there.
void PressOnServer(const std::string& xdotoolArguments)
{
    const std::string command = "xdotool " + xdotoolArguments;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

#if defined(MORVEL_HAVE_XCB)
xcb_atom_t Atom(xcb_connection_t* c, const char* lpszName)
{
    xcb_intern_atom_reply_t* pReply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(lpszName)), lpszName), nullptr);
    const xcb_atom_t atom = pReply != nullptr ? pReply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(pReply);
    return atom;
}

// Waits until the window manager has handled everything the program asked of it so far (to
// map, activate or unmap a window): a question sent after those requests, on the program's
// own connection, is answered after them. The question is the frame a window would get,
// asked for a window made for it; the answer is a property on that window.
::testing::AssertionResult WindowManagerCaughtUp()
{
    auto* pX11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (pX11 == nullptr)
        return ::testing::AssertionFailure() << "no X connection";
    xcb_connection_t* c = pX11->connection();
    const xcb_screen_t* pScreen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, pScreen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, pScreen->root_visual, 0, nullptr);
    const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = probe;
    request.type = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c, 0, pScreen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    const auto answered = [c, probe, extents] {
        xcb_get_property_reply_t* pReply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, probe, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr);
        const bool bSet = pReply != nullptr && xcb_get_property_value_length(pReply) > 0;
        std::free(pReply);
        return bSet;
    };
    ::testing::AssertionResult result = WaitUntil(answered, "the window manager to answer a question");
    xcb_destroy_window(c, probe);
    xcb_flush(c);
    return result;
}
#endif

class ModelessDialogKeyboard : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        if (!OnXDisplay() || std::system("xdotool version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "needs an X display with a window manager and xdotool "
                            "(run_on_xvfb.sh ... openbox xdotool)";
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
    }

    CReplaceDialog* Replace() const { return static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog()); }
    std::string Field(int nID) const
    {
        CString text;
        Replace()->GetDlgItemText(nID, text);
        return text.ToUtf8();
    }
};

} // namespace

TEST_F(ModelessDialogKeyboard, TheReplaceDialogTakesTheKeysTypedAfterItOpensAndGivesThemBackWhenItCloses)
{
#if !defined(MORVEL_HAVE_XCB)
    GTEST_SKIP() << "needs the X connection library";
#else
    QWidget* pMain = m_pApp->m_pMainWnd->GetWidget();
    ASSERT_TRUE(WaitUntil([pMain] { return QApplication::activeWindow() == pMain; },
                          "the window manager to give the main window the keyboard"));
    const std::string before = Cell(srKind, scName);

    PressOnServer("key ctrl+h");
    ASSERT_TRUE(WaitUntil(
        [this] {
            return Replace() != nullptr && Replace()->GetWidget()->windowHandle() != nullptr &&
                   Replace()->GetWidget()->windowHandle()->isExposed();
        },
        "the replace dialog to open on the screen"));
    ASSERT_TRUE(WindowManagerCaughtUp());

    // What a user types next: the text to find, Tab, the text to put in its place.
    PressOnServer("type 128.50");
    PressOnServer("key Tab");
    PressOnServer("type 200");
    ASSERT_TRUE(WaitUntil(
        [this] {
            return Field(IDC_REPLACE_TEXT) == "200" || EditorText().find("200") != std::string::npos ||
                   Utf8Cell(srKind, scName).find("200") != std::string::npos;
        },
        "the typed text to arrive in the dialog or in the grid"));
    EXPECT_EQ(Field(IDC_FIND_TEXT), "128.50");
    EXPECT_EQ(Cell(srKind, scName), before);
    ASSERT_FALSE(EditorVisible()) << "the grid's editor opened with \"" << EditorText() << "\"";
    ASSERT_EQ(Field(IDC_REPLACE_TEXT), "200");

    // Escape closes the dialog; what is typed then goes into the grid's current cell.
    PressOnServer("key Escape");
    ASSERT_TRUE(WaitUntil([this] { return Replace() == nullptr; }, "the replace dialog to close"));
    ASSERT_TRUE(WindowManagerCaughtUp());
    PressOnServer("type 7");
    ASSERT_TRUE(WaitUntil([this] { return EditorVisible() && EditorText() == "7"; },
                          "the typed 7 to open the grid's editor"));
#endif
}
