#include "layout/printform/TextPropRunner.h"

#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/CTextPropEMDialog.h"
#include "layout/printform/CTextPropPMDialog.h"

namespace {

// The five picture indexes every kind of layout has, both ways.
template <class Dialog, class Source>
void SharedPicturesIn(Dialog& dlg, const Source& src)
{
    dlg.m_nTimePicture = src.m_nTimePicture;
    dlg.m_nDatePicture = src.m_nDatePicture;
    dlg.m_nNumberingPicture = src.m_nNumberingPicture;
    dlg.m_nPagePicture = src.m_nPagePicture;
    dlg.m_nPageTotalPicture = src.m_nPageTotalPicture;
}

template <class Dialog, class Target>
void SharedPicturesOut(const Dialog& dlg, Target& target)
{
    target.m_nTimePicture = dlg.m_nTimePicture;
    target.m_nDatePicture = dlg.m_nDatePicture;
    target.m_nNumberingPicture = dlg.m_nNumberingPicture;
    target.m_nPagePicture = dlg.m_nPagePicture;
    target.m_nPageTotalPicture = dlg.m_nPageTotalPicture;
}

void FormsOf(const CPrintEMDoc& doc, CTextPropEMDialog& dlg)
{
    dlg.m_strEstimationFormName = doc.m_strCurEstimationForm;
    dlg.m_strInformationFormName = doc.m_strCurInformationForm;
    dlg.m_estimationForm = doc.m_curEstimationForm;
    dlg.m_informationForm = doc.m_curInformationForm;
}

void FormsOf(const CPrintPMDoc& doc, CTextPropPMDialog& dlg)
{
    dlg.m_strPartsFormName = doc.m_strCurPartsForm;
    dlg.m_partsForm = doc.m_curPartsForm;
}

// The object attributes under the names the dialogs use.
struct CAttributePictures {
    explicit CAttributePictures(const CTextAttributes& a)
        : m_nTimePicture(a.m_nTimeFormat), m_nDatePicture(a.m_nDateFormat),
          m_nNumberingPicture(a.m_nNumberingFormat), m_nPagePicture(a.m_nPageFormat),
          m_nPageTotalPicture(a.m_nPageTotalFormat)
    {
    }
    void StoreInto(CTextAttributes& a) const
    {
        a.m_nTimeFormat = m_nTimePicture;
        a.m_nDateFormat = m_nDatePicture;
        a.m_nNumberingFormat = m_nNumberingPicture;
        a.m_nPageFormat = m_nPagePicture;
        a.m_nPageTotalFormat = m_nPageTotalPicture;
    }
    int m_nTimePicture;
    int m_nDatePicture;
    int m_nNumberingPicture;
    int m_nPagePicture;
    int m_nPageTotalPicture;
};

void TakeTexts(const CTextPropDialog& dlg, std::vector<CString>& texts)
{
    texts[0] = dlg.m_strText;
    for (size_t i = 1; i < texts.size() && static_cast<INT_PTR>(i) < dlg.m_astrTargetTexts.GetSize(); ++i)
        texts[i] = dlg.m_astrTargetTexts[static_cast<INT_PTR>(i)];
}

} // namespace

int RunTextToolDialog(CPrintDoc* pDoc, CPendingTextSettings& pending)
{
    if (auto* pEM = dynamic_cast<CPrintEMDoc*>(pDoc)) {
        CTextPropEMDialog dlg(nullptr, TRUE);
        FormsOf(*pEM, dlg);
        dlg.m_strText = CString();
        SharedPicturesIn(dlg, pending);
        dlg.m_nEstimatePicture = pending.m_nEstimatePicture;
        dlg.m_nInformationPicture = pending.m_nInformationPicture;
        dlg.m_bRuledLine = pending.m_bRuledLine;
        dlg.m_bShading = pending.m_bShading;
        const int nResult = static_cast<int>(dlg.DoModal());
        if (nResult == IDOK) {
            pending.m_strText = dlg.m_strText;
            SharedPicturesOut(dlg, pending);
            pending.m_nEstimatePicture = dlg.m_nEstimatePicture;
            pending.m_nInformationPicture = dlg.m_nInformationPicture;
            pending.m_bRuledLine = dlg.m_bRuledLine;
            pending.m_bShading = dlg.m_bShading;
        }
        return nResult;
    }
    if (auto* pPM = dynamic_cast<CPrintPMDoc*>(pDoc)) {
        CTextPropPMDialog dlg(nullptr, TRUE);
        FormsOf(*pPM, dlg);
        dlg.m_strText = CString();
        SharedPicturesIn(dlg, pending);
        dlg.m_nPartsPicture = pending.m_nPartsPicture;
        dlg.m_bRuledLine = pending.m_bRuledLine;
        dlg.m_bShading = pending.m_bShading;
        const int nResult = static_cast<int>(dlg.DoModal());
        if (nResult == IDOK) {
            pending.m_strText = dlg.m_strText;
            SharedPicturesOut(dlg, pending);
            pending.m_nPartsPicture = dlg.m_nPartsPicture;
            pending.m_bRuledLine = dlg.m_bRuledLine;
            pending.m_bShading = dlg.m_bShading;
        }
        return nResult;
    }
    return IDCANCEL;
}

int RunTextPropertyDialog(CPrintDoc* pDoc, std::vector<CString>& texts, CTextAttributes& attributes)
{
    if (texts.empty())
        return IDCANCEL;
    const int nTargets = static_cast<int>(texts.size());
    const CAttributePictures pictures(attributes);
    if (auto* pEM = dynamic_cast<CPrintEMDoc*>(pDoc)) {
        CTextPropEMDialog dlg(nTargets);
        FormsOf(*pEM, dlg);
        dlg.m_strText = texts[0];
        SharedPicturesIn(dlg, pictures);
        dlg.m_nEstimatePicture = attributes.m_nEstimatePicture;
        dlg.m_nInformationPicture = attributes.m_nInformationPicture;
        const int nResult = static_cast<int>(dlg.DoModal());
        if (nResult == IDOK) {
            TakeTexts(dlg, texts);
            CAttributePictures out(attributes);
            SharedPicturesOut(dlg, out);
            out.StoreInto(attributes);
            attributes.m_nEstimatePicture = dlg.m_nEstimatePicture;
            attributes.m_nInformationPicture = dlg.m_nInformationPicture;
        }
        return nResult;
    }
    if (auto* pPM = dynamic_cast<CPrintPMDoc*>(pDoc)) {
        CTextPropPMDialog dlg(nTargets);
        FormsOf(*pPM, dlg);
        dlg.m_strText = texts[0];
        SharedPicturesIn(dlg, pictures);
        dlg.m_nPartsPicture = attributes.m_nPartsPicture;
        const int nResult = static_cast<int>(dlg.DoModal());
        if (nResult == IDOK) {
            TakeTexts(dlg, texts);
            CAttributePictures out(attributes);
            SharedPicturesOut(dlg, out);
            out.StoreInto(attributes);
            attributes.m_nPartsPicture = dlg.m_nPartsPicture;
        }
        return nResult;
    }
    return IDCANCEL;
}
