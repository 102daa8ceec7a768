// The dialog answerer: lets tests walk through start-up and commands as a user would,
// without a person in front of the screen. While a CDialogAnswerer lives, every modal
// dialog, message box and common dialog is answered by it instead of waiting for input:
//
//   CDialogAnswerer answerer;
//   answerer.AnswerDialog(270, [](CDialog& dlg) {
//       ClickDlgButton(dlg, 1073);   // "ﾊﾟｽ変更"
//       ClickDlgButton(dlg, IDOK);
//   });
//   answerer.AnswerMessageBox("単位ﾌｧｲﾙがないか、壊れています。"_sj, IDOK);
//   ... run the code under test ...
//   EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u);
//
// A dialog's answer runs after OnInitDialog, with the dialog's controls live; it acts on
// them (the helpers below do what a user's clicks and typing do) and normally ends the
// dialog by clicking a button or calling EndDialog. A dialog its answer leaves open, or a
// dialog nobody answers, ends with IDCANCEL so that a test never waits for input; both are
// recorded. Message boxes nobody answers return their default button (the first one) and
// are recorded as unanswered too.
//
// While an answerer lives, AfxMessageBox goes to it whatever handler was installed before.
// Answerers nest: the newest one answers, and the previous one is back when it goes.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Types.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

class CColorDialog;
class CDialog;
class CFileDialog;
class CFontDialog;
class CWnd;

class CDialogAnswerer {
public:
    CDialogAnswerer();
    ~CDialogAnswerer();
    CDialogAnswerer(const CDialogAnswerer&) = delete;
    CDialogAnswerer& operator=(const CDialogAnswerer&) = delete;

    // The answerer in charge, or null when dialogs wait for the user.
    static CDialogAnswerer* Current();

    using DialogAction = std::function<void(CDialog& dlg)>;
    // The next modal dialog of that template answers with the action (answers queue up
    // per template and are used once each, in order).
    void AnswerDialog(UINT nIDTemplate, DialogAction action);
    // Every modal dialog of that template answers with the action once the queued answers
    // are used up.
    void AlwaysAnswerDialog(UINT nIDTemplate, DialogAction action);
    // Shortcut: the next dialog of that template ends at once with nResult (no OnOK, so
    // nothing is read from its controls).
    void EndDialogWith(UINT nIDTemplate, int nResult);

    // The next message box with exactly this text returns nResult.
    void AnswerMessageBox(const CString& text, int nResult);
    // The next message box, whatever its text, returns nResult (after the ones answered by
    // text have been looked at).
    void AnswerNextMessageBox(int nResult);
    // What message boxes without an answer return; 0 (the default) means their first
    // button (IDOK, IDYES, IDRETRY, IDABORT).
    void SetDefaultMessageBoxAnswer(int nResult) { m_nDefaultMessageBox = nResult; }

    // The next file dialog returns this path (a system path); an empty path cancels it.
    void AnswerFileDialog(const CString& path);
    // The next file dialog is answered by the function, which returns FALSE to cancel or
    // TRUE with the chosen path.
    void AnswerFileDialog(std::function<BOOL(CFileDialog& dlg, CString& path)> answer);
    // The next colour dialog returns the colour; the next font dialog the font (and
    // colour). Without an answer they are cancelled.
    void AnswerColorDialog(COLORREF color);
    void AnswerFontDialog(const LOGFONT& font, COLORREF color = 0);
    void CancelNextCommonDialog();

    // What was shown, in order.
    enum ShownKind { ShownDialog, ShownMessageBox, ShownFileDialog, ShownColorDialog, ShownFontDialog };
    struct CShown {
        ShownKind kind = ShownDialog;
        UINT nID = 0;          // dialog template
        CString text;          // message box text, or the file dialog's chosen path
        UINT nType = 0;        // message box type flags, or the file dialog's flags
        CString caption;       // the dialog's or message box's caption
        int nResult = 0;       // what it returned
        bool answered = false; // an answer was found
    };
    const std::vector<CShown>& GetShown() const { return m_shown; }
    std::vector<CString> MessageBoxTexts() const;
    std::vector<UINT> DialogIds() const;
    // Dialogs and message boxes that had no answer (or whose answer left them open).
    int CountUnanswered() const;
    void ClearShown() { m_shown.clear(); }

    // ---- used by the dialogs themselves ----------------------------------------------------
    // A modal dialog after OnInitDialog: runs its answer. Returns TRUE when the answerer
    // took the dialog (it is ended: by its answer or, failing that, with IDCANCEL).
    BOOL RunDialog(CDialog& dlg);
    // A message box: its answer.
    int RunMessageBox(const CString& text, const CString& caption, UINT nType);
    // A file dialog: TRUE with the path, FALSE for cancel.
    BOOL RunFileDialog(CFileDialog& dlg, CString& path);
    BOOL RunColorDialog(CColorDialog& dlg, COLORREF& color);
    BOOL RunFontDialog(CFontDialog& dlg, LOGFONT& font, COLORREF& color);

private:
    struct CFontAnswer {
        bool cancel = false;
        LOGFONT font{};
        COLORREF color = 0;
    };
    struct CColorAnswer {
        bool cancel = false;
        COLORREF color = 0;
    };

    CDialogAnswerer* m_pPrevious = nullptr;
    MessageBoxHandler m_previousHandler;
    std::map<UINT, std::deque<DialogAction>> m_dialogAnswers;
    std::map<UINT, DialogAction> m_dialogDefaults;
    std::vector<std::pair<CString, int>> m_messageAnswers;
    std::deque<int> m_nextMessageAnswers;
    int m_nDefaultMessageBox = 0;
    std::deque<std::function<BOOL(CFileDialog&, CString&)>> m_fileAnswers;
    std::deque<CColorAnswer> m_colorAnswers;
    std::deque<CFontAnswer> m_fontAnswers;
    int m_nCancelCommon = 0;
    std::vector<CShown> m_shown;
};

// ---- what a user does to a dialog's controls (for answers and widget tests) -------------------
// Clicks a button as with the mouse: a check box or radio button changes its state as its
// style says, then the parent is told (BN_CLICKED). A disabled or missing button does
// nothing; returns FALSE then.
BOOL ClickDlgButton(CWnd& dlg, int nID);
// Replaces the text of an edit (or an editable combo box's edit) as if typed: the control
// reports the change (EN_CHANGE / CBN_EDITCHANGE).
BOOL TypeDlgItemText(CWnd& dlg, int nID, const CString& text);
// Picks an entry of a combo box or list box as with the mouse: the selection changes and
// the parent is told (CBN_SELCHANGE / LBN_SELCHANGE). FALSE for an index out of range.
BOOL SelectDlgItem(CWnd& dlg, int nID, int nIndex);
// Double-clicks an entry of a list box (LBN_DBLCLK after the selection).
BOOL DoubleClickDlgItem(CWnd& dlg, int nID, int nIndex);
// Presses Enter or Esc in the dialog, with the focus where it is.
void PressDlgKey(CWnd& dlg, UINT nVirtKey);
