// The environment sheet's pages, driven as a user would: the drive list from the drive
// table and the mount table, the folders rewritten for a chosen drive, shown in this
// system's form and created as typed when applied, the input ranges, the print page's shading, and the colour
// page's colours and fonts; a run with the sheet font lays every page out in that font.
#include "app/CMorvelApp.h"
#include "layout/drawing/CShadingDialog.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/DialogTemplate.h"
#include "platform/ui/gdi/CImageList.h"
#include "resources/SetupIds.h"
#include "setup/CEnvironmentDialog.h"
#include "setup/CIntroductionDialog.h"
#include "setup/DriveList.h"
#include "setup/SetupRegistration.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/setup/SetupTestSupport.h"
#include "tests/support/NumberFieldTyping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

class EnvironmentPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSetup();
        ASSERT_TRUE(app.Start());
    }
    void TearDown() override
    {
        CPathDialog::s_pfnListDrives = &ListSystemDrives;
        ResetDriveTable();
    }
    CMorvelApp& App() { return app.App(); }

    CShellTestFolder folder;
    CDialogAnswerer answerer;
    CShellTestApp app;
};

std::vector<CDriveInfo> g_drives;
std::vector<CDriveInfo> TestDrives()
{
    return g_drives;
}

} // namespace

TEST(DriveList, TheMountTableIsParsedWithItsEscapes)
{
    const auto entries = ParseMountTable("/dev/sda1 / ext4 rw 0 0\n"
                                         "/dev/sdb1 /media/user/MY\\040STICK vfat rw 0 0\n"
                                         "broken\n"
                                         "\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].device, "/dev/sdb1");
    EXPECT_EQ(entries[1].mountPoint, "/media/user/MY STICK");
}

TEST(DriveList, DrivesOnMediaMountsAreRemovableAndCarryTheirLabels)
{
    // A folder that stands for where the system mounts media, with a stick mounted in it.
    TempDir media;
    TempDir disk;
    const std::string stick = media.Native() + "/USB01";
    std::filesystem::create_directories(stick + "/data");
    SetDriveRoot('E', stick + "/data");
    SetDriveRoot('F', disk.Native());
    SetDriveRoot('G', disk.Native() + "/missing");
    const std::vector<CMountEntry> mounts = {{"/dev/sda1", "/"}, {"/dev/sdc1", stick}};
    const std::vector<CDriveInfo> drives = ListDrives(mounts, {{"/dev/sdc1", "ＵＳＢ"}}, {media.Native()});
    ResetDriveTable();
    auto find = [&](char letter) -> const CDriveInfo* {
        for (const CDriveInfo& d : drives) {
            if (d.letter == letter)
                return &d;
        }
        return nullptr;
    };
    ASSERT_NE(find('C'), nullptr);
    ASSERT_NE(find('E'), nullptr);
    ASSERT_NE(find('F'), nullptr);
    EXPECT_EQ(find('G'), nullptr); // its folder does not exist
    EXPECT_FALSE(find('C')->removable);
    EXPECT_FALSE(find('F')->removable);
    EXPECT_TRUE(find('E')->removable);
    EXPECT_EQ(find('E')->label, "ＵＳＢ"_sj);
    // Without a system label the name of the drive's folder is shown.
    EXPECT_EQ(find('F')->label,
              CString(std::filesystem::path(disk.Native()).filename().string()).MakeUpper());
}

TEST(DriveList, ARemovableEntryOfTheDriveTableIsRemovable)
{
    TempDir disk;
    SetDriveRoot('H', disk.Native());
    SetDriveRemovable('H', TRUE);
    const std::vector<CDriveInfo> drives = ListDrives({}, {});
    ResetDriveTable();
    ASSERT_EQ(drives.back().letter, 'H');
    EXPECT_TRUE(drives.back().removable);
}

TEST_F(EnvironmentPagesTest, ChoosingADriveRewritesTheFoldersAndApplyCreatesThemAsTyped)
{
    // Drive C: is the file system's root; A: and E: are folders of the test's own.
    const std::string fd = folder.Native("fd"), e = folder.Native("e");
    for (const std::string& root : {fd, e})
        std::filesystem::create_directories(root);
    SetDriveRoot('A', fd);
    SetDriveRoot('E', e);
    g_drives = {CDriveInfo{'A', true, "FD"}, CDriveInfo{'C', false, "SYSTEM"},
                CDriveInfo{'E', false, "DATA"}};
    CPathDialog::s_pfnListDrives = &TestDrives;
    const std::string base = folder.Native("new");
    std::filesystem::create_directories(base);
    CEnvironmentDialog sheet("環境設定"_sj, 1, nullptr, 0);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CPathDialog& page = sheet.m_pathPage;
        ASSERT_EQ(page.m_list.GetItemCount(), 3);
        // Each drive by its folder; a medium's name only where the folder has another.
        EXPECT_EQ(page.m_list.GetItemText(0, 0).ToUtf8(), fd);
        EXPECT_EQ(page.m_list.GetItemText(1, 0).ToUtf8(), GetDriveRoot('C') + " [SYSTEM]");
        EXPECT_EQ(page.m_list.GetItemText(2, 0).ToUtf8(), e + " [DATA]");
        EXPECT_EQ(page.m_list.GetNextItem(-1, LVNI_SELECTED), 1); // the work drive, C
        // Each drive shows its picture: removable A: the first, fixed C: and E: the second.
        CImageList* pImages = page.m_list.GetImageList(LVSIL_SMALL);
        ASSERT_NE(pImages, nullptr);
        ASSERT_EQ(pImages->GetImageCount(), 2);
        IMAGEINFO info;
        ASSERT_TRUE(pImages->GetImageInfo(0, &info));
        EXPECT_EQ(info.rcImage.right - info.rcImage.left, 20);
        EXPECT_EQ(info.rcImage.bottom - info.rcImage.top, 20);
        const int expectedImage[] = {0, 1, 1};
        for (int i = 0; i < 3; ++i) {
            LVITEM item{};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            ASSERT_TRUE(page.m_list.GetItem(&item));
            EXPECT_EQ(item.iImage, expectedImage[i]) << i;
        }
        TypeDlgItemText(page, IDC_PATH_ESTIMATION, "\\DATA");
        TypeDlgItemText(page, IDC_PATH_PARTS, "c:\\work");
        page.m_list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        // The folders move onto drive E:, shown as the file system writes them.
        CString text;
        page.GetDlgItemText(IDC_PATH_ESTIMATION, text);
        EXPECT_EQ(text.ToUtf8(), e + "/DATA");
        page.GetDlgItemText(IDC_PATH_PARTS, text);
        EXPECT_EQ(text.ToUtf8(), e + "/work");
        // A folder typed in lower case, as the file system writes it.
        TypeDlgItemText(page, IDC_PATH_OTHER, CString((base + "/masters2").c_str()));
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    // The settings keep the drive form.
    EXPECT_EQ(App().GetProfileValue("Path Setting", "Work Drive"), "E");
    EXPECT_EQ(App().GetProfileValue("Path Setting", "Estimation Form"), "E:\\DATA");
    EXPECT_EQ(App().GetProfileValue("Path Setting", "Parts Form"), "E:\\work");
    EXPECT_TRUE(std::filesystem::is_directory(e + "/DATA"));
    // The folder keeps the case it was typed in: no second folder beside the user's.
    EXPECT_TRUE(std::filesystem::is_directory(base + "/masters2"));
    EXPECT_FALSE(std::filesystem::exists(base + "/MASTERS2"));
    EXPECT_EQ(App().GetProfileValue("Path Setting", "Other Form"), SystemPathFromNative(base + "/masters2"));

    // The next time the page shows the folders as this system writes them.
    CEnvironmentDialog again("環境設定"_sj, 1, nullptr, 0);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CString text;
        again.m_pathPage.GetDlgItemText(IDC_PATH_ESTIMATION, text);
        EXPECT_EQ(text.ToUtf8(), e + "/DATA");
        again.m_pathPage.GetDlgItemText(IDC_PATH_OTHER, text);
        EXPECT_EQ(text.ToUtf8(), base + "/masters2");
        // Every folder box lies inside the page.
        CRect rcPage;
        again.m_pathPage.GetWindowRect(&rcPage);
        for (UINT nID :
             {IDC_PATH_WORK, IDC_PATH_ESTIMATION, IDC_PATH_PARTS, IDC_PATH_INFORMATION, IDC_PATH_OTHER}) {
            CRect rcBox;
            again.m_pathPage.GetDlgItem(nID)->GetWindowRect(&rcBox);
            EXPECT_LE(rcBox.right, rcPage.right) << nID;
        }
        ClickDlgButton(dlg, IDCANCEL);
    });
    again.DoModal();
}

