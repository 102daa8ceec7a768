// The first start on an empty machine: the settings file lies in an empty folder, so
// start-up finds no master and no form. The user chooses the folders on the path page,
// then creates every master and form on the pages start-up opens one by one, typing into
// the grids with the keyboard and picking attributes from the pick lists. Start-up
// reaches the main window in that one start; the files read back through the program's
// readers hold exactly what was typed; a second start asks nothing.
#include "app/CMorvelApp.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/dialogs/CPropertySheet.h"
#include "resources/ResourceIds.h"
#include "resources/SetupIds.h"
#include "setup/CEnvironmentDialog.h"
#include "setup/CIntroductionDialog.h"
#include "setup/SetupRegistration.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/setup/SetupTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

template <class TTable, class TRead>
TTable ReadBack(const std::string& nativePath, TRead read)
{
    TTable table;
    CFile f;
    EXPECT_TRUE(f.Open(SystemPathFromNative(nativePath), CFile::modeRead)) << nativePath;
    CArchive ar(&f, CArchive::load);
    EXPECT_EQ(read(table, ar), 0) << nativePath;
    return table;
}

// The environment a test runs the program in: an empty folder holding only the settings
// file's name and the user's data folder.
class CEmptyMachine {
public:
    CEmptyMachine()
    {
        m_env.Set("MORVEL_INI", m_dir.Native() + "/morvel.ini");
        m_env.Set("MORVEL_LOCK_DIR", m_dir.Native());
        m_env.Set("MORVEL_NO_SOUND", "1");
        // The folders a first start offers lie in this folder too, not in the user's own.
        m_env.Set("XDG_DATA_HOME", m_dir.Native() + "/data");
    }
    std::string Native(const std::string& relative) const { return m_dir.Native() + "/" + relative; }
    CString System(const std::string& relative) const { return SystemPathFromNative(Native(relative)); }

private:
    TempDir m_dir;
    CScopedEnvironment m_env;
};

// A disk whose drive C: is an empty folder (MORVEL_DRIVES), for as long as it lives.
class CEmptyDisk {
public:
    explicit CEmptyDisk(const std::string& root)
    {
        m_env.Set("MORVEL_DRIVES", "C=" + root);
        ResetDriveTable();
    }

private:
    // The drive table is read again when the environment is back as it was.
    struct CReset {
        ~CReset() { ResetDriveTable(); }
    } m_reset;
    CScopedEnvironment m_env;
};

template <class TPage>
TPage& ActivePageOf(CDialog& dlg)
{
    auto* pPage = dynamic_cast<TPage*>(dynamic_cast<CPropertySheet&>(dlg).GetActivePage());
    EXPECT_NE(pPage, nullptr);
    return *pPage;
}

} // namespace

