// The conversion's dialogs and the command, driven as a user would through the dialog
// answerer: the drive and what to convert, the file list and its browse button, one
// message per converted file, and back to the conversion dialog until it is cancelled.
#include "tests/dosconvert/DosTestSupport.h"

#include "app/CShellServices.h"
#include "dosconvert/CDosConvertDialog.h"
#include "dosconvert/CDosFileDialog.h"
#include "dosconvert/DosConversion.h"
#include "dosconvert/DosConvertRegistration.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/DosConvertIds.h"

namespace {

CListCtrl& ListOf(CDialog& dlg)
{
    return *static_cast<CListCtrl*>(dlg.GetDlgItem(IDC_DOS_LIST));
}

std::vector<std::string> ItemsOf(CDialog& dlg)
{
    std::vector<std::string> items;
    CListCtrl& list = ListOf(dlg);
    for (int i = 0; i < list.GetItemCount(); ++i)
        items.push_back(list.GetItemText(i, 0).str());
    return items;
}

// Selects the list item whose text starts with prefix, as a click does; FALSE when none.
bool SelectItem(CDialog& dlg, const std::string& prefix, bool bAdd = false)
{
    CListCtrl& list = ListOf(dlg);
    for (int i = 0; i < list.GetItemCount(); ++i) {
        if (list.GetItemText(i, 0).str().rfind(prefix, 0) == 0) {
            if (!bAdd)
                list.SetItemState(-1, 0, LVIS_SELECTED);
            list.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            return true;
        }
    }
    return false;
}

CString TextOf(CDialog& dlg, int nID)
{
    CString text;
    dlg.GetDlgItem(nID)->GetWindowText(text);
    return text;
}

bool Enabled(CDialog& dlg, int nID)
{
    return dlg.GetDlgItem(nID)->IsWindowEnabled() != FALSE;
}

bool Checked(CDialog& dlg, int nID)
{
    return dlg.IsDlgButtonChecked(nID) == BST_CHECKED;
}

class DosDialogsTest : public DosTest {
protected:
    DosDialogsTest()
    {
        RegisterDosConvert();
        WriteEnvironment();
        WriteSampleEdition([this](const std::string& rel, const Bytes& b) { Write(rel, b); });
    }

