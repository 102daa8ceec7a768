// CDrawText: one line of text on a print layout: plain characters mixed with field tokens
// ("$日付()$", "$見積(1,2,3)$", ...), with a font, a colour, an alignment and the picture
// index with which each kind of field token prints.
//
// Stored form: the CDrawObj record; m_strText (string); m_clrText (DWORD); the nine ints
// m_nAlign .. m_nInformationPicture as WORDs (low 16 bits; read back zero-extended); the
// font (five LONGs, eight BYTEs, the face name as a string, cut to 31 bytes on loading).
#pragma once

#include "layout/drawing/CDrawObj.h"
#include "platform/base/CString.h"

class CEstimateFieldData;
class CPartsFieldData;

// The text attributes that a text object and every table cell carry alike.
struct CTextAttributes {
    // Alignment as the text-alignment codes: 0 left, 2 right, 6 centred.
    enum Align { alignLeft = 0, alignRight = 2, alignCenter = 6 };

    int m_nAlign = alignLeft;
    int m_nTimeFormat = 2;         // CTimeFormat
    int m_nDateFormat = 2;         // CDateFormat
    int m_nNumberingFormat = 1;    // CNumberingFormat
    int m_nPageFormat = 1;         // CPageFormat
    int m_nPageTotalFormat = 1;    // CPageTotalFormat
    int m_nEstimatePicture = 0;    // CNumberPicture, "$見積(" fields
    int m_nPartsPicture = 0;       // CNumberPicture, "$部材(" fields
    int m_nInformationPicture = 0; // CNumberPicture, "$情報(" fields

    // The nine as nine WORDs in this order.
    void SerializeAttributes(CArchive& ar);
};

class CDrawText : public CDrawObj, public CTextAttributes {
    DECLARE_SERIAL(CDrawText)
protected:
    // Loading: the "Large Font Setting" font until the stored one replaces it; black.
    CDrawText();

public:
    // A new text: the print font and print font colour of the settings, empty text,
    // pictures 0, 2, 2, 1, 1, 1, 0, 0, 0.
    explicit CDrawText(const CRect& position);
    ~CDrawText() override;

    void Serialize(CArchive& ar) override;
    BOOL Intersects(const CRect& rect) override;
    CDrawObj* Clone(CDrawingDoc* pDoc = nullptr) override;
    CDrawObj* CloneForUndo(CDrawingDoc* pDoc = nullptr) override;
    // The text and its picture indexes in the text-property dialog of the document's kind
    // of layout; on OK the alignment follows a leading field token (TextProperties.cpp).
    void OnEditProperties() override;

    void DrawEM(CDC* pDC, const CEstimateFieldData* pData) override;
    void DrawPM(CDC* pDC, const CPartsFieldData* pData) override;
    void Draw(CDC* pDC, IDrawingView* pView) override;
    // Keeps the left x and the vertical centre; the rectangle becomes the displayed text's
    // printed extent (PrintedExtent) plus 10 wide and 6 high, at any zoom of the editor.
    void FitToText(IDrawingView* pView) override;
    // The extent in object units of one line of text in this object's font as it prints:
    // measured on the application's printer mapped as a printed page is (the screen,
    // mapped alike, when there is no printer). pView: whose screen stands in; may be null.
    CSize PrintedExtent(const CString& strText, IDrawingView* pView) const;
    // The view's tool tip shows the text while (x, y), in object units, lies in the object.
    void UpdateToolTip(int x, int y, IDrawingView* pView);
    // The underline of printed text drawn by hand under the text of rect.
    void DrawUnderline(CDC* pDC, const LOGFONT& lf, const CRect& rect, const CString& strText,
                       COLORREF color);

    // The printed text: field tokens filled from the estimate or parts list being printed;
    // pieces that are no token vanish.
    CString ExpandMacrosEM(const CEstimateFieldData* pData) const;
    CString ExpandMacrosPM(const CPartsFieldData* pData) const;
    // The editor's text: tokens without their occurrence suffix.
    CString GetFieldDisplayText(const CString& strText) const;

    // Row-kind styling of field text: the font and colour to print with, and the alignment
    // a confirmed property dialog stores. Nothing is changed.
    LOGFONT GetFieldFontEM(const CEstimateFieldData* pData) const;
    COLORREF GetFieldColorEM(const CEstimateFieldData* pData) const;
    LOGFONT GetFieldFontPM(const CPartsFieldData* pData) const;
    COLORREF GetFieldColorPM(const CPartsFieldData* pData) const;
    int AlignFromEstimateField() const;
    int AlignFromPartsField() const;

    // After a change of form: the item names of the text's "$見積(", "$情報(" or "$部材("
    // tokens follow the document's item mapping (see FieldRemap.h). Neither repaints nor
    // marks the document modified; the document does both.
    void RemapEstimateFields();
    void RemapInformationFields();
    void RemapPartsFields();

    LOGFONT m_logFont{};
    CString m_strText;
    COLORREF m_clrText = 0;
};
