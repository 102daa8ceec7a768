// CPrintFormFileDialog: "印刷形式ﾌｧｲﾙ選択", the choice of the print layouts an estimate
// (mode 1, ".MMP") or a parts list (mode 0, ".MBP") prints through, and of their order.
//
// The candidates are the layouts of one folder (the "Work Field" folder, or one the user
// picks through "選択候補ﾌｫﾙﾀﾞ", which opens where layouts are) whose forms are the data
// document's: both the estimation and the information form for an estimate, the parts
// form for a parts list (same item count, same item names and attributes). When the work
// folder has none, the list says so in its first line and offers those of the first folder
// where layouts are kept that has some (the chosen layouts' folders, the one layouts were
// last opened from or saved to, the forms' folder); a folder with none at all says that
// too. A layout open in an editor window is judged by its forms in memory; a file
// that cannot be read is not offered. Candidates show their titles upper-cased and sorted;
// the chosen list keeps the order in which they were added, which is the print order, and
// each chosen layout keeps the folder it came from. The same layout may be chosen twice.
//
// The caller fills the forms and m_aResult (its current list) before DoModal; after IDOK
// m_aResult holds the chosen layouts (title and folder) in order. Once its lists are filled
// the dialog sends its parent WM_MODELESS_CLOSED with 7, so that the parent can take down
// the wait dialog it showed meanwhile.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "platform/base/Collections.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/controls/CStatic.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CPrintFormFileDialog : public CDialog {
    DECLARE_DYNAMIC(CPrintFormFileDialog)
public:
    enum { modeParts = 0, modeEstimate = 1 };

    CPrintFormFileDialog(int nMode, CWnd* pParent);
    // Frees the result, chosen and open-layout entries.
    ~CPrintFormFileDialog() override;
    CPrintFormFileDialog(const CPrintFormFileDialog&) = delete;
    CPrintFormFileDialog& operator=(const CPrintFormFileDialog&) = delete;

    // ---- set by the caller ------------------------------------------------------------
    CString m_strEstimationFormName;
    CEstimationFormFile m_estimationForm;
    CString m_strInformationFormName;
    CInformationFormFile m_informationForm;
    CString m_strPartsFormName;
    CPartFormFile m_partsForm;
    CString m_strDocumentPath; // the data document's path, upper-cased
    // In: the caller's list; out after IDOK: the chosen list. CPrintFormEntry*, owned.
    CObArray m_aResult;
    // Starts from the data document's own choice: copies of its chosen layouts
    // (CPrintFormEntry*) into m_aResult, and its path upper-cased, with lpszExtension
    // (".MMD", ".MBD") when the name has none, as m_strDocumentPath.
    void StartFrom(const CObArray& chosenLayouts, const CString& strDocumentPath, const char* lpszExtension);

    // ---- what the user sees and does ----------------------------------------------------
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnAdd();
    afx_msg void OnRemove();
    afx_msg void OnCandidateFolder();
    afx_msg void OnSelchangeChosen();
    afx_msg void OnRefresh();

    // The open layout documents of the dialog's kind (COpenPrintDocEntry*, owned).
    void CollectOpenLayouts();
    // The forms of the layout at a path: the open document's forms in use when the path is
    // one of the open layouts, else the file's. FALSE, with the forms unchanged, when the
    // file cannot be read.
    BOOL GetEstimateLayoutForms(const CString& strPath, CEstimationFormFile& estimation,
                                CInformationFormFile& information);
    BOOL GetPartsLayoutForms(const CString& strPath, CPartFormFile& parts);

    // What the lists hold, for whoever looks in (tests, the caller's messages).
    int GetChosenCount() const { return static_cast<int>(m_aChosen.size()); }

protected:
    DECLARE_MESSAGE_MAP()

private:
    // One row of the chosen list.
    struct CChosenEntry {
        CString strTitle;
        CString strFolder;
        int nIndex = 0;
    };
    // Lists the matching layouts of a folder (with its trailing backslash) as candidates;
    // returns how many.
    int ScanFolder(const CString& strFolder);
    // Puts a line that is no layout at the top of the candidate list (Add passes it over).
    void AddNote(const CString& strNote);
    // Where layouts of the dialog's kind are looked for beside the work folder: the chosen
    // layout's folder (the selected one, then the first), the one layouts were last opened
    // from or saved to, and the folder of the forms they are made for.
    std::vector<CString> LayoutFolders() const;
    // Where "選択候補ﾌｫﾙﾀﾞ" starts: the first of LayoutFolders holding layouts of the
    // dialog's kind, else the candidates' own.
    CString BrowseStartFolder() const;
    BOOL LayoutMatches(const CString& strPath);
    // Static 1188 shows the folder of the first chosen layout, or nothing.
    void ShowFirstChosenFolder();
    void ClearResult();
    void ClearOpenLayouts();
    const char* Extension() const { return m_nMode == modeEstimate ? ".MMP" : ".MBP"; }

    CWnd* m_pParent;
    int m_nMode;
    CString m_strCandidateFolder;
    CString m_strCandidateName;
    std::vector<CChosenEntry> m_aChosen;
    CObArray m_aOpenLayouts;
    CListBox m_chosenList;
    CListBox m_candidateList;
    CStatic m_chosenFolder;
    CStatic m_candidateFolder;
};

// Fills CShellServices::chooseEstimatePrintForms: the dialog in estimate mode over the
// estimate grid's document and its forms.
void RegisterPrintFormChoice();
