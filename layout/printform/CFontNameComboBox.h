// CFontNameComboBox: the font-name box of the print-edit bar. It lists the TrueType faces a
// device (the printer) offers for a character set, each face once, in the order the device
// gives them, and keeps beside each entry the face's character set and pitch and family,
// which a text takes along with the name.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/gdi/GdiObjects.h"

class CDC;

// One entry of the box.
class CFontNameItem : public CObject {
    DECLARE_DYNAMIC(CFontNameItem)
public:
    CFontNameItem() = default;
    ~CFontNameItem() override;

    CString m_strFaceName;
    BYTE m_nCharSet = 0;
    BYTE m_nPitchAndFamily = 0;
};

class CFontNameComboBox : public CComboBox {
public:
    CFontNameComboBox() = default;
    // Frees the items.
    ~CFontNameComboBox() override;
    CFontNameComboBox(const CFontNameComboBox&) = delete;
    CFontNameComboBox& operator=(const CFontNameComboBox&) = delete;

    // Empties the box, then lists the TrueType faces pDC offers for the character set
    // (nothing when the context has no device).
    void FillFonts(CDC* pDC, BYTE nCharSet);
    // Appends an enumerated face, unless its character set is 77 (Macintosh) or the face is
    // listed already (names compared without regard to case).
    void AddFont(const LOGFONT& font);
    // The item of an entry, or null.
    const CFontNameItem* GetFontItem(int nIndex) const;
    int GetFontCount() const { return static_cast<int>(m_aItems.GetSize()); }

    static int EnumFontProc(const LOGFONT* lplf, const TEXTMETRIC* lptm, DWORD dwFontType, LPARAM lParam);

private:
    void DeleteItems();
    CObArray m_aItems; // CFontNameItem*, one per entry, owned
};