    CDialogAnswerer answerer;
};

TEST_F(DosDialogsTest, ConversionDialogStartsOnDriveCAndSwitchesModes)
{
    CDosConvertDialog dlg;
    bool bAnswered = false;
    answerer.AnswerDialog(IDD_DOS_CONVERT, [&](CDialog& d) {
        bAnswered = true;
        EXPECT_EQ(d.GetDlgItem(IDC_DOS_LIST) != nullptr, true);
        // Drive C (the file system's root) and drive Q are listed by their folders, sorted by
        // their text; the letters follow the list's order.
        const std::vector<std::string> items = ItemsOf(d);
        ASSERT_GE(items.size(), 2u);
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));
        const auto q = std::find(items.begin(), items.end(), Native("dos"));
        ASSERT_NE(q, items.end());
        EXPECT_EQ(dlg.GetDriveLetters()[static_cast<int>(q - items.begin())], 'Q');
        EXPECT_EQ(TextOf(d, IDC_DOS_STATIC), "ﾄﾞﾗｲﾌﾞ指定  ["_sj + CString(GetDriveRoot('C').c_str()) + "]");
        EXPECT_EQ(ListOf(d).GetNextItem(-1, LVNI_SELECTED), dlg.GetDriveLetters().Find('C'));

        // Edit data with estimates to begin with.
        EXPECT_TRUE(Checked(d, IDC_DOS_EDIT));
        EXPECT_FALSE(Checked(d, IDC_DOS_AUXILIARY));
        EXPECT_TRUE(Checked(d, IDC_DOS_ESTIMATE_DATA));
        EXPECT_FALSE(Checked(d, IDC_DOS_PARTS_DATA));
        EXPECT_TRUE(Enabled(d, IDC_DOS_PARTS_DATA));
        for (int nID : {IDC_DOS_UNITS, IDC_DOS_SUBJECTS, IDC_DOS_CLASSIFY, IDC_DOS_ESTIMATION_FORM,
                        IDC_DOS_PARTS_FORM, IDC_DOS_INFORMATION_FORM})
            EXPECT_FALSE(Enabled(d, nID)) << nID;
        // A disabled choice cannot be clicked.
        EXPECT_FALSE(ClickDlgButton(d, IDC_DOS_UNITS));

        ClickDlgButton(d, IDC_DOS_AUXILIARY);
        EXPECT_TRUE(Checked(d, IDC_DOS_AUXILIARY));
        EXPECT_FALSE(Checked(d, IDC_DOS_EDIT));
        for (int nID : {IDC_DOS_UNITS, IDC_DOS_SUBJECTS, IDC_DOS_CLASSIFY})
            EXPECT_TRUE(Enabled(d, nID)) << nID;
        for (int nID : {IDC_DOS_ESTIMATE_DATA, IDC_DOS_PARTS_DATA, IDC_DOS_ESTIMATION_FORM})
            EXPECT_FALSE(Enabled(d, nID)) << nID;
        ClickDlgButton(d, IDC_DOS_UNITS);
        EXPECT_TRUE(Checked(d, IDC_DOS_UNITS));
        ClickDlgButton(d, IDC_DOS_CLASSIFY);
        ClickDlgButton(d, IDC_DOS_CLASSIFY);
        EXPECT_FALSE(Checked(d, IDC_DOS_CLASSIFY));

        ClickDlgButton(d, IDC_DOS_FORMS);
        EXPECT_TRUE(Checked(d, IDC_DOS_FORMS));
        EXPECT_FALSE(Checked(d, IDC_DOS_AUXILIARY));
        EXPECT_FALSE(Enabled(d, IDC_DOS_UNITS));
        ClickDlgButton(d, IDC_DOS_PARTS_FORM);

        ASSERT_TRUE(SelectItem(d, Native("dos")));
        EXPECT_EQ(TextOf(d, IDC_DOS_STATIC), "ﾄﾞﾗｲﾌﾞ指定  ["_sj + CString(Native("dos").c_str()) + "]");
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_TRUE(bAnswered);
    const CDosConvertChoice& c = dlg.GetChoice();
    EXPECT_EQ(c.drive, 'Q');
    EXPECT_EQ(c.mode, CDosConvertChoice::modeForm);
    EXPECT_TRUE(c.units); // kept, though its mode is not chosen
    EXPECT_FALSE(c.classifications);
    EXPECT_TRUE(c.partsForm);
    EXPECT_FALSE(c.estimationForm);

    // Showing it again starts over.
    answerer.AnswerDialog(IDD_DOS_CONVERT, [&](CDialog& d) {
        EXPECT_EQ(TextOf(d, IDC_DOS_STATIC), "ﾄﾞﾗｲﾌﾞ指定  ["_sj + CString(GetDriveRoot('C').c_str()) + "]");
        EXPECT_TRUE(Checked(d, IDC_DOS_EDIT));
        EXPECT_TRUE(Checked(d, IDC_DOS_ESTIMATE_DATA));
        EXPECT_FALSE(Checked(d, IDC_DOS_PARTS_FORM));
        ClickDlgButton(d, IDC_DOS_PARTS_DATA);
        EXPECT_TRUE(Checked(d, IDC_DOS_PARTS_DATA));
        EXPECT_FALSE(Checked(d, IDC_DOS_ESTIMATE_DATA));
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetChoice().drive, 'C');
    EXPECT_EQ(dlg.GetChoice().mode, CDosConvertChoice::modeEdit);
    EXPECT_FALSE(dlg.GetChoice().units);
    EXPECT_TRUE(dlg.GetChoice().partsData);
    EXPECT_FALSE(dlg.GetChoice().estimateData);
}

TEST_F(DosDialogsTest, CommandConvertsTheChosenEstimatesAndReportsEach)
{
    // A second estimate whose records do not fit the definitions.
    Write("dos/MORVEL/DATA/kouji2.mit", EstimateDataFile(SampleEstimateLayout(), {}, SampleEstimateRecords(),
                                                         true, SampleEstimateLayout().Size() + 2));
    Write("work/KOUJI2.MMD", {'k', 'e', 'e', 'p'});

    answerer.AnswerDialog(IDD_DOS_CONVERT, [&](CDialog& d) {
        ASSERT_TRUE(SelectItem(d, Native("dos")));
        ClickDlgButton(d, IDOK);
    });
    answerer.AnswerDialog(IDD_DOS_FILE, [&](CDialog& d) {
        EXPECT_EQ(TextOf(d, IDC_DOS_STATIC), "ﾌｫﾙﾀﾞ名 "_sj + CString(Native("dos/MORVEL/DATA/").c_str()));
        EXPECT_EQ(ItemsOf(d), (std::vector<std::string>{"KOUJI1.MIT", "KOUJI2.MIT"}));
        EXPECT_EQ(ListOf(d).GetNextItem(-1, LVNI_SELECTED), 0);
        SelectItem(d, "KOUJI2", true);
        ClickDlgButton(d, IDOK);
    });
    answerer.EndDialogWith(IDD_DOS_CONVERT, IDCANCEL);
    answerer.AnswerNextMessageBox(IDOK);
    answerer.AnswerNextMessageBox(IDOK);
    CShellServices::RunDosConversion(nullptr);

    EXPECT_EQ(answerer.DialogIds(), (std::vector<UINT>{IDD_DOS_CONVERT, IDD_DOS_FILE, IDD_DOS_CONVERT}));
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"指定した [ KOUJI1.MIT ] をｺﾝﾊﾞｰﾄしました。"_sj,
                                    "指定した [ KOUJI2.MIT ] は、\n形式が異なるためｺﾝﾊﾞｰﾄできません。"_sj}));
    for (const auto& shown : answerer.GetShown()) {
        if (shown.kind == CDialogAnswerer::ShownMessageBox) {
            EXPECT_EQ(shown.nType & 0x0F, static_cast<UINT>(MB_OK));
        }
    }
    EXPECT_TRUE(Exists("work/KOUJI1.MMD"));
    // The rejected file leaves the estimate of its name as it was.
    EXPECT_EQ(Read("work/KOUJI2.MMD"), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(answerer.CountUnanswered(), 0);
}

