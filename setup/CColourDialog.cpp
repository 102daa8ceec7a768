#include "setup/CColourDialog.h"

#include "app/CMorvelApp.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CFontDialog.h"
#include "resources/SetupIds.h"

IMPLEMENT_DYNCREATE(CColourDialog, CPropertyPage)

namespace {

// The twelve rows in screen order: keys, buttons and the application's font slot.
struct CRowInfo {
    const char* key; // "Kind" -> "Kind Text", "Kind Background"
    UINT nText;
    UINT nBack;
    UINT nFont;
    int nSlot;
    const char* fontSection;
};
const CRowInfo kRows[CColourDialog::ROW_COUNT] = {
    {"Kind", 1046, 1048, 1106, 0, "Kind Font Setting"},
    {"Large Project", 1088, 1092, 1107, 1, "Large Font Setting"},
    {"Middle Project", 1089, 1095, 1108, 3, "Middle Font Setting"},
    {"Small Project", 1090, 1097, 1109, 2, "Small Font Setting"},
    {"Detail", 1072, 1074, 1111, 4, "Detail Font Setting"},
    {"Non Calc", 1073, 1075, 1112, 11, "NonCalc Font Setting"},
    {"Discount", 1076, 1078, 1113, 8, "Discount Font Setting"},
    {"Classify", 1079, 1081, 1115, 5, "Sort Font Setting"},
    {"Step", 1083, 1085, 1117, 6, "Step Font Setting"},
    {"Free", 1067, 1069, 1118, 9, "Tax Font Setting"},
    {"Sum", 1093, 1099, 1119, 7, "Sum Font Setting"},
    {"Part", 1186, 1190, 1187, 10, "Part Font Setting"},
};
constexpr int kPartRow = 11;
constexpr int kNonCalcRow = 5;
constexpr int kDetailRow = 4;

CMorvelApp& App()
{
    return *static_cast<CMorvelApp*>(AfxGetApp());
}

COLORREF ParseOr(const CString& text, COLORREF crDefault)
{
    COLORREF color = 0;
    if (!CMorvelSettings::ParseColor(text, color))
        color = crDefault;
    return color;
}

// A colour never set shows what the grids paint for it: black text on a white background.
// (Shown black, a missing background would be written black when the sheet is confirmed,
// and a list never given colours would turn black on black.)
constexpr COLORREF kUnsetText = RGB(0, 0, 0);
constexpr COLORREF kUnsetBackground = RGB(255, 255, 255);

} // namespace

CColourDialog::CColourDialog() : CPropertyPage(IDD_COLOUR_PAGE) {}

int CColourDialog::RowOfColourButton(UINT nID, bool& bBackground)
{
    for (int i = 0; i < ROW_COUNT; ++i) {
        if (kRows[i].nText == nID || kRows[i].nBack == nID) {
            bBackground = kRows[i].nBack == nID;
            return i;
        }
    }
    return -1;
}

int CColourDialog::RowOfFontButton(UINT nID)
{
    for (int i = 0; i < ROW_COUNT; ++i) {
        if (kRows[i].nFont == nID)
            return i;
    }
    return -1;
}

void CColourDialog::DoDataExchange(CDataExchange* pDX)
{
    for (int i = 0; i < ROW_COUNT; ++i) {
        DDX_Control(pDX, static_cast<int>(kRows[i].nText), m_textButtons[i]);
        DDX_Control(pDX, static_cast<int>(kRows[i].nBack), m_backButtons[i]);
    }
}

BOOL CColourDialog::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CMorvelApp& app = App();
    for (int i = 0; i < ROW_COUNT; ++i) {
        CString text = app.GetProfileValue("Color Setting", CString(kRows[i].key) + " Text");
        CString back = app.GetProfileValue("Color Setting", CString(kRows[i].key) + " Background");
        // A missing non-calculated colour shows the detail colour.
        if (i == kNonCalcRow && text.IsEmpty())
            text = app.GetProfileValue("Color Setting", CString(kRows[kDetailRow].key) + " Text");
        if (i == kNonCalcRow && back.IsEmpty())
            back = app.GetProfileValue("Color Setting", CString(kRows[kDetailRow].key) + " Background");
        m_textButtons[i].SetColour(ParseOr(text, kUnsetText));
        m_backButtons[i].SetColour(ParseOr(back, kUnsetBackground));
    }
    for (int i = 0; i < ROW_COUNT; ++i) {
        bool bEnable = true;
        if (m_nDocKind == 0)
            bEnable = i == kPartRow;
        else if (m_nDocKind == 1)
            bEnable = i != kPartRow;
        for (UINT nID : {kRows[i].nText, kRows[i].nBack, kRows[i].nFont}) {
            if (CWnd* p = GetDlgItem(static_cast<int>(nID)))
                p->EnableWindow(bEnable);
        }
    }
    return TRUE;
}

BOOL CColourDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(static_cast<DWORD>(wParam));
    const UINT nCode = HIWORD(static_cast<DWORD>(wParam));
    if (lParam != 0 && nCode == BN_CLICKED) {
        bool bBackground = false;
        const int nRow = RowOfColourButton(nID, bBackground);
        if (nRow >= 0) {
            CColourButton& button = bBackground ? m_backButtons[nRow] : m_textButtons[nRow];
            CColorDialog dlg(button.GetColour(), CC_FULLOPEN, this);
            if (dlg.DoModal() == IDOK) {
                button.SetColour(dlg.GetColor());
                SetModified(TRUE);
            }
            button.Invalidate();
            return TRUE;
        }
        const int nFontRow = RowOfFontButton(nID);
        if (nFontRow >= 0) {
            LOGFONT& slot = App().m_lfRowFont[kRows[nFontRow].nSlot];
            LOGFONT lf = slot;
            CFontDialog dlg(&lf, CF_TTONLY | CF_SCREENFONTS | CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT, nullptr,
                            this);
            dlg.m_cf.nSizeMin = 8;
            dlg.m_cf.nSizeMax = 14;
            if (dlg.DoModal() == IDOK) {
                dlg.GetCurrentFont(&slot);
                SetModified(TRUE);
            }
            return TRUE;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

BOOL CColourDialog::OnApply()
{
    CMorvelApp& app = App();
    // The order of the settings file: text colours, background colours, then the
    // non-calculated background and text.
    static const int kWriteOrder[] = {0, 4, 7, 1, 2, 3, 9, 10, 8, 11, 6};
    for (int i : kWriteOrder)
        app.WriteProfileString("Color Setting", CString(kRows[i].key) + " Text",
                               CMorvelSettings::FormatColor(m_textButtons[i].GetColour()));
    for (int i : kWriteOrder)
        app.WriteProfileString("Color Setting", CString(kRows[i].key) + " Background",
                               CMorvelSettings::FormatColor(m_backButtons[i].GetColour()));
    app.WriteProfileString("Color Setting", "Non Calc Background",
                           CMorvelSettings::FormatColor(m_backButtons[kNonCalcRow].GetColour()));
    const BOOL bWritten =
        app.WriteProfileString("Color Setting", "Non Calc Text",
                               CMorvelSettings::FormatColor(m_textButtons[kNonCalcRow].GetColour()));
    static const int kFontOrder[] = {0, 1, 3, 2, 4, 7, 8, 11, 10, 9, 6, 5};
    for (int i : kFontOrder)
        app.WriteFontSetting(kRows[i].fontSection, app.m_lfRowFont[kRows[i].nSlot]);
    if (!bWritten) {
        AfxMessageBox("設定ﾌｧｲﾙに書き込めません。"_sj, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return CPropertyPage::OnApply();
}