TEST_F(EnvironmentPagesTest, InputValuesOutOfRangeAreRefusedAndNothingIsWritten)
{
    CEnvironmentDialog sheet("環境設定"_sj);
    bool bStillOpen = false;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_inputPage));
        TypeDlgItemText(sheet.m_inputPage, IDC_TAX_RATE, "101");
        ClickDlgButton(dlg, IDOK);
        bStillOpen = dlg.IsModalRunning() != FALSE;
        TypeDlgItemText(sheet.m_inputPage, IDC_TAX_RATE, "10");
        TypeDlgItemText(sheet.m_inputPage, IDC_ROWS_IN_PAGE, "30");
        ClickDlgButton(sheet.m_inputPage, IDC_MOVE_DOWN);
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(bStillOpen);
    ASSERT_FALSE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(answerer.MessageBoxTexts()[0], "1 から 100 までの整数を入力してください。"_sj);
    EXPECT_EQ(App().m_nTax, 10);
    EXPECT_EQ(App().m_nDirection, 2);
    EXPECT_EQ(App().GetProfileValue("Input Setting", "Tax"), "10");
    EXPECT_EQ(App().GetProfileValue("Input Setting", "Rows in a page"), "30");
}

TEST_F(EnvironmentPagesTest, ColourPageShowsDetailColoursForAMissingNonCalcAndStoresColoursAndFonts)
{
    App().WriteProfileString("Color Setting", "Detail Text", "255,0,0");
    App().WriteProfileString("Color Setting", "Non Calc Text", "");
    CEnvironmentDialog sheet(1, "環境設定"_sj, nullptr, 0);
    LOGFONT chosen{};
    chosen.lfHeight = -16;
    chosen.lfWeight = 700;
    chosen.lfCharSet = 128;
    std::strcpy(chosen.lfFaceName, "ＭＳ ゴシック"_sj.c_str());
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_colourPage));
        CColourDialog& page = sheet.m_colourPage;
        EXPECT_EQ(page.m_textButtons[5].GetColour(), RGB(255, 0, 0)); // 非計算行 shows 細目's
        // From an estimate window the parts row cannot be used.
        EXPECT_FALSE(page.GetDlgItem(1186)->IsWindowEnabled());
        EXPECT_TRUE(page.GetDlgItem(1088)->IsWindowEnabled());
        answerer.AnswerColorDialog(RGB(0, 0, 200));
        ClickDlgButton(page, 1092); // 大科目 background
        answerer.AnswerFontDialog(chosen);
        ClickDlgButton(page, 1107); // 大科目 font
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(App().GetProfileValue("Color Setting", "Non Calc Text"), "255,0,0");
    EXPECT_EQ(App().GetProfileValue("Color Setting", "Large Project Background"), "0,0,200");
    EXPECT_EQ(App().m_lfRowFont[CMorvelSettings::fontLarge].lfHeight, -16);
    EXPECT_EQ(App().GetProfileValue("Large Font Setting", "Height"), "-16");
    EXPECT_EQ(App().GetProfileValue("Large Font Setting", "Weight"), "700");
}

