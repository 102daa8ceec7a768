// Modal and modeless dialogs built from templates, run by the dialog answerer as a user
// would: data exchange both ways, validation messages that keep the dialog open, the
// dialog keys, and running the same object again.
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include "DialogTestSupport.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT IDD_PERSON = 9001;
constexpr int IDC_NAME = 1001;
constexpr int IDC_AGE = 1002;
constexpr int IDC_KIND0 = 1003;
constexpr int IDC_KIND1 = 1004;
constexpr int IDC_KIND2 = 1005;
constexpr int IDC_FLAG = 1006;
constexpr int IDC_RATIO = 1007;
constexpr int IDC_APPLY = 1008;
constexpr int IDC_LIST = 1009;

void RegisterPersonTemplate()
{
    RegisterDialogTemplate(
        DialogTemplate(IDD_PERSON, "人物"_sj, 220, 140, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                       {
                           {DlgStatic, IDC_STATIC, "名前(&N)"_sj, 7, 9, 40, 8},
                           {DlgEdit, IDC_NAME, CString(), 50, 7, 100, 14, WS_BORDER | ES_AUTOHSCROLL},
                           {DlgStatic, IDC_STATIC, "年齢(&A)"_sj, 7, 27, 40, 8},
                           {DlgEdit, IDC_AGE, CString(), 50, 25, 40, 14, WS_BORDER},
                           {DlgRadioButton, IDC_KIND0, "甲"_sj, 7, 45, 30, 10, WS_GROUP},
                           {DlgRadioButton, IDC_KIND1, "乙"_sj, 40, 45, 30, 10},
                           {DlgRadioButton, IDC_KIND2, "丙"_sj, 73, 45, 30, 10},
                           {DlgCheckBox, IDC_FLAG, "有効(&E)"_sj, 7, 60, 60, 10, WS_GROUP},
                           {DlgEdit, IDC_RATIO, CString(), 50, 75, 40, 14, WS_BORDER},
                           {DlgComboBox, IDC_LIST, CString(), 50, 95, 80, 60, CBS_DROPDOWNLIST},
                           {DlgPushButton, IDOK, "OK"_sj, 163, 7, 50, 14, BS_DEFPUSHBUTTON},
                           {DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 163, 24, 50, 14},
                           {DlgPushButton, IDC_APPLY, "適用(&P)"_sj, 163, 41, 50, 14},
                       }));
}

class CPersonDialog : public CDialog {
public:
    explicit CPersonDialog(CWnd* pParent = nullptr) : CDialog(IDD_PERSON, pParent) {}

    CString m_strName;
    int m_nAge = 0;
    int m_nKind = 0;
    int m_bFlag = 0;
    double m_dRatio = 0;
    CComboBox m_combo;
    int m_nInitCalls = 0;
    int m_nApplyClicks = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 10);
        DDX_Text(pDX, IDC_AGE, m_nAge);
        DDV_MinMaxInt(pDX, m_nAge, 1, 120);
        DDX_Radio(pDX, IDC_KIND0, m_nKind);
        DDX_Check(pDX, IDC_FLAG, m_bFlag);
        DDX_Text(pDX, IDC_RATIO, m_dRatio);
        DDV_MinMaxDouble(pDX, m_dRatio, 0.0, 1.0);
        DDX_Control(pDX, IDC_LIST, m_combo);
    }

    BOOL OnInitDialog() override
    {
        ++m_nInitCalls;
        CDialog::OnInitDialog();
        m_combo.AddString("一"_sj);
        m_combo.AddString("二"_sj);
        return TRUE;
    }

protected:
    afx_msg void OnApply() { ++m_nApplyClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPersonDialog, CDialog)
ON_BN_CLICKED(IDC_APPLY, OnApply)
END_MESSAGE_MAP()

class DialogModalTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterPersonTemplate(); }
    CDialogAnswerer answerer;
};

CString TextOf(CDialog& dlg, int nID)
{
    CString s;
    dlg.GetDlgItemText(nID, s);
    return s;
}

} // namespace

