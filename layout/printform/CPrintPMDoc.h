// CPrintPMDoc: a parts print layout (".MBP", backup ".BBP"), designed against one parts
// form whose copy it keeps in its file.
//
// "Contents" starts with the parts form's file name (string) and the parts form in its own
// stored form, then the layout body of CPrintDoc. The field references are rebuilt from the
// "$部材(" tokens before every save and after every load.
#pragma once

#include "app/CPartFormFile.h"
#include "layout/printform/CPrintDoc.h"

class CPrintPMDoc : public CPrintDoc {
    DECLARE_DYNCREATE(CPrintPMDoc)
public:
    CPrintPMDoc();
    ~CPrintPMDoc() override;

    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;

    const CPartFormFile* GetPartsForm() const override { return &m_curPartsForm; }
    // The parts family, from the form in use and the replaced one.
    bool GetFieldRemap(CFieldRemap::Family family, CFieldRemap& remap) const override;

    void MakeBackup(LPCTSTR lpszPathName) { MakeBackupFor(lpszPathName, ".BBP"); }
    void RebuildFieldRefs();
    // The parts form of a new layout from the "Parts Form" folder; FALSE, nothing changed,
    // when it cannot be opened or read.
    BOOL ReadForms(const CString& strParts);

    // "使用形式変更(&K)" for the parts form, as CPrintEMDoc's.
    afx_msg void OnChangeForm();
    void RemapPartsFields();

    CString m_strCurPartsForm;
    CPartFormFile m_curPartsForm;
    CString m_strPrevPartsForm;
    CPartFormFile m_prevPartsForm;

    DECLARE_MESSAGE_MAP()
};
