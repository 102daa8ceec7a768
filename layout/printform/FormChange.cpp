// Changing the forms of a layout ("使用形式変更(&K)"): the estimate layout's estimation and
// information forms, the parts layout's parts form. Each chosen form that differs from the
// one in use takes its place and the item-mapping dialog asks, for every item of the new
// form, which item of the old one it stands for; the texts and table cells then follow.
#include "app/CImportFormatDialog.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/FormFileReading.h"
#include "layout/printform/FormSelection.h"
#include "resources/PrintFormIds.h"

BEGIN_MESSAGE_MAP(CPrintEMDoc, CPrintDoc)
ON_COMMAND(ID_CHANGE_FORM, OnChangeForm)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CPrintPMDoc, CPrintDoc)
ON_COMMAND(ID_CHANGE_FORM, OnChangeForm)
END_MESSAGE_MAP()

namespace {

// The mapping dialog's labels as the document's item map.
BOOL RunMapping(CImportFormatDialog& dlg, CStringArray& map)
{
    if (dlg.DoModal() != IDOK)
        return FALSE;
    map.RemoveAll();
    for (const CString& label : dlg.GetResult())
        map.Add(label);
    return TRUE;
}

// Every text and table of the document, in list order.
template <class OnText, class OnTable>
void ForEachTextAndTable(CDrawObjList& objects, OnText onText, OnTable onTable)
{
    for (POSITION pos = objects.GetHeadPosition(); pos != nullptr;) {
        CObject* pObj = objects.GetNext(pos);
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj))
            onTable(*pTable);
        else if (auto* pText = dynamic_cast<CDrawText*>(pObj))
            onText(*pText);
    }
}

} // namespace

void CPrintEMDoc::OnChangeForm()
{
    EnterWorkFolder();
    CString strEstimation = m_strCurEstimationForm;
    CString strInformation = m_strCurInformationForm;
    if (RunEMFormSelection("形式ﾌｧｲﾙ選択"_sj, strEstimation, strInformation) != IDOK)
        return;
    EnterWorkFolder();
    // Both forms are read before anything changes: a file that cannot be read (or is no
    // form, which its reader has said) leaves the layout as it was.
    CEstimationFormFile estimation;
    CInformationFormFile information;
    if (!ReadLayoutForm("Estimation Form", strEstimation, estimation) ||
        !ReadLayoutForm("Information Form", strInformation, information))
        return;
    if (!estimation.IsSameForm(m_curEstimationForm)) {
        m_strPrevEstimationForm = m_strCurEstimationForm;
        m_prevEstimationForm = m_curEstimationForm;
        m_strCurEstimationForm = strEstimation;
        m_curEstimationForm = estimation;
        RemapEstimationFields();
    }
    if (!information.IsSameForm(m_curInformationForm)) {
        m_strPrevInformationForm = m_strCurInformationForm;
        m_prevInformationForm = m_curInformationForm;
        m_strCurInformationForm = strInformation;
        m_curInformationForm = information;
        RemapInformationFields();
    }
}

void CPrintEMDoc::RemapEstimationFields()
{
    CImportFormatDialog dlg(nullptr, m_curEstimationForm, m_prevEstimationForm, m_strPrevEstimationForm);
    if (RunMapping(dlg, m_astrFieldMap)) {
        ForEachTextAndTable(
            m_objects, [](CDrawText& text) { text.RemapEstimateFields(); },
            [](CDrawTable& table) { table.RemapEstimateFields(); });
    }
    // The form in use is part of the file: even without a remap the layout has changed.
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CPrintEMDoc::RemapInformationFields()
{
    CImportFormatDialog dlg(nullptr, m_curInformationForm, m_prevInformationForm, m_strPrevInformationForm);
    if (RunMapping(dlg, m_astrFieldMap)) {
        ForEachTextAndTable(
            m_objects, [](CDrawText& text) { text.RemapInformationFields(); },
            [](CDrawTable& table) { table.RemapInformationFields(); });
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CPrintPMDoc::OnChangeForm()
{
    EnterWorkFolder();
    CString strParts = m_strCurPartsForm;
    if (RunPMFormSelection("形式ﾌｧｲﾙ選択"_sj, strParts) != IDOK)
        return;
    EnterWorkFolder();
    CPartFormFile parts;
    if (!ReadLayoutForm("Parts Form", strParts, parts))
        return;
    if (parts.IsSameForm(m_curPartsForm))
        return;
    m_strPrevPartsForm = m_strCurPartsForm;
    m_prevPartsForm = m_curPartsForm;
    m_strCurPartsForm = strParts;
    m_curPartsForm = parts;
    RemapPartsFields();
}

void CPrintPMDoc::RemapPartsFields()
{
    CImportFormatDialog dlg(nullptr, m_curPartsForm, m_prevPartsForm, m_strPrevPartsForm);
    if (RunMapping(dlg, m_astrFieldMap)) {
        ForEachTextAndTable(
            m_objects, [](CDrawText& text) { text.RemapPartsFields(); },
            [](CDrawTable& table) { table.RemapPartsFields(); });
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

bool CPrintEMDoc::GetFieldRemap(CFieldRemap::Family family, CFieldRemap& remap) const
{
    if (family == CFieldRemap::familyEstimate)
        remap = MakeFieldRemap(family, m_curEstimationForm, m_prevEstimationForm, m_astrFieldMap);
    else if (family == CFieldRemap::familyInformation)
        remap = MakeFieldRemap(family, m_curInformationForm, m_prevInformationForm, m_astrFieldMap);
    else
        return false;
    return true;
}

bool CPrintPMDoc::GetFieldRemap(CFieldRemap::Family family, CFieldRemap& remap) const
{
    if (family != CFieldRemap::familyParts)
        return false;
    remap = MakeFieldRemap(family, m_curPartsForm, m_prevPartsForm, m_astrFieldMap);
    return true;
}
