// CMorvelPMDoc: the parts-list document (".MBD", backup ".BBD"). It owns the rows, the
// list's own copy of the parts form, the zoom, the display font and colours and the
// print layouts chosen for the list. Its model (CPartsModel) holds the rows, the cell store,
// the computations and the undo store; the grid view (CMorvelPMView) shows and edits them.
//
// Opening reads the whole file into memory and parses it from there; nothing of a file
// reaches the document unless all of it was read. A file that is not a parts list, is
// damaged, or holds more than 100 columns does not open (the user is told why).
#pragma once

#include "app/CPartFormFile.h"
#include "engine/parts/CPartsModel.h"
#include "grid/CMorvelDoc.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

#include <memory>
#include <vector>

class CArchive;
class CCmdUI;
class CGridRow;
class CMorvelPMView;

class CMorvelPMDoc : public CMorvelDoc, private IPartsModelHost {
    DECLARE_DYNCREATE(CMorvelPMDoc)
public:
    CMorvelPMDoc();
    ~CMorvelPMDoc() override;
    CMorvelPMDoc(const CMorvelPMDoc&) = delete;
    CMorvelPMDoc& operator=(const CMorvelPMDoc&) = delete;

    enum {
        MAX_COLUMNS = 100,       // cells a row holds
        DEFAULT_ROW_LIMIT = 1100 // "Parts Maxmum Rows" when the setting is missing
    };

    // ---- the framework's document operations --------------------------------------------
    // The file in both directions. Loading throws CArchiveException for a file that ends
    // early or claims more than 100 columns, and CUserException when it has told the user
    // already (wrong magic, damaged form); the document is then unchanged.
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    // FALSE when the file cannot be read, is not a parts list or is damaged.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // The backup copy, then the framework's save.
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    // A view that joins the document is given its model.
    void OnChangedViewList() override;

    // ---- the list's own operations ----------------------------------------------------
    void LoadDisplaySettings();
    // "Color Setting"/key as "r,g,b", each reduced to its low byte; the default when the
    // key is missing or holds fewer than three numbers (black text on white cells: a list
    // whose colours were never set stays readable).
    static COLORREF ReadColorSetting(const char* lpszKey, COLORREF crDefault = RGB(0, 0, 0));
    // The title upper-cased, cut before its first ".MBD".
    CString GetTitleStem() const;
    // Copies the file to its backup while "Backup File" is 0 (failures ignored).
    void MakeBackup(LPCTSTR lpszPathName);
    // The backup beside the file: the file's own name with the extension ".BBD".
    static CString GetBackupPathName(const char* lpszPathName);
    // The zoom a stored zoom word stands for: 0 and values beyond MAX_ZOOM read as 100.
    enum { MIN_ZOOM = 1, MAX_ZOOM = 1000 };
    static int SanitizeZoom(int nZoom);
    // The row limit for a list of nRows rows: the setting, doubled until every row fits.
    static int RowLimitFor(int nSetting, int nRows);
    // "Input Setting"/"Parts Maxmum Rows", DEFAULT_ROW_LIMIT when missing (what the input
    // page shows, and what RowLimitFor starts from).
    static int ReadRowLimitSetting();

    void GetFont(LOGFONT* pLogFont) const { *pLogFont = m_logFont; }
    void SetFont(const LOGFONT& lf) { m_logFont = lf; }
    COLORREF GetTextColor() const { return m_crText; }
    void SetTextColor(COLORREF cr) { m_crText = cr; }
    COLORREF GetBackColor() const { return m_crBack; }
    void SetBackColor(COLORREF cr) { m_crBack = cr; }

    // The first view that is a parts grid view, or null.
    CMorvelPMView* GetPartsView() const;
    // The columns of the list: the form's item count (at most 100).
    int GetColumnCount() const;
    // ---- the rows ----------------------------------------------------------------------
    // The list's rows, cell store, computations and undo store live in its model; every
    // pane of the list shows the same model.
    CPartsModel& Model() { return m_model; }
    const CPartsModel& Model() const { return m_model; }
    // The rows the file stores; the status bar shows them as "最大行".
    int GetRowsInUse() const { return m_model.GetRowsInUse(); }
    // Elements of the row array, the null ones included.
    int GetRowArraySize() const { return m_model.GetRowArraySize(); }
    // A row, or null when it was never written.
    const CGridRow* GetRow(int nRow) const { return m_model.GetRow(nRow); }
    // Stores a cell's text as given (see CPartsModel::SetCell).
    BOOL SetCell(int nRow, int nCol, const CString& strText) { return m_model.SetCell(nRow, nCol, strText); }
    // The row limit the panes show (doubled past the setting when the rows need it).
    int GetRowLimit() const { return m_model.GetRowLimit(); }
    void SetRowLimit(int nRowLimit) { m_model.SetRowLimit(nRowLimit); }
    // The parts list open in a window from the file, or null.
    static CMorvelPMDoc* FindOpenList(const char* lpszPathName);
    // Appends rows after the rows in use (the row limit grows when they pass it) and
    // updates the views; returns the first of them. The modified mark is left as it is: the
    // caller has written the same rows to the file.
    int AppendRows(std::vector<std::unique_ptr<CGridRow>> rows);

    // ---- the list ----------------------------------------------------------------------
    int m_nZoom; // percent
    CString m_strFormName;
    CPartFormFile m_form;
    int m_nRowsRead;        // rows read from the file (0 new)
    LOGFONT m_logFont;
    COLORREF m_crText;
    COLORREF m_crBack;

    // "出力(&O)": the CSV text of the columns the user chooses.
    afx_msg void OnCsvOutput();
    afx_msg void OnUpdateCsvOutput(CCmdUI* pCmdUI);

protected:
    // The application's parts menu (resource 124).
    CMenu& AppMenu(CMorvelApp& app) const override;

private:
    // The model's host: the parts form's texts, and the panes told of the row counts.
    const CString& GetColumnText(int nCol, EColumnText eText) const override;
    void GetColumnTexts(int nCol, const CString* texts[COLUMN_TEXTS]) const override;
    void GetTextOfColumns(EColumnText eText, int nColumns, const CString* texts[]) const override;
    void RowCountsChanged() override;

    CPartsModel m_model{*this};

    DECLARE_MESSAGE_MAP()
    struct CLoadedList;
    bool ReadList(CArchive& ar, CLoadedList& lo);
    void WriteList(CArchive& ar);
};
