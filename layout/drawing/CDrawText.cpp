#include "layout/drawing/CDrawText.h"

#include "app/CMorvelSettings.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/StoredForm.h"
#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(CDrawText, CDrawObj, 0)

void CTextAttributes::SerializeAttributes(CArchive& ar)
{
    int* const fields[] = {&m_nAlign,           &m_nTimeFormat,   &m_nDateFormat,
                           &m_nNumberingFormat, &m_nPageFormat,   &m_nPageTotalFormat,
                           &m_nEstimatePicture, &m_nPartsPicture, &m_nInformationPicture};
    for (int* pField : fields) {
        if (ar.IsStoring())
            StoredForm::StoreWord(ar, *pField);
        else
            *pField = StoredForm::LoadWord(ar);
    }
}

CDrawText::CDrawText()
{
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent())
        pSettings->ReadFontSetting("Large Font Setting", m_logFont);
    m_bVisible = TRUE;
}

CDrawText::CDrawText(const CRect& position) : CDrawObj(position)
{
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent()) {
        m_logFont = pSettings->m_lfPrintFont;
        m_clrText = pSettings->m_clrPrintFont;
    }
}

CDrawText::~CDrawText() = default;

void CDrawText::Serialize(CArchive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_strText << static_cast<DWORD>(m_clrText);
    } else {
        DWORD dw = 0;
        ar >> m_strText >> dw;
        m_clrText = dw;
    }
    SerializeAttributes(ar);
    StoredForm::SerializeLogFont(ar, m_logFont);
}

BOOL CDrawText::Intersects(const CRect& rect)
{
    return CDrawObj::Intersects(rect);
}

CDrawObj* CDrawText::Clone(CDrawingDoc* pDoc)
{
    auto* pClone = new CDrawText(m_position);
    pClone->CopyAttributesFrom(*this);
    pClone->m_logFont = m_logFont;
    pClone->m_strText = m_strText;
    pClone->m_clrText = m_clrText;
    static_cast<CTextAttributes&>(*pClone) = *this;
    if (pDoc)
        pDoc->Add(pClone);
    return pClone;
}

CDrawObj* CDrawText::CloneForUndo(CDrawingDoc* pDoc)
{
    (void)pDoc;
    return Clone(nullptr);
}
