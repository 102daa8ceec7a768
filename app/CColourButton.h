// CColourButton: the colour swatch button of the colour settings page and the shading and
// ruled-line dialogs. It shows its colour as a raised tile that sinks when pressed (the
// pressed tile is framed in the colour's inverse). The owner sets the colour and repaints
// the button; clicks reach the owner as with any button.
#pragma once

#include "platform/ui/controls/CButton.h"

class CDC;

class CColourButton : public CButton {
    DECLARE_DYNAMIC(CColourButton)
public:
    CColourButton();
    ~CColourButton() override;

    // A 24-bit RGB colour (the top byte is ignored).
    void SetColour(COLORREF crColour) { m_crColour = crColour & 0x00FFFFFF; }
    COLORREF GetColour() const { return m_crColour; }

    // Owner-drawn whatever the creator asked for (a dialog template names BS_OWNERDRAW
    // itself).
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    // The tile: raised (white top-left, black bottom-right) or sunk, its inside in the
    // colour and framed in clrFrame.
    void DrawTile(CDC* pDC, const CRect& rect, BOOL bPressed, COLORREF clrFrame) const;

    COLORREF m_crColour = RGB(0, 0, 0);
};
