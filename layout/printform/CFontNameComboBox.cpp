#include "layout/printform/CFontNameComboBox.h"

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFontNameItem, CObject)

CFontNameItem::~CFontNameItem() = default;

namespace {

constexpr BYTE kMacCharSet = 77;

} // namespace

CFontNameComboBox::~CFontNameComboBox()
{
    DeleteItems();
}

void CFontNameComboBox::DeleteItems()
{
    for (INT_PTR i = 0; i < m_aItems.GetSize(); ++i)
        delete m_aItems.GetAt(i);
    m_aItems.RemoveAll();
}

void CFontNameComboBox::FillFonts(CDC* pDC, BYTE nCharSet)
{
    if (GetSafeHwnd() != nullptr)
        ResetContent();
    DeleteItems();
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return;
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = nCharSet;
    pDC->EnumFontFamiliesEx(&lf, &CFontNameComboBox::EnumFontProc, reinterpret_cast<LPARAM>(this), 0);
}

int CFontNameComboBox::EnumFontProc(const LOGFONT* lplf, const TEXTMETRIC* /*lptm*/, DWORD dwFontType,
                                    LPARAM lParam)
{
    if (lplf != nullptr && (dwFontType & TRUETYPE_FONTTYPE) != 0)
        reinterpret_cast<CFontNameComboBox*>(lParam)->AddFont(*lplf);
    return 1;
}

void CFontNameComboBox::AddFont(const LOGFONT& font)
{
    if (font.lfCharSet == kMacCharSet)
        return;
    CString strFace(font.lfFaceName, static_cast<int>(strnlen(font.lfFaceName, LF_FACESIZE)));
    CString strUpper = strFace;
    strUpper.MakeUpper();
    for (INT_PTR i = 0; i < m_aItems.GetSize(); ++i) {
        CString strListed = static_cast<const CFontNameItem*>(m_aItems.GetAt(i))->m_strFaceName;
        strListed.MakeUpper();
        if (strListed == strUpper)
            return;
    }
    if (GetSafeHwnd() != nullptr)
        AddString(strFace);
    auto* pItem = new CFontNameItem;
    pItem->m_strFaceName = strFace;
    pItem->m_nCharSet = font.lfCharSet;
    pItem->m_nPitchAndFamily = font.lfPitchAndFamily;
    m_aItems.Add(pItem);
}

const CFontNameItem* CFontNameComboBox::GetFontItem(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetFontCount() ? static_cast<const CFontNameItem*>(m_aItems.GetAt(nIndex))
                                                  : nullptr;
}
