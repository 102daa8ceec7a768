// Keyboard and mouse input as window messages: virtual-key codes, code page 932 characters
// (input-method commits included), MK_ flags, double clicks, the wheel, context menus, the
// application's pre-translation and accelerators.
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"

#include "UiTestSupport.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

// An application whose pre-translation can be told to eat messages.
class CTestApp : public CWinApp {
public:
    std::vector<MSG> seen;
    UINT eat = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        seen.push_back(*pMsg);
        if (eat && pMsg->message == eat)
            return TRUE;
        return CWinApp::PreTranslateMessage(pMsg);
    }
};

class CKeyWnd : public CRecorderWnd {
public:
    HACCEL m_hAccel = nullptr;
    std::vector<UINT> commands;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        return m_hAccel && ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(LOWORD(static_cast<DWORD>(wParam)));
        return CWnd::OnCommand(wParam, lParam);
    }
};

std::vector<BYTE> CharBytes(const CRecorderWnd& wnd)
{
    std::vector<BYTE> bytes;
    for (const auto& m : wnd.log) {
        if (m.message == WM_CHAR)
            bytes.push_back(static_cast<BYTE>(m.wParam));
    }
    return bytes;
}

void SendKey(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers mods, const QString& text,
             bool autoRepeat = false)
{
    QKeyEvent ev(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(w, &ev);
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, mods);
    QApplication::sendEvent(w, &ev);
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateTopLevel());
        PumpEvents();
        wnd.SetFocus();
        client = wnd.GetClientWidget();
        wnd.log.clear();
    }
    void TearDown() override
    {
        wnd.DestroyWindow();
        PumpEvents();
    }
    CTestApp app;
    CKeyWnd wnd;
    QWidget* client = nullptr;
};

} // namespace

TEST_F(InputTest, HalfWidthKatakanaIsOneByteAndHiraganaTwoLeadFirst)
{
    SendKey(client, QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("ｱ"));
    EXPECT_EQ(CharBytes(wnd), (std::vector<BYTE>{0xB1}));
    wnd.log.clear();
    SendKey(client, QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("あ"));
    EXPECT_EQ(CharBytes(wnd), (std::vector<BYTE>{0x82, 0xA0}));
}

TEST_F(InputTest, InputMethodCommitArrivesAsCharacterBytes)
{
    QInputMethodEvent ev;
    ev.setCommitString(QString::fromUtf8("表ｱa"));
    QApplication::sendEvent(client, &ev);
    // "表" is 0x95 0x5C: its trail byte is the backslash code and must stay a trail byte.
    EXPECT_EQ(CharBytes(wnd), (std::vector<BYTE>{0x95, 0x5C, 0xB1, 'a'}));
    EXPECT_TRUE(wnd.Messages(WM_KEYDOWN).empty());
}

TEST_F(InputTest, YenSignAndBackslashBothType5C)
{
    SendKey(client, QEvent::KeyPress, Qt::Key_yen, Qt::NoModifier, QString::fromUtf8("¥"));
    SendKey(client, QEvent::KeyPress, Qt::Key_Backslash, Qt::NoModifier, QStringLiteral("\\"));
    EXPECT_EQ(CharBytes(wnd), (std::vector<BYTE>{0x5C, 0x5C}));
}