TEST_F(DialogModalTest, LoadsMembersIntoControlsAndReadsTheUsersValuesBackOnOK)
{
    CPersonDialog dlg;
    dlg.m_strName = "山田"_sj;
    dlg.m_nAge = 30;
    dlg.m_nKind = 1;
    dlg.m_dRatio = 0.25;
    CString seenName, seenAge, seenRatio;
    UINT kind1 = 0, flag = 9;
    answerer.AnswerDialog(IDD_PERSON, [&](CDialog& d) {
        seenName = TextOf(d, IDC_NAME);
        seenAge = TextOf(d, IDC_AGE);
        seenRatio = TextOf(d, IDC_RATIO);
        kind1 = d.IsDlgButtonChecked(IDC_KIND1);
        flag = d.IsDlgButtonChecked(IDC_FLAG);
        TypeDlgItemText(d, IDC_NAME, "鈴木花子"_sj);
        TypeDlgItemText(d, IDC_AGE, " 42 ");
        TypeDlgItemText(d, IDC_RATIO, "0.5");
        ClickDlgButton(d, IDC_KIND2);
        ClickDlgButton(d, IDC_FLAG);
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(seenName, "山田"_sj);
    EXPECT_EQ(seenAge, "30");
    EXPECT_EQ(seenRatio, "0.25");
    EXPECT_EQ(kind1, BST_CHECKED);
    EXPECT_EQ(flag, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_strName, "鈴木花子"_sj);
    EXPECT_EQ(dlg.m_nAge, 42);
    EXPECT_EQ(dlg.m_nKind, 2);
    EXPECT_EQ(dlg.m_bFlag, 1);
    EXPECT_DOUBLE_EQ(dlg.m_dRatio, 0.5);
    EXPECT_EQ(dlg.m_nInitCalls, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
}

TEST_F(DialogModalTest, TheSameObjectRunsAgainAndItsControlMemberIsAttachedAgain)
{
    CPersonDialog dlg;
    dlg.m_nAge = 5;
    int countsSeen[2] = {-1, -1};
    HWND comboHandles[2] = {nullptr, nullptr};
    for (int run = 0; run < 2; ++run) {
        answerer.AnswerDialog(IDD_PERSON, [&, run](CDialog& d) {
            countsSeen[run] = dlg.m_combo.GetCount();
            comboHandles[run] = dlg.m_combo.m_hWnd;
            EXPECT_EQ(CWnd::FromHandle(d.GetDlgItem(IDC_LIST)->m_hWnd), &dlg.m_combo);
            EXPECT_EQ(TextOf(d, IDC_AGE), run == 0 ? "5" : "6");
            TypeDlgItemText(d, IDC_AGE, run == 0 ? "6" : "7");
            ClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_combo.m_hWnd, nullptr);
    }
    EXPECT_EQ(countsSeen[0], 2);
    EXPECT_EQ(countsSeen[1], 2);
    EXPECT_NE(comboHandles[0], nullptr);
    EXPECT_NE(comboHandles[1], nullptr);
    EXPECT_EQ(dlg.m_nAge, 7);
    EXPECT_EQ(dlg.m_nInitCalls, 2);
}

TEST_F(DialogModalTest, AnOutOfRangeNumberShowsTheRangeMessageAndKeepsTheDialogOpen)
{
    CPersonDialog dlg;
    dlg.m_nAge = 30;
    bool stillOpen = false;
    CWnd* focusAfter = nullptr;
    CWnd* ageEdit = nullptr;
    DWORD selection = 0;
    answerer.AnswerDialog(IDD_PERSON, [&](CDialog& d) {
        TypeDlgItemText(d, IDC_AGE, "200");
        ClickDlgButton(d, IDOK);
        stillOpen = d.IsModalRunning() != FALSE;
        ageEdit = d.GetDlgItem(IDC_AGE);
        focusAfter = CWnd::GetFocus();
        selection = static_cast<CEdit*>(ageEdit)->GetSel();
        ClickDlgButton(d, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focusAfter, ageEdit);
    EXPECT_EQ(selection, MAKELONG(0, 3));
    ASSERT_EQ(answerer.GetShown().size(), 2u);
    const auto& box = answerer.GetShown()[1];
    EXPECT_EQ(box.kind, CDialogAnswerer::ShownMessageBox);
    EXPECT_EQ(box.text, "1 から 120 までの整数を入力してください。"_sj);
    EXPECT_EQ(box.nType & MB_ICONMASK, MB_ICONEXCLAMATION);
}

TEST_F(DialogModalTest, TextThatIsNoNumberOrTooLongShowsItsOwnMessage)
{
    struct Case {
        int nID;
        const char* typed;
        CString message;
    };
    const Case cases[] = {
        {IDC_AGE, "12a", "整数を入力してください。"_sj},
        {IDC_AGE, "", "整数を入力してください。"_sj},
        {IDC_AGE, "99999999999", "整数を入力してください。"_sj},
        {IDC_RATIO, "abc", "数値を入力してください。"_sj},
        {IDC_RATIO, "1.5", "0 から 1 までの数値を入力してください。"_sj},
        {IDC_NAME, "12345678901", "10 文字以内で入力してください。"_sj},
    };
    for (const Case& c : cases) {
        CDialogAnswerer local;
        CPersonDialog dlg;
        dlg.m_nAge = 3;
        local.AnswerDialog(IDD_PERSON, [&](CDialog& d) {
            // Typed past the edit's own limit where there is one, as pasted text would be.
            d.SetDlgItemText(c.nID, c.typed);
            ClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.typed;
        const auto texts = local.MessageBoxTexts();
        ASSERT_EQ(texts.size(), 1u) << c.typed;
        EXPECT_EQ(texts[0], c.message) << c.typed;
        EXPECT_EQ(local.CountUnanswered(), 2) << "the box had no answer, the dialog was left open";
    }
}

TEST_F(DialogModalTest, MaxCharsLimitsTheEditWhenLoading)
{
    CPersonDialog dlg;
    UINT limit = 0;
    answerer.AnswerDialog(IDD_PERSON, [&](CDialog& d) {
        limit = static_cast<CEdit*>(d.GetDlgItem(IDC_NAME))->GetLimitText();
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(limit, 10u);
}

TEST_F(DialogModalTest, EnterPressesTheDefaultButtonAndEscapeCancels)
{
    CPersonDialog dlg;
    dlg.m_nAge = 1;
    answerer.AnswerDialog(IDD_PERSON, [](CDialog& d) { PressDlgKey(d, VK_RETURN); });
    EXPECT_EQ(dlg.DoModal(), IDOK);

    answerer.AnswerDialog(IDD_PERSON, [](CDialog& d) { PressDlgKey(d, VK_ESCAPE); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    // Another default button takes Enter over.
    answerer.AnswerDialog(IDD_PERSON, [&](CDialog& d) {
        EXPECT_EQ(d.GetDefID(), MAKELONG(IDOK, DC_HASDEFID));
        d.SetDefID(IDC_APPLY);
        PressDlgKey(d, VK_RETURN);
        EXPECT_TRUE(d.IsModalRunning());
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_nApplyClicks, 1);
}

TEST_F(DialogModalTest, TheCloseBoxCancels)
{
    CPersonDialog dlg;
    answerer.AnswerDialog(IDD_PERSON, [](CDialog& d) {
        d.SendMessage(WM_CLOSE);
        EXPECT_TRUE(WaitUntil([&] { return !d.IsModalRunning(); }, "the close box to end the dialog"));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
}

TEST_F(DialogModalTest, ADialogNobodyAnswersIsCancelledAndRecorded)
{
    CPersonDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(answerer.DialogIds().size(), 1u);
    EXPECT_EQ(answerer.DialogIds()[0], IDD_PERSON);
    EXPECT_EQ(answerer.CountUnanswered(), 1);
    EXPECT_EQ(answerer.GetShown()[0].caption, "人物"_sj);
}

TEST_F(DialogModalTest, AMissingTemplateFailsWithMinusOne)
{
    CDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(answerer.GetShown().empty());
}

TEST_F(DialogModalTest, ControlsArePlacedInDialogUnitsOfTheDialogFont)
{
    CPersonDialog dlg;
    CRect client, edit;
    DialogBaseUnits units;
    answerer.AnswerDialog(IDD_PERSON, [&](CDialog& d) {
        units = d.GetDialogBaseUnits();
        d.GetClientRect(&client);
        CWnd* pEdit = d.GetDlgItem(IDC_NAME);
        pEdit->GetWindowRect(&edit);
        d.ScreenToClient(&edit);
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    ASSERT_GT(units.cxChar, 0);
    EXPECT_EQ(client.Width(), (220 * units.cxChar + 2) / 4);
    EXPECT_EQ(client.Height(), (140 * units.cyChar + 4) / 8);
    EXPECT_EQ(edit.left, (50 * units.cxChar + 2) / 4);
    EXPECT_EQ(edit.top, (7 * units.cyChar + 4) / 8);
    EXPECT_EQ(edit.Width(), (150 * units.cxChar + 2) / 4 - (50 * units.cxChar + 2) / 4);
}

namespace {

constexpr UINT IDD_CHOICE = 9002;
constexpr int IDC_NEW = 1071;
constexpr int IDC_PATH = 1073;

class CChoiceDialog : public CDialog {
public:
    CChoiceDialog() : CDialog(IDD_CHOICE) {}
    int m_nChoice = 0;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, IDC_NEW, m_nChoice); }
};

void RegisterChoiceTemplate()
{
    RegisterDialogTemplate(
        DialogTemplate(IDD_CHOICE, "処理選択"_sj, 97, 71, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                       {
                           {DlgStatic, IDC_STATIC, "処理を選択してください。"_sj, 7, 7, 83, 8},
                           {DlgRadioButton, IDC_NEW, "新規作成"_sj, 17, 21, 60, 10, WS_GROUP},
                           {DlgStatic, IDC_STATIC, "―"_sj, 17, 31, 60, 2, 0, 0, WS_GROUP},
                           {DlgRadioButton, IDC_PATH, "ﾊﾟｽ変更"_sj, 17, 34, 60, 10},
                           {DlgPushButton, IDOK, "OK"_sj, 24, 50, 50, 14, BS_DEFPUSHBUTTON | WS_GROUP},
                       }));
}

} // namespace

TEST_F(DialogModalTest, ARadioGroupExchangesTheIndexOfItsCheckedButtonSkippingOtherControls)
{
    RegisterChoiceTemplate();
    CChoiceDialog dlg;
    int checkedAtStart = 0;
    answerer.AnswerDialog(IDD_CHOICE, [&](CDialog& d) {
        checkedAtStart = d.GetCheckedRadioButton(IDC_NEW, IDC_PATH);
        ClickDlgButton(d, IDC_PATH);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_NEW), BST_UNCHECKED);
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(checkedAtStart, IDC_NEW);
    EXPECT_EQ(dlg.m_nChoice, 1);

    // Loading 1 checks the second radio button; -1 checks none and reads back as -1.
    answerer.AnswerDialog(IDD_CHOICE, [&](CDialog& d) {
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_NEW, IDC_PATH), IDC_PATH);
        d.CheckRadioButton(IDC_NEW, IDC_PATH, 0);
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nChoice, -1);
}

TEST_F(DialogModalTest, ArrowKeysMoveThroughARadioGroupAndCheckTheButton)
{
    RegisterChoiceTemplate();
    CChoiceDialog dlg;
    answerer.AnswerDialog(IDD_CHOICE, [&](CDialog& d) {
        d.GotoDlgCtrl(d.GetDlgItem(IDC_NEW));
        PressDlgKey(d, VK_DOWN);
        EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(IDC_PATH));
        PressDlgKey(d, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nChoice, 1);
}

TEST_F(DialogModalTest, AMessageBoxInsideADialogIsAnsweredByItsText)
{
    class CAskingDialog : public CPersonDialog {
    public:
        int m_nAnswer = 0;
        void OnOK() override
        {
            m_nAnswer = AfxMessageBox("保存しますか?"_sj, MB_YESNO | MB_ICONQUESTION);
            CPersonDialog::OnOK();
        }
    };
    CAskingDialog dlg;
    dlg.m_nAge = 9;
    answerer.AnswerMessageBox("保存しますか?"_sj, IDNO);
    answerer.AnswerDialog(IDD_PERSON, [](CDialog& d) { ClickDlgButton(d, IDOK); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nAnswer, IDNO);
    ASSERT_EQ(answerer.GetShown().size(), 2u);
    EXPECT_EQ(answerer.GetShown()[0].kind, CDialogAnswerer::ShownDialog);
    EXPECT_EQ(answerer.GetShown()[1].nType, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
}

namespace {

int g_deleted = 0;

class CModelessDialog : public CPersonDialog {
public:
    ~CModelessDialog() override { ++g_deleted; }
    void PostNcDestroy() override { delete this; }
};

} // namespace

TEST_F(DialogModalTest, AModelessDialogLivesUntilDestroyedAndMayDeleteItself)
{
    g_deleted = 0;
    DialogTemplate t = *FindDialogTemplate(IDD_PERSON);
    t.style |= WS_VISIBLE;
    t.nID = 9003;
    RegisterDialogTemplate(t);
    auto* pDlg = new CModelessDialog;
    pDlg->m_nAge = 12;
    ASSERT_TRUE(pDlg->Create(9003));
    EXPECT_TRUE(pDlg->IsWindowVisible());
    EXPECT_EQ(TextOf(*pDlg, IDC_AGE), "12");
    EXPECT_TRUE(answerer.GetShown().empty());
    // OK of a modeless dialog hides it; the window stays.
    ClickDlgButton(*pDlg, IDOK);
    EXPECT_FALSE(pDlg->IsWindowVisible());
    ASSERT_NE(pDlg->m_hWnd, nullptr);
    pDlg->DestroyWindow();
    EXPECT_EQ(g_deleted, 1);
}

namespace {

constexpr UINT IDD_LISTS = 9004;
constexpr int IDC_PICK = 1501;  // drop-down list
constexpr int IDC_WORD = 1502;  // editable drop-down
constexpr int IDC_ITEMS = 1503; // list box

class CListsDialog : public CDialog {
public:
    CListsDialog() : CDialog(IDD_LISTS) {}
    int m_nPick = 1;
    CString m_strWord = "be";
    CString m_strExact = "beta";
    int m_nItem = 2;

    BOOL OnInitDialog() override
    {
        for (const char* s : {"alpha", "beta", "gamma"}) {
            SendDlgItemMessage(IDC_PICK, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            SendDlgItemMessage(IDC_WORD, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            SendDlgItemMessage(IDC_ITEMS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        }
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_CBIndex(pDX, IDC_PICK, m_nPick);
        DDX_CBString(pDX, IDC_WORD, m_strWord);
        DDX_LBIndex(pDX, IDC_ITEMS, m_nItem);
    }
};

} // namespace

TEST_F(DialogModalTest, ComboAndListIndexesAndStringsAreExchanged)
{
    RegisterTestTemplate(IDD_LISTS,
                         {
                             {DlgComboBox, IDC_PICK, CString(), 7, 7, 80, 60, CBS_DROPDOWNLIST},
                             {DlgComboBox, IDC_WORD, CString(), 7, 27, 80, 60, CBS_DROPDOWN},
                             {DlgListBox, IDC_ITEMS, CString(), 7, 47, 80, 40, WS_BORDER | LBS_NOTIFY},
                             {DlgPushButton, IDOK, "OK", 100, 7, 50, 14, BS_DEFPUSHBUTTON},
                         });
    CListsDialog dlg;
    CString wordShown;
    int pickShown = -2, itemShown = -2;
    answerer.AnswerDialog(IDD_LISTS, [&](CDialog& d) {
        pickShown = static_cast<int>(d.SendDlgItemMessage(IDC_PICK, CB_GETCURSEL));
        itemShown = static_cast<int>(d.SendDlgItemMessage(IDC_ITEMS, LB_GETCURSEL));
        d.GetDlgItemText(IDC_WORD, wordShown);
        SelectDlgItem(d, IDC_PICK, 2);
        TypeDlgItemText(d, IDC_WORD, "delta");
        SelectDlgItem(d, IDC_ITEMS, 0);
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(pickShown, 1);
    EXPECT_EQ(itemShown, 2);
    EXPECT_EQ(wordShown, "beta") << "the first item starting with the value is selected";
    EXPECT_EQ(dlg.m_nPick, 2);
    EXPECT_EQ(dlg.m_strWord, "delta");
    EXPECT_EQ(dlg.m_nItem, 0);
}