// A row whose colours were never set is painted black on white; the page shows it so, and
// confirming the sheet without touching it keeps the list readable.
TEST_F(EnvironmentPagesTest, ColoursNeverSetShowAndStayBlackOnWhite)
{
    App().WriteProfileString("Color Setting", "Part Text", nullptr);
    App().WriteProfileString("Color Setting", "Part Background", nullptr);
    App().WriteProfileString("Color Setting", "Kind Background", "not a colour");
    ASSERT_EQ(App().GetProfileValue("Color Setting", "Part Background"), "");
    CEnvironmentDialog sheet(0, 1, "環境設定"_sj, nullptr, 0);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_colourPage));
        CColourDialog& page = sheet.m_colourPage;
        EXPECT_EQ(page.m_textButtons[CColourDialog::ROW_COUNT - 1].GetColour(), RGB(0, 0, 0));
        EXPECT_EQ(page.m_backButtons[CColourDialog::ROW_COUNT - 1].GetColour(), RGB(255, 255, 255));
        EXPECT_EQ(page.m_backButtons[0].GetColour(), RGB(255, 255, 255)); // 種目, unreadable
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(App().GetProfileValue("Color Setting", "Part Text"), "0,0,0");
    EXPECT_EQ(App().GetProfileValue("Color Setting", "Part Background"), "255,255,255");
    EXPECT_EQ(App().GetProfileValue("Color Setting", "Kind Background"), "255,255,255");
}

