// Edit controls: positions and limits in code page 932 bytes, EN_CHANGE where the
// system's edits send it, characters typed through the keyboard path and filtered by a
// subclass, "\r\n" lines in multi-line edits.
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include "DialogTestSupport.h"
#include "UiTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr UINT IDD_EDITS = 9201;
constexpr int IDC_LINE = 1301;
constexpr int IDC_MULTI = 1302;
constexpr int IDC_DIGITS = 1303;

// An edit that lets only digits and Backspace through, as the number fields do.
class CDigitsEdit : public CEdit {
public:
    int refused = 0;

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        if ((nChar >= '0' && nChar <= '9') || nChar == VK_BACK)
            CEdit::OnChar(nChar, nRepCnt, nFlags);
        else
            ++refused;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDigitsEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

class CEditDialog : public CNotifyDialog {
public:
    CEditDialog() : CNotifyDialog(IDD_EDITS) {}
    CDigitsEdit m_digits;
    BOOL OnInitDialog() override
    {
        m_digits.SubclassDlgItem(IDC_DIGITS, this);
        return CNotifyDialog::OnInitDialog();
    }
};

class ControlEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestTemplate(IDD_EDITS,
                             {
                                 {DlgEdit, IDC_LINE, CString(), 7, 7, 100, 14, WS_BORDER | ES_AUTOHSCROLL},
                                 {DlgEdit, IDC_MULTI, CString(), 7, 25, 100, 40,
                                  WS_BORDER | ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL},
                                 {DlgEdit, IDC_DIGITS, CString(), 7, 70, 100, 14, WS_BORDER},
                                 {DlgPushButton, IDOK, "OK"_sj, 140, 7, 50, 14, BS_DEFPUSHBUTTON},
                             });
    }

    void Run(const std::function<void(CEditDialog&, CEdit&, CEdit&)>& body)
    {
        CEditDialog dlg;
        answerer.AnswerDialog(IDD_EDITS, [&](CDialog&) {
            body(dlg, *static_cast<CEdit*>(dlg.GetDlgItem(IDC_LINE)),
                 *static_cast<CEdit*>(dlg.GetDlgItem(IDC_MULTI)));
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
    }

    // Types text into a widget through the keyboard path, one key per character.
    static void TypeKeys(QWidget* w, const QString& text)
    {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(w, &release);
        }
    }

    CDialogAnswerer answerer;
};

} // namespace

TEST_F(ControlEditTest, SingleLineEditsReportTextSetByCodeAndMultiLineEditsDoNot)
{
    Run([](CEditDialog& dlg, CEdit& line, CEdit& multi) {
        dlg.Clear();
        line.SetWindowText("abc");
        EXPECT_EQ(dlg.Count(IDC_LINE, EN_CHANGE), 1);
        EXPECT_EQ(dlg.Count(IDC_LINE, EN_UPDATE), 1);
        multi.SetWindowText("abc");
        EXPECT_EQ(dlg.Count(IDC_MULTI, EN_CHANGE), 0);

        // Selecting and limiting change nothing the owner hears of.
        line.SetSel(0, 2);
        line.LimitText(10);
        EXPECT_EQ(dlg.Count(IDC_LINE, EN_CHANGE), 1);

        line.ReplaceSel("X");
        EXPECT_EQ(dlg.Count(IDC_LINE, EN_CHANGE), 2);
        multi.ReplaceSel("Y");
        EXPECT_EQ(dlg.Count(IDC_MULTI, EN_CHANGE), 1);
        CString text;
        line.GetWindowText(text);
        EXPECT_EQ(text, "Xc");

        TypeDlgItemText(dlg, IDC_LINE, "user");
        EXPECT_EQ(dlg.Count(IDC_LINE, EN_CHANGE), 3);
        EXPECT_TRUE(line.GetModify());
    });
}

TEST_F(ControlEditTest, SelectionsCountBytesOfDoubleByteCharacters)
{
    Run([](CEditDialog&, CEdit& line, CEdit&) {
        line.SetWindowText("aあいb"_sj);
        EXPECT_EQ(line.GetWindowTextLength(), 6);
        line.SetSel(1, 3);
        int start = -1, end = -1;
        line.GetSel(start, end);
        EXPECT_EQ(start, 1);
        EXPECT_EQ(end, 3);
        line.ReplaceSel("X");
        CString text;
        line.GetWindowText(text);
        EXPECT_EQ(text, "aXいb"_sj);
        line.GetSel(start, end);
        EXPECT_EQ(start, 2);
        EXPECT_EQ(end, 2);
        // -1 as the end selects to the end; -1 as the start removes the selection.
        line.SetSel(0, -1);
        EXPECT_EQ(line.GetSel(), MAKELONG(0, 5));
        line.SetSel(-1, 0);
        line.GetSel(start, end);
        EXPECT_EQ(start, end);
    });
}

TEST_F(ControlEditTest, TheLimitCountsBytesForTypingAndCutsReplacementsAtWholeCharacters)
{
    Run([](CEditDialog& dlg, CEdit& line, CEdit&) {
        line.LimitText(5);
        EXPECT_EQ(line.GetLimitText(), 5u);
        TypeDlgItemText(dlg, IDC_LINE, "あい"_sj);
        TypeDlgItemText(dlg, IDC_LINE, "あいう"_sj);
        CString text;
        line.GetWindowText(text);
        EXPECT_EQ(text, "あい"_sj) << "six bytes do not fit into five";
        line.SetSel(4, 4);
        line.ReplaceSel("うえ"_sj);
        line.GetWindowText(text);
        EXPECT_EQ(text, "あい"_sj) << "a double-byte character is never cut in two";
        line.ReplaceSel("xyz");
        line.GetWindowText(text);
        EXPECT_EQ(text, "あいx"_sj);
        // Text set by code is not limited.
        line.SetWindowText("1234567");
        line.GetWindowText(text);
        EXPECT_EQ(text, "1234567");
        line.LimitText(0);
        EXPECT_GT(line.GetLimitText(), 30000u);
    });
}

