// The modeless find and replace dialogs of the grids (検索, 置換). They search nothing
// themselves: every button becomes a WM_FINDREPLACE_REQUEST to the owner, the grid view
// that made them, which searches and replaces and answers whether it found a match. Any
// window that answers that message can own them (the estimate grid and the parts grid do).
//
// Use:
//   auto* pDlg = new CFindDialog(pView);        // the owner receives the requests
//   pDlg->m_strFind = text;                     // what the search box starts with
//   pDlg->Create();                             // shown at once, beside the owner
// The dialog lives until Cancel or its close box; when its window is gone it sends the
// owner WM_MODELESS_CLOSED (MODELESS_FIND or MODELESS_REPLACE) and deletes itself, so the
// owner forgets its pointer then and never deletes the dialog itself (it may destroy the
// window with DestroyWindow, which ends the dialog the same way).
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/dialogs/CDialog.h"

#include <functional>

// What the two dialogs share: the owner, the search text and the three choices both offer,
// the request they send for a search, and how they end.
class CFindReplaceBase : public CDialog {
public:
    CWnd* m_pOwner;
    int m_bWholeWord = 0;
    int m_bMatchCase = 0;
    int m_bSelectionOnly = 0;
    CString m_strFind;

protected:
    // nModeless: what the owner is told when the dialog's window is gone (MODELESS_FIND or
    // MODELESS_REPLACE).
    CFindReplaceBase(UINT nIDTemplate, CWnd* pOwner, WPARAM nModeless);

    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;
    void PostNcDestroy() override;
    afx_msg void OnWholeWord();
    afx_msg void OnMatchCase();
    afx_msg void OnSelectionOnly();
    DECLARE_MESSAGE_MAP()

    // The request bits of the three choices (FRQ_ of ModelessMessages.h).
    WPARAM OptionBits() const;
    // Takes the search text from its box and asks the owner for the next match with bits;
    // says so when there is none (an empty text finds nothing) and keeps the focus. The
    // owner's answer: nonzero when it found one.
    LRESULT FindNext(WPARAM bits);

private:
    WPARAM m_nModeless;
};

class CFindDialog : public CFindReplaceBase {
public:
    explicit CFindDialog(CWnd* pOwner);
    // Makes the window from template 212 as a modeless dialog owned by the owner.
    BOOL Create();

    int m_bSearchUp = 0;
    int m_bSearchDown = 1;

    // The request bits the dialog's choices give (FRQ_ of ModelessMessages.h).
    WPARAM GetRequestBits() const;

protected:
    BOOL OnInitDialog() override;
    // Enter searches (while there is something to search for); it never closes the dialog.
    void OnOK() override;
    afx_msg void OnChangeFindText();
    afx_msg void OnSearchUp();
    afx_msg void OnSearchDown();
    afx_msg void OnFindNext();
    DECLARE_MESSAGE_MAP()
};

class CReplaceDialog : public CFindReplaceBase {
public:
    explicit CReplaceDialog(CWnd* pOwner);
    BOOL Create();

    int m_bFound = 0; // the last Find Next found a match
    CString m_strReplace;

    // Whether the owner still stands on the match the last Find Next found: the estimate
    // grid answers false once a click has moved its current cell. Without it (the parts
    // grid) the found flag alone decides. Replace replaces only while this holds, and
    // otherwise searches first.
    std::function<bool()> m_stillOnMatch;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter searches; it never closes the dialog.
    void OnOK() override;
    afx_msg void OnFindNext();
    afx_msg void OnReplace();
    afx_msg void OnReplaceAll();
    DECLARE_MESSAGE_MAP()
};
