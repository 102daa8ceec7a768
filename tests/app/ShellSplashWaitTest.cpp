// The start-up picture and the wait dialog.
#include "app/CSplashWindow.h"
#include "app/CWaitDialog.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/MessageBoxUi.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"
#include "tests/support/EventWait.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>

namespace {

class ShellSplash : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterMorvelResources();
        CSplashWindow::EnableSplash(TRUE);
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
    }
    void TearDown() override
    {
        if (CSplashWindow* pSplash = CSplashWindow::GetSplashWindow())
            pSplash->HideSplash();
        m_pFrame->DestroyWindow();
        CSplashWindow::EnableSplash(TRUE);
    }

    CFrameWnd* m_pFrame = nullptr;
};

MSG MakeMessage(CWnd* pWnd, UINT message)
{
    MSG msg{};
    msg.hwnd = pWnd->GetSafeHwnd();
    msg.message = message;
    return msg;
}

} // namespace

TEST_F(ShellSplash, ThePictureIsFiveHundredTwentyByThreeHundredSeventeenCentredOnTheScreen)
{
    CSplashWindow::ShowSplash(m_pFrame);
    CSplashWindow* pSplash = CSplashWindow::GetSplashWindow();
    ASSERT_NE(pSplash, nullptr);
    EXPECT_TRUE(pSplash->IsWindowVisible());
    CRect rect;
    pSplash->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 520);
    EXPECT_EQ(rect.Height(), 317);
    CRect client;
    pSplash->GetClientRect(&client);
    EXPECT_EQ(client.Width(), 520);
    EXPECT_EQ(client.Height(), 317);
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(rect.left, (cxScreen - 520) / 2, 1);
    EXPECT_NEAR(rect.top, (cyScreen - 317) / 2, 1);
    EXPECT_EQ(pSplash->GetStyle() & WS_CAPTION, 0u);
}

TEST_F(ShellSplash, ASecondShowWhileThePictureIsShownDoesNothing)
{
    CSplashWindow::ShowSplash(m_pFrame);
    CSplashWindow* pFirst = CSplashWindow::GetSplashWindow();
    ASSERT_NE(pFirst, nullptr);
    CSplashWindow::ShowSplash(m_pFrame);
    EXPECT_EQ(CSplashWindow::GetSplashWindow(), pFirst);
}

TEST_F(ShellSplash, AKeyPressHidesThePictureAndStillReachesItsTarget)
{
    CSplashWindow::ShowSplash(m_pFrame);
    ASSERT_NE(CSplashWindow::GetSplashWindow(), nullptr);
    // Other messages leave it.
    MSG move = MakeMessage(m_pFrame, WM_MOUSEMOVE);
    EXPECT_FALSE(CSplashWindow::FilterAppMessage(&move));
    EXPECT_NE(CSplashWindow::GetSplashWindow(), nullptr);
    MSG key = MakeMessage(m_pFrame, WM_KEYDOWN);
    key.wParam = 'A';
    EXPECT_FALSE(CSplashWindow::FilterAppMessage(&key));
    EXPECT_EQ(CSplashWindow::GetSplashWindow(), nullptr);
}

TEST_F(ShellSplash, MouseButtonsAnywhereHideThePicture)
{
    for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_NCLBUTTONDOWN, WM_SYSKEYDOWN}) {
        CSplashWindow::ShowSplash(m_pFrame);
        ASSERT_NE(CSplashWindow::GetSplashWindow(), nullptr);
        MSG msg = MakeMessage(m_pFrame, message);
        EXPECT_FALSE(CSplashWindow::FilterAppMessage(&msg));
        EXPECT_EQ(CSplashWindow::GetSplashWindow(), nullptr) << message;
    }
}

TEST_F(ShellSplash, TheTimerTakesThePictureAway)
{
    CSplashWindow::ShowSplash(m_pFrame);
    CSplashWindow* pSplash = CSplashWindow::GetSplashWindow();
    ASSERT_NE(pSplash, nullptr);
    pSplash->SendMessage(WM_TIMER, 1);
    EXPECT_EQ(CSplashWindow::GetSplashWindow(), nullptr);
}

TEST_F(ShellSplash, SwitchedOffShowsNothing)
{
    CSplashWindow::EnableSplash(FALSE);
    CSplashWindow::ShowSplash(m_pFrame);
    EXPECT_EQ(CSplashWindow::GetSplashWindow(), nullptr);
    MSG key = MakeMessage(m_pFrame, WM_KEYDOWN);
    EXPECT_FALSE(CSplashWindow::FilterAppMessage(&key));
}

