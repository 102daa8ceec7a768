// CTextPropDialog: what the two text-property dialogs ("文字ﾌﾟﾛﾊﾟﾃｨ") share. The user
// composes the text of a text object, or of the rows of selected table cells, as a list of
// pieces (plain text and field tokens, see TextPieces.h): a piece's kind is chosen with the
// radio buttons, its settings in the lists and edits below them, and the four buttons
// insert, replace and delete pieces. OK joins the pieces into the first target's text and,
// for further targets, into copies whose data-field rows and numbering starts count up by
// one per target.
//
// CTextPropEMDialog (estimate layouts: estimate and information fields) and
// CTextPropPMDialog (parts layouts: parts fields) supply the forms, the field opening and
// their radio buttons. The caller sets the public members, runs DoModal and copies them
// back only on IDOK.
//
// Groups, rows and numbering starts must be whole numbers from 1, and an item name that
// would break a token (a "$", a "^", or a "," in a data field) cannot be used: the add and
// update buttons then say so and leave the list as it is.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CTextPropDialog : public CDialog {
    DECLARE_DYNAMIC(CTextPropDialog)
public:
    // The kinds of piece; the numbers are those of m_nPieceKind.
    enum PieceKind {
        kindNone = -1, // before any kind was chosen
        kindDirect = 0,
        kindDataField = 1, // "$見積(" or "$部材("
        kindPageTotal = 2,
        kindInformation = 3,
        kindNumbering = 4,
        kindDate = 5,
        kindTime = 6,
        kindPage = 7,
        KIND_COUNT = 8
    };

    ~CTextPropDialog() override;

    CString m_strText;              // in: the first target's text; out: its new text
    CStringArray m_astrTargetTexts; // out: entry i (i >= 1) is target i's new text
    int m_nTargetCount = 1;
    int m_nTimePicture = 0;
    int m_nDatePicture = 0;
    int m_nNumberingPicture = 0;
    int m_nPagePicture = 0;
    int m_nPageTotalPicture = 0;
    BOOL m_bRuledLine = FALSE;
    BOOL m_bShading = FALSE;
    BOOL m_bFrameOptions = FALSE;

    int GetPieceKind() const { return m_nPieceKind; }

    // The messages of the add and update buttons for input that would break a token.
    static CString BadNumberMessage();
    static CString BadItemMessage();

protected:
    CTextPropDialog(UINT nIDTemplate, int nTargets, BOOL bFrameOptions, CWnd* pParent);

    // What differs between estimate and parts layouts.
    virtual CString DataFieldOpening() const = 0; // "$見積(" or "$部材("
    virtual UINT RadioOf(int nKind) const = 0;    // 0 for a kind without a radio button
    // The item names and attributes that the item list shows for a field kind.
    virtual std::vector<CString> ItemNames(int nKind) const = 0;
    virtual CString ItemAttribute(int nKind, int nItem) const = 0;
    // The names the fixed-text combo suggests, and whether a piece found among none of them
    // goes in front even when it is empty.
    virtual std::vector<CString> SuggestionNames() const = 0;
    virtual bool SuggestEmptyPiece() const = 0;
    // The picture index of the layout's own field kinds (the data field, the information),
    // or null for a kind without one.
    virtual int* FieldPictureSlot(int nKind) = 0;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnAddBefore();
    afx_msg void OnAddAfter();
    afx_msg void OnDeletePiece();
    afx_msg void OnUpdatePiece();
    afx_msg void OnSelchangeFormatList();
    afx_msg void OnSelchangeItemList();
    afx_msg void OnSelchangePieceList();
    afx_msg void OnDirectInput();
    // The data-field radio button ("$見積(" or "$部材("): each layout maps its own.
    afx_msg void OnDataField();
    afx_msg void OnNumbering();
    afx_msg void OnDate();
    afx_msg void OnTime();
    afx_msg void OnCurrentPage();
    afx_msg void OnAllPages();
    afx_msg void OnRuledLine();
    afx_msg void OnShading();
    DECLARE_MESSAGE_MAP()

    // Sets the kind and the controls from the selected piece.
    void SyncControlsToPiece();
    // Chooses a kind for the piece P: the radio, the controls' visibility and their content.
    void SelectKind(int nKind, const CString& piece);
    // The selected piece's text (empty when none is selected).
    CString SelectedPiece() const;
    // The picture index of a kind, or null for a kind without one.
    int* PictureSlot(int nKind);

    CListBox m_pieceList;
    CComboBox m_formatList;
    CComboBox m_fixedText;
    CComboBox m_itemList;
    CEdit m_rowEdit;
    CEdit m_groupEdit;
    int m_nPieceKind = kindNone;

private:
    // The piece the controls describe; FALSE (after a message) when the input would break
    // the token, or when the kind builds nothing.
    BOOL BuildPiece(CString& piece);
    void ShowControl(UINT nID, bool bShow);
    void FillFormatList(int nKind);
    void SelectFieldKind(int nKind, const CString& piece);
    void SelectDirectKind(const CString& piece);
    void ShowFormatForItem(int nKind);
    static CString NumberOrOne(const CString& strText);
};