TEST(FirstStart, EveryMasterAndFormIsCreatedFromNothingAndTheSecondStartAsksNothing)
{
    RegisterSetup();
    CEmptyMachine machine;
    CDialogAnswerer answerer;
    std::vector<CString> sheets; // the caption of every sheet, in order, with its page

    // The first missing file: the user changes the paths; every later one: create it.
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_PATH);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AlwaysAnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_NEW);
        ClickDlgButton(dlg, IDOK);
    });

    // The path page: folders typed in lower case, created when applied.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CPathDialog& page = ActivePageOf<CPathDialog>(dlg);
        sheets.push_back(page.GetTitle());
        TypeDlgItemText(page, IDC_PATH_WORK, machine.System("work"));
        TypeDlgItemText(page, IDC_PATH_ESTIMATION, machine.System("form"));
        TypeDlgItemText(page, IDC_PATH_PARTS, machine.System("form"));
        TypeDlgItemText(page, IDC_PATH_INFORMATION, machine.System("form"));
        TypeDlgItemText(page, IDC_PATH_OTHER, machine.System("master"));
        ClickDlgButton(dlg, IDOK);
    });

    // Units: two units, Enter after each.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CUnitsDialog& page = ActivePageOf<CUnitsDialog>(dlg);
        sheets.push_back(page.GetTitle());
        TypeCell(page.Editor(), "式"_sj);
        PressKey(page.Editor(), VK_RETURN);
        TypeCell(page.Editor(), "ｍ２"_sj);
        PressKey(page.Editor(), VK_RETURN);
        ClickDlgButton(dlg, IDOK);
    });
    // The three subject levels: name, Tab, unit, Tab.
    const char* const subjects[3][2] = {{"建築工事", "式"}, {"仮設工事", "式"}, {"外部足場", "ｍ２"}};
    for (const auto& subject : subjects) {
        answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&, subject](CDialog& dlg) {
            CSubjectDialog& page = ActivePageOf<CSubjectDialog>(dlg);
            sheets.push_back(page.GetTitle());
            TypeCell(page.Editor(), CString::FromUtf8(subject[0]));
            PressKey(page.Editor(), VK_TAB);
            TypeCell(page.Editor(), CString::FromUtf8(subject[1]));
            PressKey(page.Editor(), VK_TAB);
            ClickDlgButton(dlg, IDOK);
        });
    }
    // Classifications: name and percent.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CDivisionDialog& page = ActivePageOf<CDivisionDialog>(dlg);
        sheets.push_back(page.GetTitle());
        TypeCell(page.Editor(), "労務費"_sj);
        PressKey(page.Editor(), VK_TAB);
        TypeCell(page.Editor(), "30");
        PressKey(page.Editor(), VK_TAB);
        ClickDlgButton(dlg, IDOK);
    });
    // The information form: a text item and a number item with its picture and style.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CInformationDialog& page = ActivePageOf<CInformationDialog>(dlg);
        sheets.push_back(page.GetTitle());
        TypeCell(page.Editor(), "工事名"_sj);
        AnswerPick(answerer, 0); // 1.文字
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentCol(), 3);
        TypeKeys(page.Editor(), "20");
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentRow(), 2);
        EXPECT_EQ(page.GetCurrentCol(), 1);
        TypeCell(page.Editor(), "金額"_sj);
        AnswerPick(answerer, 1); // 2.数値
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentCol(), 4);
        TypeKeys(page.Editor(), "###,###");
        EXPECT_EQ(page.CellText(2, 3), "7");
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentCol(), 6);
        AnswerPick(answerer, 1); // 1.123,456
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentRow(), 3);
        EXPECT_EQ(page.GetCurrentCol(), 1);
        ClickDlgButton(dlg, IDOK);
    });
    // The estimation form: one text item with its codes.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CEstimationDialog& page = ActivePageOf<CEstimationDialog>(dlg);
        sheets.push_back(page.GetTitle());
        TypeCell(page.Editor(), "名称"_sj);
        AnswerPick(answerer, 0); // 1.文字
        PressKey(page.Editor(), VK_RETURN);
        TypeKeys(page.Editor(), "30");
        AnswerPick(answerer, 6); // T: 6.名称
        AnswerPick(answerer, 0); // B: (なし)
        AnswerPick(answerer, 2); // C: B. 項目名
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentRow(), 2);
        EXPECT_EQ(page.GetCurrentCol(), 1);
        ClickDlgButton(dlg, IDOK);
    });
    // The parts form: one text item.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CPartsDialog& page = ActivePageOf<CPartsDialog>(dlg);
        sheets.push_back(page.GetTitle());
        TypeCell(page.Editor(), "品名"_sj);
        AnswerPick(answerer, 0); // 1.文字
        PressKey(page.Editor(), VK_RETURN);
        TypeKeys(page.Editor(), "40");
        AnswerPick(answerer, 1); // T: 1.単位
        PressKey(page.Editor(), VK_RETURN);
        ClickDlgButton(dlg, IDOK);
    });

    // The paths are set and no file is there yet: the unit file is asked about again and
    // made, and so is every file after it, in this one start.
    {
        CShellTestApp app;
        ASSERT_TRUE(app.Start());
        ASSERT_NE(app->m_pMainWnd, nullptr);
        EXPECT_TRUE(app->m_pMainWnd->IsWindowVisible());
        EXPECT_EQ(sheets,
                  (std::vector<CString>{"ﾊﾟｽ設定"_sj, "単位名"_sj, "科目名"_sj, "科目名"_sj, "科目名"_sj,
                                        "分類名"_sj, "情報形式"_sj, "見積形式"_sj, "部材形式"_sj}));
        EXPECT_EQ(app->m_strEstimationFormFile, "meisai.MMK");
        EXPECT_EQ(app->m_strPartFormFile, "BUZAI.MBK");
        EXPECT_EQ(app->m_strInformationFormFile, "JYOUHOU.MJK");
        EXPECT_EQ(app->m_unitFile.GetCount(), 2);
    }
    // Each missing file said so when it was asked about (the unit file before and after
    // the path change), and every dialog had its answer.
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    EXPECT_EQ(texts, (std::vector<CString>{
                         "単位ﾌｧｲﾙがないか、壊れています。"_sj, "単位ﾌｧｲﾙがないか、壊れています。"_sj,
                         "大科目ﾌｧｲﾙがないか、壊れています。"_sj, "中科目ﾌｧｲﾙがないか、壊れています。"_sj,
                         "小科目ﾌｧｲﾙがないか、壊れています。"_sj, "分類ﾌｧｲﾙがないか、壊れています。"_sj,
                         "情報形式ﾌｧｲﾙがないか、壊れています。"_sj, "見積形式ﾌｧｲﾙがないか、壊れています。"_sj,
                         "部材形式ﾌｧｲﾙがないか、壊れています。"_sj}));
    for (const auto& shown : answerer.GetShown()) {
        if (shown.kind == CDialogAnswerer::ShownDialog) {
            EXPECT_TRUE(shown.answered) << shown.nID;
        }
    }

    // The folders were made as typed, and the files hold what was typed.
    const std::string master = machine.Native("master/");
    const std::string form = machine.Native("form/");
    EXPECT_TRUE(std::filesystem::is_directory(machine.Native("work")));
    EXPECT_FALSE(std::filesystem::exists(machine.Native("WORK"))) << "no second folder in another case";
    const CUnitFile units =
        ReadBack<CUnitFile>(master + "tanni.MTD", [](CUnitFile& t, CArchive& ar) { return t.Serialize(ar); });
    ASSERT_EQ(units.GetCount(), 2);
    EXPECT_EQ(units.GetUnit(0), "式"_sj);
    EXPECT_EQ(units.GetUnit(1), "ｍ２"_sj);
    const char* const files[3] = {"kamoku.MKB", "kamoku.MKM", "kamoku.MKS"};
    for (int n = 0; n < 3; ++n) {
        const CSubjectFile level = ReadBack<CSubjectFile>(
            master + files[n], [n](CSubjectFile& t, CArchive& ar) { return t.SerializeLevel(n, ar); });
        ASSERT_EQ(level.GetCount(n), 1) << n;
        EXPECT_EQ(level.GetName(n, 0), CString::FromUtf8(subjects[n][0]));
        EXPECT_EQ(level.GetUnit(n, 0), CString::FromUtf8(subjects[n][1]));
    }
    const CClassifyFile classes = ReadBack<CClassifyFile>(
        master + "bunrul.MRD", [](CClassifyFile& t, CArchive& ar) { return t.Serialize(ar); });
    ASSERT_EQ(classes.GetCount(), 1);
    EXPECT_EQ(classes.GetName(0), "労務費"_sj);
    EXPECT_EQ(classes.GetPercent(0), "30");

    const CInformationFormFile information = ReadBack<CInformationFormFile>(
        form + "JYOUHOU.MJK", [](CInformationFormFile& t, CArchive& ar) { return t.Serialize(ar); });
    ASSERT_EQ(information.GetCount(), 2);
    const std::vector<CString> item1 = {"工事名"_sj, "文字"_sj, "20", "", "", "", ""};
    const std::vector<CString> item2 = {"金額"_sj, "数値"_sj, "7", "###,###", "", "", "1"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(information.GetItem(0, c), item1[static_cast<size_t>(c)]) << c;
        EXPECT_EQ(information.GetItem(1, c), item2[static_cast<size_t>(c)]) << c;
    }
    const CEstimationFormFile estimation = ReadBack<CEstimationFormFile>(
        form + "meisai.MMK", [](CEstimationFormFile& t, CArchive& ar) { return t.Serialize(ar); });
    ASSERT_EQ(estimation.GetCount(), 1);
    const std::vector<CString> itemE = {"名称"_sj, "文字"_sj, "30", "", "", "", "6", "", "", "B"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(estimation.GetItem(0, c), itemE[static_cast<size_t>(c)]) << c;
    const CPartFormFile parts = ReadBack<CPartFormFile>(
        form + "BUZAI.MBK", [](CPartFormFile& t, CArchive& ar) { return t.Serialize(ar); });
    ASSERT_EQ(parts.GetCount(), 1);
    const std::vector<CString> itemP = {"品名"_sj, "文字"_sj, "40", "", "", "", "1"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(parts.GetItem(0, c), itemP[static_cast<size_t>(c)]) << c;

    // The second start finds everything and asks nothing.
    CDialogAnswerer second;
    CShellTestApp again;
    ASSERT_TRUE(again.Start());
    EXPECT_TRUE(second.GetShown().empty());
    EXPECT_EQ(again->m_classifyFile.GetCount(), 1);
    EXPECT_EQ(again->m_estimationForm.GetCount(), 1);
}

// Folders two levels below an empty disk: the path page makes every level, refusing on the
// page a folder that cannot be made; the unit file, asked about again, is then made there.
// Ending the setup at the next file ends start-up with a word.
TEST(FirstStart, NestedFoldersAreMadeWholeAndAnEndedSetupSaysTheProgramEnds)
{
    RegisterSetup();
    CEmptyMachine machine;
    // A file stands where one folder would have to be.
    {
        std::ofstream(machine.Native("blocked")) << "x";
    }
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_PATH);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_NEW);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.EndDialogWith(IDD_PROCESS_SELECT, IDCANCEL);
    bool bRefusedOnThePage = false;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CPathDialog& page = ActivePageOf<CPathDialog>(dlg);
        TypeDlgItemText(page, IDC_PATH_WORK, machine.System("Morvel/Work"));
        for (UINT nID : {IDC_PATH_ESTIMATION, IDC_PATH_PARTS, IDC_PATH_INFORMATION})
            TypeDlgItemText(page, nID, machine.System("Morvel/Form"));
        TypeDlgItemText(page, IDC_PATH_OTHER, machine.System("blocked/Master"));
        ClickDlgButton(dlg, IDOK);
        bRefusedOnThePage = dlg.IsModalRunning() != FALSE;
        TypeDlgItemText(page, IDC_PATH_OTHER, machine.System("Morvel/Master"));
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CUnitsDialog& page = ActivePageOf<CUnitsDialog>(dlg);
        TypeCell(page.Editor(), "式"_sj);
        PressKey(page.Editor(), VK_RETURN);
        ClickDlgButton(dlg, IDOK);
    });

    CShellTestApp app;
    EXPECT_FALSE(app.Start());
    EXPECT_TRUE(bRefusedOnThePage);
    for (const char* folder : {"Morvel/Work", "Morvel/Form", "Morvel/Master"})
        EXPECT_TRUE(std::filesystem::is_directory(machine.Native(folder))) << folder;
    EXPECT_EQ(app->GetProfileValue("Path Setting", "Other Form"), machine.System("Morvel/Master"));
    EXPECT_TRUE(FileExists(machine.System("Morvel/Master/TANNI.MTD"))) << "the unit page could write";
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "単位ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_EQ(texts[1],
              "ﾌｫﾙﾀﾞ \""_sj + CString(machine.Native("blocked/Master").c_str()) + "\" を作成できません。"_sj);
    EXPECT_EQ(texts[2], "単位ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_EQ(texts[3], "大科目ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_NE(texts[4].Find("ﾌﾟﾛｸﾞﾗﾑを終了します。"_sj), -1) << texts[4].ToUtf8();
}

