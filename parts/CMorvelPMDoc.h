// CMorvelPMDoc: the parts-list document (".MBD", backup ".BBD"). It owns the rows, the
// list's own copy of the parts form, the zoom, the display font and colours and the
// print layouts chosen for the list. The grid view (CMorvelPMView) shows and edits the
// rows through the document's cell store.
//
// Opening reads the whole file into memory and parses it from there; nothing of a file
// reaches the document unless all of it was read. A file that is not a parts list, is
// damaged, or holds more than 100 columns does not open (the user is told why).
#pragma once

#include "app/CPartFormFile.h"
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

class CMorvelPMDoc : public CMorvelDoc {
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
    // Element i of the row array is row i. An element may be null and the array may end
    // before the rows in use (or run past them): such a row reads as empty. Every change of
    // the rows goes through the operations below, which keep the array and the rows in use
    // in step; they leave the views, the modified mark and the undo lists to the caller.
    // The rows the file stores; the status bar shows them as "最大行".
    int GetRowsInUse() const { return m_nRowsInUse; }
    // Elements of the row array, the null ones included.
    int GetRowArraySize() const { return static_cast<int>(m_aRows.size()); }
    // A row, or null when it was never written.
    CGridRow* GetRow(int nRow) const;
    // The rows in use become nRows when they are fewer; TRUE when they grew.
    BOOL ExtendRowsInUse(int nRows);
    // The rows in use fall back to nRows when they are more (an undo giving back the rows a
    // command added); the rows past them go, so that none comes back when the list grows
    // again.
    void ReduceRowsInUse(int nRows);
    // Stores a cell's text as given, making its row when it has none (the array grows, the
    // rows between stay null); the rows in use reach the row. TRUE when they grew; FALSE
    // and nothing stored for a cell outside 0..MAX_COLUMNS-1 or a negative row.
    BOOL SetCell(int nRow, int nCol, const CString& strText);
    // nCount new empty rows after the array's last element; the rows in use stay.
    void AllocateRows(int nCount);
    // nCount unwritten rows at nRow (the rows from nRow on move down); the rows in use
    // grow by nCount and reach the last new row.
    void InsertEmptyRows(int nRow, int nCount);
    // Removes row nRow (the rows below move up) and the rows in use fall by one, never
    // below 0. FALSE, and nothing changes, when the row lies beyond the array.
    BOOL RemoveRowAt(int nRow);
    // Row nTop + i becomes the row that was row aOrder[i]: aOrder names each row of
    // nTop..nTop+size-1 once (FALSE, and nothing changes, otherwise). The array grows to
    // hold the range; the rows in use stay.
    BOOL ReorderRows(int nTop, const std::vector<int>& aOrder);
    // The parts list open in a window from the file, or null.
    static CMorvelPMDoc* FindOpenList(const char* lpszPathName);
    // Appends rows after the rows in use (the row limit of every view grows when they pass
    // it) and updates the views; returns the first of them. The modified mark is left as
    // it is: the caller has written the same rows to the file.
    int AppendRows(std::vector<std::unique_ptr<CGridRow>> rows);

    // ---- the list ----------------------------------------------------------------------
    int m_nZoom; // percent
    CString m_strFormName;
    CPartFormFile m_form;
    int m_nRowsRead;        // rows read from the file (0 new)
    int m_nRowLimit;        // the row limit the list was read with
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
    std::vector<std::unique_ptr<CGridRow>> m_aRows; // element i is row i; may be null
    int m_nRowsInUse = 0;                           // rows the file stores

    DECLARE_MESSAGE_MAP()
    struct CLoadedList;
    bool ReadList(CArchive& ar, CLoadedList& lo);
    void WriteList(CArchive& ar);
};
