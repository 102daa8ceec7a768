// The application object's operations for the other windows: the row height from the row
// fonts, the printer margins and the commands it handles itself.
#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/ResourceIds.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

LOGFONT MakeFont(LONG lfHeight)
{
    LOGFONT lf{};
    lf.lfHeight = lfHeight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    const CString strFace = "ＭＳ ゴシック"_sj;
    std::memcpy(lf.lfFaceName, strFace.c_str(), static_cast<size_t>(strFace.GetLength()));
    return lf;
}

int TextHeight(CDC& dc, const LOGFONT& lf)
{
    CFont font;
    EXPECT_TRUE(font.CreateFontIndirect(&lf));
    CFont* pOld = dc.SelectObject(&font);
    const int cy = dc.GetTextExtent("asd").cy;
    dc.SelectObject(pOld);
    return cy;
}

} // namespace

TEST(ShellApp, RowHeightIsTheTallestRowFontButThePartsFont)
{
    CShellTestFolder folder;
    CMorvelApp app;
    for (LOGFONT& lf : app.m_lfRowFont)
        lf = MakeFont(-12);
    app.m_lfRowFont[CMorvelSettings::fontSum] = MakeFont(-24);
    // The parts font has its own grid and does not count.
    app.m_lfRowFont[CMorvelSettings::fontPart] = MakeFont(-60);

    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CFont* pBefore = dc.GetCurrentFont();
    const int nHeight = app.MeasureRowHeight(&dc);
    EXPECT_EQ(nHeight, TextHeight(dc, MakeFont(-24)) + 4);
    EXPECT_LT(nHeight, TextHeight(dc, MakeFont(-60)) + 4);
    EXPECT_GT(TextHeight(dc, MakeFont(-24)), TextHeight(dc, MakeFont(-12)));
    // The context's font is the one it had.
    EXPECT_EQ(dc.GetCurrentFont(), pBefore);
}

TEST(ShellApp, RowHeightWithUnsetFontsIsThatOfTheDefaultFont)
{
    CShellTestFolder folder;
    CMorvelApp app;
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    const LOGFONT empty{};
    const int nHeight = app.MeasureRowHeight(&dc);
    EXPECT_EQ(nHeight, TextHeight(dc, empty) + 4);
    EXPECT_GT(nHeight, 4);
}

TEST(ShellApp, PrinterMarginsAreTheUnprintableEdgesOfThePaper)
{
    CShellTestFolder folder;
    CMorvelApp app;
    CDialogAnswerer answerer;
    CDC dc;
    if (!app.CreatePrinterDC(dc)) {
        // Without a printer: the message and an empty rectangle.
        const CRect margins = app.GetPrinterMargins();
        EXPECT_TRUE(margins.IsRectNull());
        EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{"ﾌﾟﾘﾝﾀの情報を取得できません。"_sj});
        return;
    }
    const int dpiX = dc.GetDeviceCaps(LOGPIXELSX);
    const int dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    const int paperX = dc.GetDeviceCaps(PHYSICALWIDTH);
    const int paperY = dc.GetDeviceCaps(PHYSICALHEIGHT);
    const CRect margins = app.GetPrinterMargins();
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    EXPECT_GE(margins.left, 0);
    EXPECT_GE(margins.top, 0);
    EXPECT_GE(margins.right, 0);
    EXPECT_GE(margins.bottom, 0);
    // What is left is the printable area, in 0.01 inch.
    EXPECT_NEAR(paperX * 100 / dpiX - margins.left - margins.right, dc.GetDeviceCaps(HORZRES) * 100 / dpiX,
                2);
    EXPECT_NEAR(paperY * 100 / dpiY - margins.top - margins.bottom, dc.GetDeviceCaps(VERTRES) * 100 / dpiY,
                2);
    CRect out;
    app.GetPrinterMargins(&out);
    EXPECT_EQ(out, margins);
}

TEST(ShellApp, FileOpenAndNewStartFromTheWorkFolder)
{
    CShellTestFolder folder;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    SetCurrentDirectory(folder.System("FORM"));
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(CString());
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder.Native("WORK")));

    SetCurrentDirectory(folder.System("FORM"));
    // File New asks for the type; cancelling makes nothing.
    answerer.SetDefaultMessageBoxAnswer(IDOK);
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder.Native("WORK")));
    EXPECT_EQ(app->GetOpenDocumentCount(), 0);
}

TEST(ShellApp, TheApplicationsSettingsAreTheCurrentSettingsWhileItLives)
{
    CShellTestFolder folder;
    {
        CShellTestApp app;
        CMorvelSettings* pAppSettings = &app.App();
        EXPECT_EQ(CMorvelSettings::GetCurrent(), pAppSettings);
        // Settings made later (a tool's, a sheet's copy) do not take over.
        CProfileFile other(folder.System("other.ini"));
        CMorvelSettings otherSettings(other);
        EXPECT_EQ(CMorvelSettings::GetCurrent(), pAppSettings);
        ASSERT_TRUE(app.Start());
        EXPECT_EQ(CMorvelSettings::GetMasterFilePath(masterUnit),
                  app->GetPathSetting("Other Form") + "tanni.MTD");
    }
    EXPECT_EQ(CMorvelSettings::GetCurrent(), nullptr);
}

TEST(ShellApp, AboutBoxShowsAndCloses)
{
    CShellTestFolder folder;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_ABOUTBOX, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    ASSERT_EQ(answerer.DialogIds(), std::vector<UINT>{IDD_ABOUTBOX});
    EXPECT_EQ(answerer.GetShown()[0].caption, "ﾊﾞｰｼﾞｮﾝ情報"_sj);
    EXPECT_EQ(answerer.GetShown()[0].nResult, IDOK);
}

TEST(ShellApp, WithoutTheSettingsSubsystemItsMenuCommandsSaySo)
{
    CShellTestFolder folder;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    const CShellServices saved = CShellServices::Get();
    CShellServices::Get() = CShellServices();
    CShellServices::Get().documentClasses = saved.documentClasses;
    CDialogAnswerer answerer;
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_ENVIRONMENT);
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_DOS_CONVERT);
    CShellServices::Get() = saved;
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"環境設定の画面はまだ用意されていません。"_sj,
                                    "DOS版ﾃﾞｰﾀの変換はまだ用意されていません。"_sj}));
}