// The settings name folders on a disk that holds nothing yet (C:\MORVEL\WORK, ...\FORM,
// ...\MASTER). The user keeps the question's choice "新規作成" for every missing file, types
// the units and confirms each page: the folders are made with every level, every file is
// written where the settings say, and the main window opens in this one start.
TEST(FirstStart, NewCreationOnAnEmptyDiskMakesTheFoldersAndReachesTheMainWindow)
{
    RegisterSetup();
    CEmptyMachine machine;
    std::filesystem::create_directories(machine.Native("disk"));
    CEmptyDisk disk(machine.Native("disk"));
    {
        CProfileFile profile(machine.System("morvel.ini"));
        profile.WriteProfileString("Path Setting", "Work Drive", "C");
        profile.WriteProfileString("Path Setting", "Work Field", "C:\\MORVEL\\WORK");
        for (const char* key : {"Estimation Form", "Parts Form", "Information Form"})
            profile.WriteProfileString("Path Setting", key, "C:\\MORVEL\\FORM");
        profile.WriteProfileString("Path Setting", "Other Form", "C:\\MORVEL\\MASTER");
    }
    CDialogAnswerer answerer;
    answerer.AlwaysAnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CUnitsDialog& page = ActivePageOf<CUnitsDialog>(dlg);
        TypeCell(page.Editor(), "式"_sj);
        PressKey(page.Editor(), VK_RETURN);
        TypeCell(page.Editor(), "ｍ２"_sj);
        PressKey(page.Editor(), VK_RETURN);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AlwaysAnswerDialog(AFX_IDD_PROPSHEET, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });

    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(app->m_pMainWnd->IsWindowVisible());
    EXPECT_EQ(app->m_unitFile.GetCount(), 2);
    for (const char* folder : {"WORK", "FORM", "MASTER"})
        EXPECT_TRUE(std::filesystem::is_directory(machine.Native("disk/MORVEL/") + folder)) << folder;
    for (const char* file :
         {"MASTER/tanni.MTD", "MASTER/kamoku.MKB", "MASTER/kamoku.MKM", "MASTER/kamoku.MKS",
          "MASTER/bunrul.MRD", "FORM/JYOUHOU.MJK", "FORM/meisai.MMK", "FORM/BUZAI.MBK"})
        EXPECT_TRUE(std::filesystem::is_regular_file(machine.Native("disk/MORVEL/") + file)) << file;
    const CUnitFile units = ReadBack<CUnitFile>(machine.Native("disk/MORVEL/MASTER/tanni.MTD"),
                                                [](CUnitFile& t, CArchive& ar) { return t.Serialize(ar); });
    ASSERT_EQ(units.GetCount(), 2);
    EXPECT_EQ(units.GetUnit(1), "ｍ２"_sj);
    // Every file was asked about once; none could not be written, nothing ended start-up.
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 8u);
    EXPECT_EQ(answerer.DialogIds().size(), 16u) << "a question and a page for each file";
}