TEST_F(ShellSplash, ThePictureIsPaintedIntoTheWindow)
{
    CSplashWindow::ShowSplash(m_pFrame);
    CSplashWindow* pSplash = CSplashWindow::GetSplashWindow();
    ASSERT_NE(pSplash, nullptr);
    pSplash->Invalidate(FALSE);
    pSplash->UpdateWindow();
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_SPLASH));
    CDC* pDC = pSplash->GetDC();
    ASSERT_NE(pDC, nullptr);
    CDC memDC;
    ASSERT_TRUE(memDC.CreateCompatibleDC(pDC));
    CBitmap* pOld = memDC.SelectObject(&bitmap);
    for (const CPoint point : {CPoint(5, 5), CPoint(260, 150), CPoint(510, 300)})
        EXPECT_EQ(pDC->GetPixel(point), memDC.GetPixel(point)) << point.x << "," << point.y;
    memDC.SelectObject(pOld);
    pSplash->ReleaseDC(pDC);
}

TEST(ShellWaitDialog, TheHourglassShowsWhileItIsUpAndTheArrowAfterwards)
{
    RegisterMorvelResources();
    {
        CWaitDialog dlg("再計算を行っています。"_sj, nullptr);
        ASSERT_TRUE(dlg.Create(IDD_WAIT, nullptr));
        EXPECT_TRUE(dlg.IsWindowVisible());
        CString strText;
        dlg.GetDlgItemText(IDC_WAIT_MESSAGE, strText);
        EXPECT_EQ(strText, "再計算を行っています。"_sj);
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
        EXPECT_EQ(CWnd::GetCapture(), &dlg);
        dlg.EndDialog(3);
    }
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST(ShellWaitDialog, EscDoesNotCloseItWhileTheOperationRuns)
{
    RegisterMorvelResources();
    CWaitDialog dlg("並べ替えを行っています。"_sj, nullptr);
    ASSERT_TRUE(dlg.Create(IDD_WAIT, nullptr));
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_NE(dlg.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(dlg.IsWindowVisible());
}

// A message that comes up while the wait dialog is up (a failed read) gets the mouse: a
// click on its button closes it, and the wait dialog is out of the way.
TEST(ShellWaitDialog, AMessageShownWhileItIsUpTakesTheMouseAndHidesIt)
{
    RegisterMorvelResources();
    // The real box, as the program shows it, for this test only: a test after it that meets
    // a message it does not answer would wait on a box nobody closes.
    struct CRealBoxes {
        MessageBoxHandler previous = SetMessageBoxHandler(nullptr);
        CRealBoxes() { AfxInstallMessageBoxUi(); }
        ~CRealBoxes() { SetMessageBoxHandler(previous); }
    } realBoxes;
    CWaitDialog dlg("見積処理ﾌｧｲﾙの読み込み中..."_sj, nullptr);
    ASSERT_TRUE(dlg.Create(IDD_WAIT, nullptr));
    ASSERT_EQ(CWnd::GetCapture(), &dlg);
    bool bBoxShown = false, bCaptureHeld = true, bWaitVisible = true, bClosedByClick = false;
    const CWhenReady click = WhenModalOpens<QMessageBox>(
        [&](QMessageBox& box) {
            bBoxShown = true;
            bCaptureHeld = CWnd::GetCapture() != nullptr;
            bWaitVisible = dlg.IsWindowVisible() != FALSE;
            // A click as the mouse makes it: press and release on the button.
            QAbstractButton* pButton = box.buttons().value(0);
            const QPointF at(pButton->width() / 2.0, pButton->height() / 2.0);
            const QPointF global = pButton->mapToGlobal(at);
            QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            QApplication::sendEvent(pButton, &press);
            QApplication::sendEvent(pButton, &release);
            bClosedByClick = !box.isVisible();
            if (!bClosedByClick)
                box.done(0); // the click did not reach it; end the test's box anyway
        },
        "the message box to open");
    AfxMessageBox("見積ﾌｧｲﾙではありません。"_sj, MB_OK);
    EXPECT_TRUE(bBoxShown);
    EXPECT_FALSE(bCaptureHeld);
    EXPECT_FALSE(bWaitVisible);
    EXPECT_TRUE(bClosedByClick);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}
