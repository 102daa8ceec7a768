// CPrintEMDoc: an estimate print layout (".MMP", backup ".BMP"), designed against one
// estimation form and one information form whose copies it keeps in its file.
//
// "Contents" starts with the forms: the estimation form's file name (string), the
// estimation form in its own stored form, the information form's file name, the
// information form; then the layout body of CPrintDoc. The field references are rebuilt
// from the "$見積(" tokens before every save and after every load.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "layout/printform/CPrintDoc.h"

class CPrintEMDoc : public CPrintDoc {
    DECLARE_DYNCREATE(CPrintEMDoc)
public:
    CPrintEMDoc();
    ~CPrintEMDoc() override;

    void Serialize(CArchive& ar) override;
    // Asks for the two forms ("形式ﾌｧｲﾙ選択") and reads them; FALSE (no new layout) on
    // Cancel or when a chosen form file cannot be opened.
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // The backup copy (".BMP") first, then the save.
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;

    const CEstimationFormFile* GetEstimationForm() const override { return &m_curEstimationForm; }
    const CInformationFormFile* GetInformationForm() const override { return &m_curInformationForm; }
    // The estimate and information families, from the forms in use and the replaced ones.
    bool GetFieldRemap(CFieldRemap::Family family, CFieldRemap& remap) const override;

    void MakeBackup(LPCTSTR lpszPathName) { MakeBackupFor(lpszPathName, ".BMP"); }
    void RebuildFieldRefs();
    // The forms of a new layout, read from the "Estimation Form" and "Information Form"
    // folders. FALSE, with nothing changed, when a file cannot be opened or its form
    // cannot be read.
    BOOL ReadForms(const CString& strEstimation, const CString& strInformation);

    // "使用形式変更(&K)": asks for the two forms again; each form that differs from the one
    // in use replaces it (the old one becomes the previous form) and the item-mapping
    // dialog then says where its tokens go (FormChange.cpp).
    afx_msg void OnChangeForm();
    // The mapping dialog for one kind of form and, on OK, the rewriting of every text and
    // table. The document is marked modified in any case: the form in use has changed.
    void RemapEstimationFields();
    void RemapInformationFields();

    CString m_strCurEstimationForm;
    CEstimationFormFile m_curEstimationForm;
    CString m_strCurInformationForm;
    CInformationFormFile m_curInformationForm;
    CString m_strPrevEstimationForm;
    CEstimationFormFile m_prevEstimationForm;
    CString m_strPrevInformationForm;
    CInformationFormFile m_prevInformationForm;

    DECLARE_MESSAGE_MAP()
};
