// CMorvelEMDoc: the estimate document (".MMD"). It owns the estimate's own copies of the
// estimation and information forms with their file names, the list of print layouts
// chosen for the estimate, and the estimate's model (CEstimateModel: the rows, the
// information values, the numbering settings, the undo record and the engine), which
// every window on the estimate shows. The zoom lives in the estimate grid view.
//
// Opening reads the whole file into memory and parses it from there. A file that is not
// an estimate, or is damaged, never opens: nothing of it reaches the document or its view
// unless all of it was read. The data files of the two outside estimating packages
// (".MVL", ".RXA", ".RXB") go to the converter instead (ImportConvertedFile). Saving
// always writes the native format under a ".mmd" name, after a backup copy of the old
// file when backups are on.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "engine/estimate/CEstimateModel.h"
#include "grid/CMorvelDoc.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

#include <vector>

class CArchive;
class CMorvelEMView;

class CMorvelEMDoc : public CMorvelDoc, private IEstimateModelHost {
    DECLARE_DYNCREATE(CMorvelEMDoc)
public:
    // Sets the process's current folder to the "Work Field" folder.
    CMorvelEMDoc();
    ~CMorvelEMDoc() override;
    CMorvelEMDoc(const CMorvelEMDoc&) = delete;
    CMorvelEMDoc& operator=(const CMorvelEMDoc&) = delete;

    // Outside data, by the kind the converter is told.
    enum { sourceNative = 0, sourceMvl = 1, sourceRxa = 2, sourceRxb = 3 };

    // The limits of what the view holds: 100 columns and 100 information values. A file
    // that claims more is damaged.
    enum { MAX_FILE_COLUMNS = 100, MAX_FILE_INFORMATION = 100 };

    // ---- the framework's document operations --------------------------------------------
    // File New: the application's current forms, no rows, the new-estimate flag set.
    BOOL OnNewDocument() override;
    // A native estimate, read under the wait dialog; outside data goes to the converter.
    // FALSE when the file is not an estimate, is damaged or cannot be read (the user has
    // been told why); the document then holds nothing of it.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // Asks the view for the save-time recalculation, makes the backup copy, and writes the
    // native format under the native name (GetNativePathName).
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    // The estimate file in both directions. Loading throws CArchiveException for a file
    // that ends early or holds counts beyond what an estimate can have (more columns than
    // its estimation form has items, more information values than its information form
    // has items, either above 100), and
    // CUserException when it has already told the user (wrong magic, damaged form).
    void Serialize(CArchive& ar) override;
    // Every estimate's path ends in ".mmd": another extension is replaced before the
    // framework takes the path (also after an import); ".MMD" in any case is kept as named.
    void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE) override;
    // The subject tree names its root after the title, so a new title (a save under
    // another name, the first save of a new estimate) is shown there at once.
    void SetTitle(LPCTSTR lpszTitle) override;

    // ---- the estimate's own operations ----------------------------------------------------
    // Has every view beside the grids (the subject tree) rebuild its tree from the grid's
    // rows and the title; false when there is none.
    bool RebuildSubjectTree(CView* pSender);
    // Deletes every print-layout entry and empties the list (printing uses it too).
    void DeleteObjects();
    // Copies the file at lpszPathName to its ".BMD" backup, replacing an older one, while
    // the input setting "Backup File" is 0. A failed copy (no file yet) is ignored.
    void BackupFile(LPCTSTR lpszPathName);
    // The converter of outside estimate data: fills this (new) document's rows from the
    // data file of the given source kind. true when rows were read.
    bool ImportConvertedFile(LPCTSTR lpszPathName, int nKind);
    // Field nField of an outside data line (see COutsideEstimateReader::GetField).
    static CString GetField(const char* lpszLine, int nField);
    // The folder of the program file, ending in a backslash.
    static CString GetProgramFolder();
    // The first view of the document that is an estimate grid view, or null.
    CMorvelEMView* GetEstimateView() const;
    // The estimate's data, shared by every window on it.
    CEstimateModel& Model() { return m_model; }
    const CEstimateModel& Model() const { return m_model; }
    // The model set up from what the document holds: the estimation form's column count,
    // the rows read (a row limit grown to reach them), the information form's item count (a
    // new estimate's values emptied). The first window on the estimate sets it up so, and
    // so does a conversion that writes an estimate without any window.
    void SetupModel();

    // ---- names ------------------------------------------------------------------------------
    // The source kind an opened path selects by its extension: ".MVL" 1, ".RXA" 2, ".RXB"
    // 3 (tested in that order, upper-cased), anything else 0 (native).
    static int GetSourceKind(const char* lpszPathName);
    // The wait text of opening a file of the source kind.
    static CString GetOpenWaitText(int nKind);
    // The upper-cased extension of the file name, with its ".", or empty.
    static CString GetUpperExtension(const char* lpszPathName);
    // Where a save of lpszPathName writes: the path itself when its extension is ".MMD"
    // (in any case), otherwise the path with the extension "mmd". An outside package's file
    // is therefore never overwritten with native data.
    static CString GetNativePathName(const char* lpszPathName);
    // The backup of an estimate file: its extension replaced by "BMD".
    static CString GetBackupPathName(const char* lpszPathName);

    // ---- data -------------------------------------------------------------------------------
    CString m_strEstimationFormName; // file name of the estimation form the estimate uses
    CString m_strInformationFormName;
    CEstimationFormFile m_EstimationForm; // its item count is the grid's column count
    CInformationFormFile m_InformationForm;
    int m_nLoadedRowCount;  // used rows found in the file (0 for a new estimate)
    int m_nNewEstimate;     // 1 after File New, 0 after opening or importing

protected:
    // The application's estimate menu (resource 123).
    CMenu& AppMenu(CMorvelApp& app) const override;
    // An estimate grid view added to the document is given the document's model.
    void OnChangedViewList() override;

private:
    struct CLoadedEstimate;

    // What the model asks of the estimate around it: the estimation form's texts, the tax
    // settings, and every estimate grid view following the rows written and grown.
    const CString& GetColumnText(int nCol, EColumnText eText) const override;
    void GrowUsedRows(int nRows) override;
    void RowsWritten(int nFirst, int nLast) override;
    void RowsMoved(int nFromRow) override;
    void MarkRowMoved(int nOld, int nNew) override;
    CTaxSettings GetTaxSettings() const override;
    bool IsTaxVerticalTotal() const override;
    // Calls visit for every estimate grid view of the document.
    template <typename F>
    void ForEachEstimateView(F visit) const;

    // The document's estimate grid views, refreshed whenever a view is added or removed:
    // the engine reports written rows row by row, so they are not looked for each time.
    std::vector<CMorvelEMView*> m_estimateViews;

    CEstimateModel m_model{*this};

    // Reads the whole estimate into lo; false when the user has been told that the file is
    // not an estimate or holds a damaged form. Throws CArchiveException for a damaged file.
    bool ReadEstimate(CArchive& ar, CLoadedEstimate& lo);
    // Takes over what was read: the document's forms and print layouts, the model's rows,
    // numbering settings, zoom, information values and row limit (the first window shows
    // the zoom read).
    void CommitEstimate(CLoadedEstimate& lo);
    void WriteEstimate(CArchive& ar);
    bool OpenNativeFile(LPCTSTR lpszPathName);
    bool OpenOutsideData(LPCTSTR lpszPathName, int nKind);
};