TEST_F(EnvironmentPagesTest, ShadingFromThePrintPageReachesTheSettingsWhenTheSheetIsConfirmed)
{
    // The group around the sign of negative amounts names the discount it is for.
    const DialogTemplate* pPage = FindDialogTemplate(IDD_OUTPUT_PAGE);
    ASSERT_NE(pPage, nullptr);
    const auto& controls = pPage->controls;
    const auto pRadio = std::find_if(controls.begin(), controls.end(),
                                     [](const DialogControl& c) { return c.nID == IDC_MINUS_BLACK; });
    ASSERT_NE(pRadio, controls.end());
    const auto pGroup = std::find_if(controls.begin(), controls.end(), [&](const DialogControl& c) {
        return c.kind == DlgGroupBox && pRadio->x > c.x && pRadio->x < c.x + c.cx && pRadio->y > c.y &&
               pRadio->y < c.y + c.cy;
    });
    ASSERT_NE(pGroup, controls.end());
    EXPECT_EQ(pGroup->text.ToUtf8(), "値引ﾏｲﾅｽ記号");

    CEnvironmentDialog sheet("環境設定"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_outputPage));
        answerer.AnswerDialog(IDD_SHADING, [](CDialog& shading) {
            // Never set: the patterns show black on white.
            const auto& d = dynamic_cast<CShadingDialog&>(shading);
            EXPECT_EQ(d.m_foreColor, RGB(0, 0, 0));
            EXPECT_EQ(d.m_backColor, RGB(255, 255, 255));
            // Shading off: the pattern list is disabled, the values still come back.
            SelectDlgItem(shading, IDC_PATTERN, 10);
            ClickDlgButton(shading, IDC_FILL);
            EXPECT_FALSE(shading.GetDlgItem(IDC_PATTERN)->IsWindowEnabled());
            ClickDlgButton(shading, IDOK);
        });
        ClickDlgButton(sheet.m_outputPage, IDC_SHADING);
        EXPECT_EQ(App().m_nFillMode, 10);
        EXPECT_EQ(App().m_nIsFill, 0);
        ClickDlgButton(sheet.m_outputPage, IDC_PRINT_MONO);
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(App().GetProfileValue("Print Setting", "Fill Mode"), "10");
    EXPECT_EQ(App().GetProfileValue("Print Setting", "Is Fill"), "0");
    EXPECT_EQ(App().GetProfileValue("Print Setting", "Print Color"), "1");
}

TEST_F(EnvironmentPagesTest, TheSheetFontResizesEveryPageAndARunWithoutItUsesTheTemplates)
{
    CRect withFont;
    CRect without;
    {
        CIntroductionDialog sheet("導入処理"_sj);
        answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
            sheet.m_unitsPage.GetWindowRect(&withFont);
            ClickDlgButton(dlg, IDCANCEL);
        });
        sheet.DoModal("ＭＳ Ｐゴシック"_sj, 14);
        answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
            sheet.m_unitsPage.GetWindowRect(&without);
            ClickDlgButton(dlg, IDCANCEL);
        });
        sheet.DoModal();
    }
    EXPECT_GT(withFont.Width(), without.Width());
    EXPECT_GT(withFont.Height(), without.Height());
}

TEST_F(EnvironmentPagesTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheSheetStaysOpen)
{
    // The settings file's folder is replaced by a file: nothing can be written there.
    CEnvironmentDialog sheet("環境設定"_sj);
    bool bStillOpen = false;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_inputPage));
        TypeDlgItemText(sheet.m_inputPage, IDC_TAX_RATE, "12");
        std::filesystem::remove(folder.SettingsFile());
        std::filesystem::create_directories(folder.SettingsFile()); // a folder in its place
        ClickDlgButton(dlg, IDOK);
        bStillOpen = dlg.IsModalRunning() != FALSE;
        std::filesystem::remove(folder.SettingsFile());
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(App().m_nTax, 12);
    ASSERT_FALSE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(answerer.MessageBoxTexts()[0], "設定ﾌｧｲﾙに書き込めません。"_sj);
    EXPECT_EQ(App().GetProfileValue("Input Setting", "Tax"), "12");
}

TEST_F(EnvironmentPagesTest, TheTableOfTextsRunsOverEveryNumberFieldOfTheInputPage)
{
    struct Field {
        const char* name;
        int nIDC;
        double lo, hi;
        int CInputDialog::*pValue;
    };
    const Field fields[] = {
        {"1頁の行数", IDC_ROWS_IN_PAGE, 1, 1000, &CInputDialog::m_nRowsInPage},
        {"見積の最大行数", IDC_ESTIMATE_MAX_ROWS, 100, 10000, &CInputDialog::m_nEstimateMaxRows},
        {"部材の最大行数", IDC_PARTS_MAX_ROWS, 100, 10000, &CInputDialog::m_nPartsMaxRows},
        {"消費税率", IDC_TAX_RATE, 1, 100, &CInputDialog::m_nTax}};
    for (const Field& field : fields) {
        ExpectNumberFieldReadsTheTable(
            field.name, field.lo, field.hi, true, [&](const CString& text, double& read) {
                CEnvironmentDialog sheet("環境設定"_sj);
                CFieldTyping typing;
                CDialogAnswerer typingAnswerer;
                typingAnswerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
                    sheet.SetActivePage(&sheet.m_inputPage);
                    TypeDlgItemText(sheet.m_inputPage, field.nIDC, text);
                    typing.bTyped = FieldHolds(sheet.m_inputPage, field.nIDC, text);
                    ClickDlgButton(dlg, IDOK);
                    typing.bTaken = dlg.IsModalRunning() == FALSE;
                });
                sheet.DoModal();
                typing.messages = typingAnswerer.MessageBoxTexts();
                read = sheet.m_inputPage.*field.pValue;
                return typing;
            });
    }
}
