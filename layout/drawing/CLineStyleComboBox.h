// CLineStyleComboBox and CPatternComboBox: the owner-drawn combo boxes that offer the
// twelve line styles and the thirty fill patterns, in the print bars and in the dialogs of
// the layout editor. Each entry's item data is its style or pattern; -1 stands for "mixed"
// (a selection whose objects differ) and shows as a grey box. A selected entry is shown
// inverted.
#pragma once

#include "platform/ui/controls/CComboBox.h"

class CLineStyleComboBox : public CComboBox {
public:
    enum { ITEM_HEIGHT = 15, MIXED = -1 };
    // Appends an entry for a style (0 "(なし)", 1 to 11 a drawn line, -1 mixed).
    void AddItem(int nStyle);
    // The entry holding the style, or -1.
    int FindItem(int nStyle) const;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
};

class CPatternComboBox : public CComboBox {
public:
    enum { ITEM_HEIGHT = 15, MIXED = -1 };
    COLORREF m_clrBack = RGB(255, 255, 255); // clear bits of the samples
    COLORREF m_clrFore = RGB(0, 0, 0);       // set bits
    // Appends an entry for a pattern (0 to 29, -1 mixed), labelled with the pattern's name.
    void AddItem(int nPattern);
    int FindItem(int nPattern) const;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
};

// What both boxes do to show a selected entry: the entry's rectangle inverted, when the
// whole entry was drawn in its selected state or when only its selection changed.
void InvertOwnerDrawnSelection(const DRAWITEMSTRUCT& item);