TEST_F(DosDialogsTest, PartsListsThroughTheCommand)
{
    answerer.AnswerDialog(IDD_DOS_CONVERT, [&](CDialog& d) {
        ASSERT_TRUE(SelectItem(d, Native("dos")));
        ClickDlgButton(d, IDC_DOS_PARTS_DATA);
        ClickDlgButton(d, IDOK);
    });
    answerer.AnswerDialog(IDD_DOS_FILE, [&](CDialog& d) {
        EXPECT_EQ(TextOf(d, IDC_DOS_STATIC), "ﾌｫﾙﾀﾞ名 "_sj + CString(Native("dos/MORVEL/BUZAI/").c_str()));
        EXPECT_EQ(ItemsOf(d), (std::vector<std::string>{"BUZAI01.BZI"}));
        ClickDlgButton(d, IDOK);
    });
    answerer.EndDialogWith(IDD_DOS_CONVERT, IDCANCEL);
    CShellServices::RunDosConversion(nullptr);
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"指定した [ BUZAI01.BZI ] をｺﾝﾊﾞｰﾄしました。"_sj}));
    EXPECT_TRUE(Exists("work/BUZAI01.MBD"));
}

TEST_F(DosDialogsTest, CancelledFileChoiceConvertsNothing)
{
    answerer.AnswerDialog(IDD_DOS_CONVERT, [&](CDialog& d) {
        ASSERT_TRUE(SelectItem(d, Native("dos")));
        ClickDlgButton(d, IDOK);
    });
    answerer.EndDialogWith(IDD_DOS_FILE, IDCANCEL);
    answerer.EndDialogWith(IDD_DOS_CONVERT, IDCANCEL);
    CShellServices::RunDosConversion(nullptr);
    EXPECT_EQ(answerer.DialogIds(), (std::vector<UINT>{IDD_DOS_CONVERT, IDD_DOS_FILE, IDD_DOS_CONVERT}));
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    EXPECT_FALSE(Exists("work/KOUJI1.MMD"));
}