TEST_F(InputTest, KeysBecomeVirtualKeyCodes)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        UINT vk;
    };
    const Case cases[] = {
        {Qt::Key_Left, Qt::NoModifier, VK_LEFT},
        {Qt::Key_Down, Qt::NoModifier, VK_DOWN},
        {Qt::Key_PageUp, Qt::NoModifier, VK_PRIOR},
        {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
        {Qt::Key_Home, Qt::NoModifier, VK_HOME},
        {Qt::Key_End, Qt::NoModifier, VK_END},
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE},
        {Qt::Key_Tab, Qt::NoModifier, VK_TAB},
        {Qt::Key_Backspace, Qt::NoModifier, VK_BACK},
        {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_Insert, Qt::NoModifier, VK_INSERT},
        {Qt::Key_F2, Qt::NoModifier, VK_F2},
        {Qt::Key_F7, Qt::NoModifier, VK_F7},
        {Qt::Key_A, Qt::ShiftModifier, 'A'},
        {Qt::Key_7, Qt::NoModifier, '7'},
        {Qt::Key_5, Qt::KeypadModifier, VK_NUMPAD5},
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},
        {Qt::Key_Minus, Qt::KeypadModifier, VK_SUBTRACT},
        {Qt::Key_Shift, Qt::ShiftModifier, VK_SHIFT},
        {Qt::Key_Control, Qt::ControlModifier, VK_CONTROL},
    };
    for (const Case& c : cases) {
        wnd.log.clear();
        SendKey(client, QEvent::KeyPress, c.key, c.mods, QString());
        auto downs = wnd.Messages(WM_KEYDOWN);
        ASSERT_EQ(downs.size(), 1u) << "key " << c.key;
        EXPECT_EQ(downs[0].wParam, c.vk) << "key " << c.key;
        EXPECT_EQ(LOWORD(static_cast<DWORD>(downs[0].lParam)), 1) << "repeat count";
    }
    // Shift and Ctrl went down above; they go up again, or the tests after this one would
    // run with them held.
    SendKey(client, QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, QString());
    SendKey(client, QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier, QString());
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST_F(InputTest, KeyUpAndRepeatCarryTheirLParamBits)
{
    SendKey(client, QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    SendKey(client, QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier, QString());
    auto down = wnd.Messages(WM_KEYDOWN);
    auto up = wnd.Messages(WM_KEYUP);
    ASSERT_EQ(down.size(), 1u);
    ASSERT_EQ(up.size(), 1u);
    const DWORD d = static_cast<DWORD>(down[0].lParam);
    const DWORD u = static_cast<DWORD>(up[0].lParam);
    EXPECT_NE(d & (1u << 24), 0u) << "arrows are extended keys";
    EXPECT_NE(d & (1u << 30), 0u) << "auto-repeat: the key was down before";
    EXPECT_EQ(d & (1u << 31), 0u);
    EXPECT_NE(u & (1u << 31), 0u) << "release is a transition up";
}

TEST_F(InputTest, ControlLetterTypesAControlCharacterAndDeleteTypesNothing)
{
    SendKey(client, QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    EXPECT_LT(::GetKeyState(VK_CONTROL), 0) << "Control is down with the key";
    SendKey(client, QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    EXPECT_EQ(::GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(CharBytes(wnd), (std::vector<BYTE>{3}));
}

TEST_F(InputTest, AltCombinationIsASystemKey)
{
    SendKey(client, QEvent::KeyPress, Qt::Key_Delete, Qt::AltModifier, QString());
    auto sys = wnd.Messages(WM_SYSKEYDOWN);
    ASSERT_EQ(sys.size(), 1u);
    EXPECT_EQ(sys[0].wParam, VK_DELETE);
    EXPECT_NE(static_cast<DWORD>(sys[0].lParam) & (1u << 29), 0u);
    EXPECT_TRUE(wnd.Messages(WM_KEYDOWN).empty());
}

TEST_F(InputTest, MouseMessagesCarryClientPointAndKeyFlags)
{
    SendMouse(client, QEvent::MouseButtonPress, QPoint(12, 34), Qt::LeftButton, Qt::LeftButton,
              Qt::ShiftModifier);
    SendMouse(client, QEvent::MouseMove, QPoint(15, 35), Qt::NoButton, Qt::LeftButton | Qt::RightButton,
              Qt::ControlModifier);
    SendMouse(client, QEvent::MouseButtonRelease, QPoint(15, 35), Qt::LeftButton, Qt::NoButton);
    auto down = wnd.Messages(WM_LBUTTONDOWN);
    auto move = wnd.Messages(WM_MOUSEMOVE);
    auto up = wnd.Messages(WM_LBUTTONUP);
    ASSERT_EQ(down.size(), 1u);
    ASSERT_EQ(move.size(), 1u);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(down[0].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(GET_X_LPARAM(down[0].lParam), 12);
    EXPECT_EQ(GET_Y_LPARAM(down[0].lParam), 34);
    EXPECT_EQ(move[0].wParam, MK_LBUTTON | MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(up[0].wParam, 0u);
    // The cursor shape is asked for before each mouse message.
    EXPECT_EQ(wnd.Messages(WM_SETCURSOR).size(), 3u);
}

TEST_F(InputTest, DoubleClickNeedsTheClassStyle)
{
    SendMouse(client, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton, Qt::LeftButton);
    SendMouse(client, QEvent::MouseButtonRelease, QPoint(1, 1), Qt::LeftButton, Qt::NoButton);
    SendMouse(client, QEvent::MouseButtonDblClick, QPoint(1, 1), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(wnd.Messages(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(wnd.Messages(WM_LBUTTONDBLCLK).size(), 1u);

    CRecorderWnd plain;
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_CROSS));
    ASSERT_TRUE(plain.CreateEx(0, cls, "p", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr));
    EXPECT_EQ(plain.GetClassStyle(), 0u);
    SendMouse(plain.GetClientWidget(), QEvent::MouseButtonDblClick, QPoint(1, 1), Qt::LeftButton,
              Qt::LeftButton);
    EXPECT_EQ(plain.Messages(WM_LBUTTONDOWN).size(), 1u) << "without CS_DBLCLKS the second click is a click";
    EXPECT_TRUE(plain.Messages(WM_LBUTTONDBLCLK).empty());
    plain.DestroyWindow();
}

TEST_F(InputTest, WheelGivesWholeNotchesInScreenCoordinates)
{
    const QPoint local(20, 30);
    const QPoint global = client->mapToGlobal(local);
    auto wheel = [&](int dy) {
        QWheelEvent ev(QPointF(local), QPointF(global), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(client, &ev);
    };
    wheel(-240);
    wheel(60);
    wheel(60);
    auto w = wnd.Messages(WM_MOUSEWHEEL);
    ASSERT_EQ(w.size(), 2u) << "two half notches make one";
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(w[0].wParam), -240);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(w[1].wParam), 120);
    EXPECT_EQ(GET_X_LPARAM(w[0].lParam), global.x());
    EXPECT_EQ(GET_Y_LPARAM(w[0].lParam), global.y());
}

TEST_F(InputTest, RightButtonUpAsksForTheContextMenuAtTheScreenPoint)
{
    SendMouse(client, QEvent::MouseButtonPress, QPoint(7, 8), Qt::RightButton, Qt::RightButton);
    SendMouse(client, QEvent::MouseButtonRelease, QPoint(7, 8), Qt::RightButton, Qt::NoButton);
    auto cm = wnd.Messages(WM_CONTEXTMENU);
    ASSERT_EQ(cm.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(cm[0].wParam), wnd.m_hWnd);
    const QPoint global = client->mapToGlobal(QPoint(7, 8));
    EXPECT_EQ(GET_X_LPARAM(cm[0].lParam), global.x());
    EXPECT_EQ(GET_Y_LPARAM(cm[0].lParam), global.y());
}

TEST_F(InputTest, PreTranslateSeesInputFirstAndCanEatIt)
{
    app.seen.clear();
    app.eat = WM_KEYDOWN;
    SendKey(client, QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    ASSERT_FALSE(app.seen.empty());
    EXPECT_EQ(app.seen[0].message, WM_KEYDOWN);
    EXPECT_EQ(app.seen[0].hwnd, wnd.m_hWnd);
    EXPECT_TRUE(wnd.Messages(WM_KEYDOWN).empty());
    EXPECT_TRUE(wnd.Messages(WM_CHAR).empty()) << "an eaten key types no character";
    app.eat = 0;
}

TEST_F(InputTest, AcceleratorSendsItsCommandInsteadOfTheKey)
{
    RegisterAcceleratorResource(
        9001,
        {{FVIRTKEY | FCONTROL, 'O', 57601}, {FVIRTKEY, VK_F7, 40100}, {FVIRTKEY | FALT, VK_DELETE, 40101}});
    wnd.m_hAccel = AfxLoadAccelerators(9001);
    ASSERT_NE(wnd.m_hAccel, nullptr);
    SendKey(client, QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QString(QChar(15)));
    SendKey(client, QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, QStringLiteral("o"));
    SendKey(client, QEvent::KeyPress, Qt::Key_F7, Qt::NoModifier, QString());
    SendKey(client, QEvent::KeyPress, Qt::Key_Delete, Qt::AltModifier, QString());
    EXPECT_EQ(wnd.commands, (std::vector<UINT>{57601, 40100, 40101}));
    EXPECT_EQ(CharBytes(wnd), (std::vector<BYTE>{'o'})) << "Ctrl+O typed nothing";
    wnd.m_hAccel = nullptr;
}