TEST_F(ControlEditTest, TypedCharactersReachTheSubclassWhichFiltersThem)
{
    Run([this](CEditDialog& dlg, CEdit&, CEdit&) {
        dlg.m_digits.SetFocus();
        TypeKeys(dlg.m_digits.GetWidget(), QStringLiteral("1a2"));
        CString text;
        dlg.m_digits.GetWindowText(text);
        EXPECT_EQ(text, "12");
        EXPECT_EQ(dlg.m_digits.refused, 1);
        // A double-byte character arrives as two WM_CHAR bytes, both refused here.
        TypeKeys(dlg.m_digits.GetWidget(), QString::fromUtf8("あ"));
        EXPECT_EQ(dlg.m_digits.refused, 3);
        dlg.m_digits.GetWindowText(text);
        EXPECT_EQ(text, "12");
    });
}

TEST_F(ControlEditTest, CharactersSentByCodeAreInsertedWholeFromTheirTwoBytes)
{
    Run([](CEditDialog&, CEdit& line, CEdit&) {
        const CString a = "あ"_sj;
        line.SendMessage(WM_CHAR, static_cast<BYTE>(a[0]));
        line.SendMessage(WM_CHAR, static_cast<BYTE>(a[1]));
        line.SendMessage(WM_CHAR, 'Z');
        line.SendMessage(WM_CHAR, 0xB1); // half-width katakana, one byte
        CString text;
        line.GetWindowText(text);
        EXPECT_EQ(text, "あZｱ"_sj);
        line.SendMessage(WM_CHAR, VK_BACK);
        line.GetWindowText(text);
        EXPECT_EQ(text, "あZ"_sj);
    });
}

TEST_F(ControlEditTest, UndoTakesBackTheLastChange)
{
    Run([](CEditDialog& dlg, CEdit& line, CEdit&) {
        TypeDlgItemText(dlg, IDC_LINE, "first");
        line.SetSel(0, -1);
        line.ReplaceSel("second", TRUE);
        EXPECT_TRUE(line.CanUndo());
        EXPECT_TRUE(line.Undo());
        CString text;
        line.GetWindowText(text);
        EXPECT_EQ(text, "first");
    });
}

TEST_F(ControlEditTest, MultiLineTextUsesCarriageReturnLineFeedAndCountsLines)
{
    Run([](CEditDialog&, CEdit&, CEdit& multi) {
        multi.SetWindowText("one\r\ntwo\r\nthree");
        EXPECT_EQ(multi.GetLineCount(), 3);
        CString text;
        multi.GetWindowText(text);
        EXPECT_EQ(text, "one\r\ntwo\r\nthree");
        EXPECT_EQ(multi.GetWindowTextLength(), 15);
        // Offsets count both bytes of each line end.
        multi.SetSel(5, 8);
        multi.ReplaceSel("TWO");
        multi.GetWindowText(text);
        EXPECT_EQ(text, "one\r\nTWO\r\nthree");
        int start = 0, end = 0;
        multi.GetSel(start, end);
        EXPECT_EQ(start, 8);
    });
}

TEST_F(ControlEditTest, EnterInAMultiLineEditWithWantReturnStaysInTheEdit)
{
    Run([](CEditDialog& dlg, CEdit& line, CEdit& multi) {
        multi.SetFocus();
        EXPECT_TRUE(multi.SendMessage(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
        PressDlgKey(dlg, VK_RETURN);
        EXPECT_TRUE(dlg.IsModalRunning());
        line.SetFocus();
        PressDlgKey(dlg, VK_RETURN);
        EXPECT_FALSE(dlg.IsModalRunning());
        EXPECT_EQ(dlg.GetModalResult(), IDOK);
    });
}

TEST_F(ControlEditTest, ReadOnlyEditsRefuseChangesFromTheUser)
{
    Run([](CEditDialog& dlg, CEdit& line, CEdit&) {
        line.SetWindowText("fixed");
        line.SetReadOnly(TRUE);
        EXPECT_TRUE(line.GetStyle() & ES_READONLY);
        EXPECT_FALSE(TypeDlgItemText(dlg, IDC_LINE, "changed"));
        line.SendMessage(WM_CHAR, 'x');
        CString text;
        line.GetWindowText(text);
        EXPECT_EQ(text, "fixed");
    });
}

TEST_F(ControlEditTest, FocusChangesAreReportedAndTheDialogSelectsAnEditsTextOnTheWayIn)
{
    Run([](CEditDialog& dlg, CEdit& line, CEdit& multi) {
        line.SetWindowText("hello");
        multi.SetFocus();
        dlg.Clear();
        dlg.GotoDlgCtrl(&line);
        EXPECT_EQ(dlg.Count(IDC_LINE, EN_SETFOCUS), 1);
        EXPECT_EQ(dlg.Count(IDC_MULTI, EN_KILLFOCUS), 1);
        EXPECT_EQ(line.GetSel(), MAKELONG(0, 5));
    });
}
