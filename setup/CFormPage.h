// CFormPage: what the estimation, parts and information form pages of the setup sheet
// share. Each shows a form's items as grid rows 1 to 99 (grid row r is item r - 1 of the
// form, whose items count from 0), one column per item string, and types into the
// current cell through an editor laid over it; columns with a fixed vocabulary are filled
// from a pick list. The page works in setup mode (the application's form), start-up mode
// (opened alone because the form file is missing: an empty grid that becomes the form
// file on OK or Cancel) or import mode (a copy handed in by the sheet, view only).
//
// "読 込" reads the chosen file aside first: only a file that reads whole changes the
// form, its file name and the folder setting. "初期設定" reads the current file again the
// same way; a file that reads whole sets the rows of its items, and the rows after them
// stay as they are. A file that cannot be written is reported and changes nothing on disk;
// the form in memory keeps what the grid gave it.
#pragma once

#include "app/CFormFile.h"
#include "platform/base/CArchive.h"
#include "setup/CSetupGridPage.h"

#include <memory>
#include <vector>

// A form of any of the three types, as the page reads and writes it.
class IFormAccess {
public:
    virtual ~IFormAccess() = default;
    virtual int Count() const = 0;
    virtual void SetCount(int nCount) = 0;
    virtual CString Item(int nItem, int nCol) const = 0; // nCol from 0
    virtual void SetItem(int nItem, int nCol, const CString& text) = 0;
    virtual CString Heading(int nCol) const = 0;
    // Loads into the form; 0, or -1 when the file is no such form (reported).
    virtual int Load(CArchive& ar) = 0;
    virtual void Store(CArchive& ar) = 0;
};

template <class TForm>
class CFormAccess : public IFormAccess {
public:
    explicit CFormAccess(TForm& form) : m_form(form) {}
    int Count() const override { return m_form.GetCount(); }
    void SetCount(int nCount) override { m_form.SetCount(nCount); }
    CString Item(int nItem, int nCol) const override { return m_form.GetItem(nItem, nCol); }
    void SetItem(int nItem, int nCol, const CString& text) override { m_form.SetItem(nItem, nCol, text); }
    CString Heading(int nCol) const override { return m_form.m_strHeading[static_cast<size_t>(nCol)]; }
    int Load(CArchive& ar) override { return m_form.Serialize(ar); }
    void Store(CArchive& ar) override { m_form.Serialize(ar); }

private:
    TForm& m_form;
};

// One pick list: its title and the shown and stored texts.
struct CPickList {
    CString title;
    std::vector<CString> shown;
    std::vector<CString> stored;
};

class CFormPage : public CSetupGridPage {
    DECLARE_DYNAMIC(CFormPage)
public:
    static constexpr int ROWS = 100; // with the heading row
    static constexpr int LAST_ROW = ROWS - 1;

    // pEdit: the page's own editor. m_nSetup 1 is setup mode, 0 import mode; m_nSinglePage
    // start-up mode.
    CFormPage(UINT nIDTemplate, int nEditableCols, UINT nIDMenu, std::unique_ptr<CSetupCellEdit> pEdit);
    ~CFormPage() override;

    int m_nShown = 0; // set when the page initialises; the sheet clears it

    // ---- what a page supplies ------------------------------------------------------------
    virtual std::unique_ptr<IFormAccess> AppForm() const = 0;
    virtual std::unique_ptr<IFormAccess> CopyForm() = 0;
    // A fresh form of the page's type with its default headings (for import-mode saves and
    // for reading a file aside).
    struct CScratchForm {
        virtual ~CScratchForm() = default;
        virtual IFormAccess& Access() = 0;
        // Makes the application's form a copy of this one.
        virtual void CommitToApp() = 0;
    };
    virtual std::unique_ptr<CScratchForm> NewForm() const = 0;
    virtual CString& AppFileName() const = 0; // the application's member
    virtual CString& CopyFileName() = 0;
    virtual const char* FolderKey() const = 0;       // "Estimation Form"
    virtual const char* StartupFileName() const = 0; // "meisai.MMK"
    virtual const char* NameKey() const = 0;         // "Estimation Form Name"
    virtual const char* WidthSection() const = 0;    // "Estimation Width Setting"
    virtual std::vector<long> DefaultWidths() const = 0;
    virtual const char* DefaultExt() const = 0;
    virtual CString OpenFilter() const = 0;
    virtual CString SaveFilter() const = 0;
    virtual int FormKindIndex() const = 0; // FormKind of the backups
    virtual const char* WriteFailMessage() const = 0;
    // The pick list of a column, or null when the column is typed.
    virtual const CPickList* PickListOf(int nCol) = 0;
    // Next-column steps of Enter from a column, by the row's attribute.
    virtual int EnterSteps(int nCol, const CString& strAttribute) const = 0;
    // After a pick: extra rules (the estimation form's unique codes).
    virtual void AfterPick(int nCol, int nIndex)
    {
        (void)nCol;
        (void)nIndex;
    }
    // Whether the picture column takes Backspace (the estimation form's does).
    virtual bool PictureTakesBackspace() const { return false; }
    // The form reader's message ("見積形式ﾌｧｲﾙがないか、壊れています。").
    virtual const char* ReadFailMessage() const = 0;
    // Whether a column is filled from a pick list (without building the list).
    virtual bool IsPickColumn(int nCol) const = 0;

    // ---- for the sheet and the tests -------------------------------------------------------
    // The last row, from 99 down, whose item name is not empty; 99 when every name is.
    int ItemCount() const;
    BOOL IsModified();
    // The "登 録" save routine: asks for a file name and stores the grid there.
    void SaveFormAs();
    void MoveCell(int nCode);
    // The editor's input mode for a column of an item with that attribute.
    int EditModeOf(int nCol, const CString& strAttribute) const;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    CString Folder() const;
    void PlaceEditor();
    void SetCurrent(int nRow, int nCol);
    void CommitEditor(int nRow, int nCol) override;
    void SetEditorText(const CString& text) override;
    CString CommittedText(int nRow, int nCol);
    void LoadFromApp();
    void LoadFrom(const IFormAccess& form);
    // Empties every item cell of rows 1 to 99 (the caller has cleared the ready flag).
    void EmptyGrid();
    void TakeSnapshot(const IFormAccess& form);
    void GridToForm(IFormAccess& form, int nCount);
    void WriteWidths();
    BOOL WriteFormFile(const CString& strPath, IFormAccess& form);
    void WriteOwnFormName(const CString& strName);
    void EnsureVisible();
    void UpdateBars();
    // The last column shown whole when the view starts at nLeft (nLeft - 1 when none is).
    int LastWholeColumn(int nLeft);
    int OpenPick(int nCol);
    void NextColumn(int& r, int& c);

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnReload();
    afx_msg void OnOpen();
    afx_msg void OnSave();
    afx_msg void OnNew();
    DECLARE_MESSAGE_MAP()

    CScrollBar m_vscroll;
    CScrollBar m_hscroll;
    int m_nEditMode = -1;
    int m_nLastPick = -1;
    std::vector<long> m_widths;
    std::vector<CString> m_snapshot; // 99 x columns
    int m_nSnapshotCount = 0;
    CString m_strShownName; // the file name the path label shows
};