TEST_F(DosDialogsTest, DriveWithoutTheDosEditionSaysSo)
{
    std::filesystem::remove(Native("dos/MORVEL/MORINTL.IDT"));
    answerer.AnswerDialog(IDD_DOS_CONVERT, [&](CDialog& d) {
        ASSERT_TRUE(SelectItem(d, Native("dos")));
        ClickDlgButton(d, IDOK);
    });
    answerer.EndDialogWith(IDD_DOS_CONVERT, IDCANCEL);
    CShellServices::RunDosConversion(nullptr);
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"DOS版MORVELの環境ﾃﾞｰﾀが読み込めません。"_sj}));
    EXPECT_EQ(answerer.DialogIds(), (std::vector<UINT>{IDD_DOS_CONVERT, IDD_DOS_CONVERT}));
}

TEST_F(DosDialogsTest, BrowseMovesToAnotherEditionOrKeepsTheList)
{
    // A folder without the environment file, and one with it.
    std::filesystem::create_directories(Native("plain"));
    std::filesystem::create_directories(Native("second"));
    Write("plain/OTHER.MIT", {1, 2, 3});
    Write("second/MORINTL.IDT",
          EnvironmentFile(374, {{48, "Q:\\MORVEL"}, {110, "Q:\\MORVEL"}, {172, "Q:\\MORVEL"}}));
    Bytes copy = Read("dos/MORVEL/DATA/KOUJI1.MIT");
    Write("second/NEW1.MIT", copy);
    Write("second/NEW2.MIT", copy);
    Write("second/IGNORED.TXT", copy);

    answerer.AnswerFileDialog(SystemPathFromNative(Native("plain/OTHER.MIT")));
    answerer.AnswerFileDialog(CString()); // cancelled
    answerer.AnswerFileDialog([&](CFileDialog&, CString& path) {
        path = SystemPathFromNative(Native("second/NEW2.MIT"));
        return TRUE;
    });
    CDosFileDialog dlg(CDosFileDialog::modeEstimates, "Q:\\MORVEL\\DATA\\");
    answerer.AnswerDialog(IDD_DOS_FILE, [&](CDialog& d) {
        ClickDlgButton(d, IDC_DOS_BROWSE);
        EXPECT_EQ(answerer.MessageBoxTexts(),
                  (std::vector<CString>{"DOS版MORVELの環境ﾃﾞｰﾀが読み込めません。"_sj}));
        EXPECT_EQ(ItemsOf(d), (std::vector<std::string>{"KOUJI1.MIT"}));
        ClickDlgButton(d, IDC_DOS_BROWSE); // cancelled: nothing changes
        EXPECT_EQ(ItemsOf(d), (std::vector<std::string>{"KOUJI1.MIT"}));
        ClickDlgButton(d, IDC_DOS_BROWSE);
        EXPECT_EQ(ItemsOf(d), (std::vector<std::string>{"NEW1.MIT", "NEW2.MIT"}));
        EXPECT_EQ(TextOf(d, IDC_DOS_STATIC), "ﾌｫﾙﾀﾞ名 "_sj + CString(Native("second/").c_str()));
        SelectItem(d, "NEW2");
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetFolder(),
              SystemPathFromNative(Native("second/NEW2.MIT")).Left(dlg.GetFolder().GetLength()));
    ASSERT_EQ(dlg.GetChosenFiles().size(), 1u);
    EXPECT_EQ(dlg.GetChosenFiles()[0]->m_strFileName, "NEW2.MIT");
    EXPECT_EQ(dlg.GetChosenFiles()[0]->m_nFlag, 1);
    // The definitions are now those of the environment found there (the oldest layout).
    EXPECT_EQ(CDosTables::Get().environment.estimateDefinitions, "Q:\\MORVEL");

    // A folder without files gives an empty list, and OK no entries.
    CDosFileDialog empty(CDosFileDialog::modeParts, SystemPathFromNative(Native("plain")) + "\\");
    answerer.AnswerDialog(IDD_DOS_FILE, [&](CDialog& d) {
        EXPECT_TRUE(ItemsOf(d).empty());
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(empty.DoModal(), IDOK);
    EXPECT_TRUE(empty.GetChosenFiles().empty());
}

} // namespace
