// Estimate and parts data for field-token tests: rows of cell texts with kinds, indents and
// subject numbers, information values, and the data documents' own forms; and the print
// settings made current for a test; a layout document of either kind that the drawing
// objects join, standing for the editor's documents.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "app/SharedRecords.h"
#include "layout/drawing/CDrawObj.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/FieldTokens.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

struct CTestRow {
    std::vector<CString> cells;
    int nKind = 5;
    int nIndent = 0;
    CString subjectNo; // shown before the cells of column 0
};

class CTestEstimateData : public CEstimateFieldData {
public:
    int GetLayoutPage() const override { return m_nPage; }
    int GetPrintPages() const override { return m_nPages; }
    CString GetCellText(int nRow, int nCol) const override
    {
        const CTestRow* p = Row(nRow);
        return p && nCol < static_cast<int>(p->cells.size()) ? p->cells[static_cast<size_t>(nCol)]
                                                             : CString();
    }
    ERowKind GetRowKind(int nRow) const override
    {
        return Row(nRow) ? KindFromNumber(Row(nRow)->nKind) : kindEmpty;
    }
    CString GetSubjectNoText(int nRow, int nCol) const override
    {
        return Row(nRow) && nCol == 0 ? Row(nRow)->subjectNo : CString();
    }
    int GetCellIndent(int nRow, int) const override { return Row(nRow) ? Row(nRow)->nIndent : 0; }
    CString GetInformationValue(int nItem) const override
    {
        return nItem >= 0 && nItem < static_cast<int>(m_info.size()) ? m_info[static_cast<size_t>(nItem)]
                                                                     : CString();
    }
    const CEstimationFormFile& GetEstimationForm() const override { return m_form; }
    const CInformationFormFile& GetInformationForm() const override { return m_infoForm; }

    const CTestRow* Row(int nRow) const
    {
        return nRow >= 0 && nRow < static_cast<int>(m_rows.size()) ? &m_rows[static_cast<size_t>(nRow)]
                                                                   : nullptr;
    }

    int m_nPage = 1;
    int m_nPages = 1;
    std::vector<CTestRow> m_rows;
    std::vector<CString> m_info;
    CEstimationFormFile m_form;
    CInformationFormFile m_infoForm;
};

class CTestPartsData : public CPartsFieldData {
public:
    int GetLayoutPage() const override { return m_nPage; }
    int GetPrintPages() const override { return m_nPages; }
    CString GetCellText(int nRow, int nCol) const override
    {
        if (nRow < 0 || nRow >= static_cast<int>(m_rows.size()))
            return CString();
        const auto& r = m_rows[static_cast<size_t>(nRow)];
        return nCol < static_cast<int>(r.size()) ? r[static_cast<size_t>(nCol)] : CString();
    }
    const CPartFormFile& GetPartsForm() const override { return m_form; }
    int m_nPage = 1;
    int m_nPages = 1;
    std::vector<std::vector<CString>> m_rows;
    CPartFormFile m_form;
};

// Items of a form: name, attribute, picture, rounding, code (column 6).
struct CTestItem {
    const char* name;
    const char* attribute;
    const char* picture = "";
    const char* rounding = "";
    const char* code = "";
};

template <class Form>
void FillForm(Form& form, const std::vector<CTestItem>& items)
{
    form.SetCount(static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        int n = static_cast<int>(i);
        form.SetItem(n, 0, CString::FromUtf8(items[i].name));
        form.SetItem(n, 1, CString::FromUtf8(items[i].attribute));
        form.SetItem(n, 3, items[i].picture);
        form.SetItem(n, 5, items[i].rounding);
        form.SetItem(n, 6, items[i].code);
    }
}

// A layout document of one kind with what the drawing objects read of it: the forms of its
// kind, the field references, the paper; it owns the objects that join it.
class CTestLayoutDoc : public CDrawingDoc {
public:
    enum EKind { estimateLayout, partsLayout };
    explicit CTestLayoutDoc(EKind eKind) : m_eKind(eKind) {}
    ~CTestLayoutDoc() override
    {
        for (CDrawObj* pObj : m_objects)
            pObj->Remove();
        ClearFieldLinks();
    }

    void Add(CDrawObj* pObj) override
    {
        m_objects.push_back(pObj);
        pObj->m_pDocument = this;
        SetModifiedFlag(TRUE);
    }
    CSize* GetSize() override { return &m_sizePaper; }
    CRect* GetPrintableRect() override { return &m_rectMargins; }
    void RefreshTargetDevice() override {}
    INT_PTR GetFieldRefCount() const override { return static_cast<INT_PTR>(m_fieldRefs.size()); }
    CFieldRefRecord* GetFieldRef(INT_PTR nIndex) const override
    {
        return m_fieldRefs[static_cast<size_t>(nIndex)];
    }
    const CEstimationFormFile* GetEstimationForm() const override
    {
        return m_eKind == estimateLayout ? &m_curEstimationForm : nullptr;
    }
    const CInformationFormFile* GetInformationForm() const override
    {
        return m_eKind == estimateLayout ? &m_curInformationForm : nullptr;
    }
    const CPartFormFile* GetPartsForm() const override
    {
        return m_eKind == partsLayout ? &m_curPartsForm : nullptr;
    }
    int EditTextProperties(std::vector<CString>&, CTextAttributes&) override { return IDCANCEL; }

    void ClearFieldLinks()
    {
        for (CFieldRefRecord* p : m_fieldRefs)
            delete p;
        m_fieldRefs.clear();
    }

    CEstimationFormFile m_curEstimationForm;
    CInformationFormFile m_curInformationForm;
    CPartFormFile m_curPartsForm;
    std::vector<CFieldRefRecord*> m_fieldRefs;
    CSize m_sizePaper{827, 1169};
    CRect m_rectMargins;

private:
    EKind m_eKind;
    std::vector<CDrawObj*> m_objects;
};

inline void AddFieldRef(CTestLayoutDoc& doc, const CString& key, int nValue)
{
    auto* p = new CFieldRefRecord;
    p->m_strKey = key;
    p->m_nValue = nValue;
    doc.m_fieldRefs.push_back(p);
}

// Settings of a temporary profile, current while the object lives.
class CCurrentTestSettings {
public:
    CCurrentTestSettings() : m_profile(m_dir.Folder() + "morvel.ini"), m_settings(m_profile)
    {
        // The print settings' defaults.
        m_settings.m_nDataAlign = 1;
        m_settings.m_nDataFont = 1;
        m_settings.m_nDataColor = 1;
        m_settings.m_nMinus = 2;
        m_settings.m_nPrintColor = 1;
        m_settings.m_nSpaceSetting = 1;
        m_pPrevious = CMorvelSettings::GetCurrent();
        CMorvelSettings::SetCurrent(&m_settings);
    }
    ~CCurrentTestSettings() { CMorvelSettings::SetCurrent(m_pPrevious); }
    CMorvelSettings* operator->() { return &m_settings; }
    CProfileFile& Profile() { return m_profile; }

private:
    TempDir m_dir;
    CProfileFile m_profile;
    CMorvelSettings m_settings;
    CMorvelSettings* m_pPrevious = nullptr;
};