// A new user's first start: no settings file at all. The path page offers folders in the
// user's own data folder (~/.local/share/morvel), and keeping "新規作成" for every file makes
// each one there; nothing is written at the root of the disk the program runs on.
TEST(FirstStart, WithoutSettingsTheFoldersAreTheUsersOwnAndNothingIsWrittenAtTheRoot)
{
    RegisterSetup();
    CEmptyMachine machine;
    const std::string disk = machine.Native("disk");
    std::filesystem::create_directories(disk);
    CEmptyDisk drive(disk);
    CScopedEnvironment env;
    env.Set("HOME", machine.Native("home"));
    env.Unset("XDG_DATA_HOME");
    // The root of the current drive is where a folder left empty would lead.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(disk);
    struct CBack {
        std::filesystem::path path;
        ~CBack() { std::filesystem::current_path(path); }
    } back{previous};

    const std::string data = machine.Native("home/.local/share/morvel/");
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_PATH);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AlwaysAnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    std::vector<std::string> offered;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CPathDialog& page = ActivePageOf<CPathDialog>(dlg);
        for (UINT nID : {IDC_PATH_WORK, IDC_PATH_ESTIMATION, IDC_PATH_OTHER}) {
            CString text;
            page.GetDlgItemText(nID, text);
            offered.push_back(text.ToUtf8());
        }
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AlwaysAnswerDialog(AFX_IDD_PROPSHEET, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });

    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(offered, (std::vector<std::string>{data + "WORK", data + "FORM", data + "MASTER"}));
    for (const char* file :
         {"MASTER/tanni.MTD", "MASTER/kamoku.MKB", "MASTER/kamoku.MKM", "MASTER/kamoku.MKS",
          "MASTER/bunrul.MRD", "FORM/JYOUHOU.MJK", "FORM/meisai.MMK", "FORM/BUZAI.MBK"})
        EXPECT_TRUE(std::filesystem::is_regular_file(data + file)) << file;
    EXPECT_TRUE(std::filesystem::is_directory(data + "WORK"));
    EXPECT_TRUE(std::filesystem::is_empty(disk)) << "nothing at the root of the drive";
}
