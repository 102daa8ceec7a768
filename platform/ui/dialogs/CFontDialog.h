// CFontDialog: the font dialog. The font it opens with comes in as a LOGFONT (and, with
// CF_EFFECTS, a colour in m_cf.rgbColors); the chosen font comes back the same way, its
// size also in tenths of a point (m_cf.iPointSize). CF_LIMITSIZE keeps the sizes between
// m_cf.nSizeMin and m_cf.nSizeMax points. The faces offered are the Japanese faces of the
// font database, the system's usual names first.
#pragma once

#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/CDialog.h"

class CDC;

struct CHOOSEFONT {
    DWORD lStructSize;
    HWND hwndOwner;
    HDC hDC;
    LOGFONT* lpLogFont;
    INT iPointSize; // tenths of a point
    DWORD Flags;
    COLORREF rgbColors;
    LPARAM lCustData;
    void* lpfnHook;
    LPCTSTR lpTemplateName;
    HINSTANCE hInstance;
    LPTSTR lpszStyle;
    WORD nFontType;
    INT nSizeMin;
    INT nSizeMax;
};

class CFontDialog : public CDialog {
    DECLARE_DYNAMIC(CFontDialog)
public:
    explicit CFontDialog(LPLOGFONT lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* pdcPrinter = nullptr, CWnd* pParentWnd = nullptr);

    CHOOSEFONT m_cf;
    LOGFONT m_lf;

    // IDOK or IDCANCEL.
    INT_PTR DoModal() override;

    void GetCurrentFont(LPLOGFONT lplf) const;
    CString GetFaceName() const;
    int GetSize() const { return m_cf.iPointSize; } // tenths of a point
    COLORREF GetColor() const { return m_cf.rgbColors; }
    int GetWeight() const { return m_lf.lfWeight; }
    BOOL IsStrikeOut() const { return m_lf.lfStrikeOut ? TRUE : FALSE; }
    BOOL IsUnderline() const { return m_lf.lfUnderline ? TRUE : FALSE; }
    BOOL IsBold() const { return m_lf.lfWeight >= FW_BOLD ? TRUE : FALSE; }
    BOOL IsItalic() const { return m_lf.lfItalic ? TRUE : FALSE; }

    // A LOGFONT's size in tenths of a point for a device of that many pixels per inch.
    static int PointSizeOf(const LOGFONT& lf, int logPixelsY);
    // The LOGFONT height (negative: character height) of a size in tenths of a point.
    static LONG HeightOf(int pointSizeTenths, int logPixelsY);

private:
    // Takes a chosen font and colour; FALSE when the size is outside CF_LIMITSIZE's range.
    BOOL Accept(const LOGFONT& lf, COLORREF color);
    int LogPixelsY() const;

    CDC* m_pPrinterDC;
};
