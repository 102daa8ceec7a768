#include "platform/ui/dialogs/CDataExchange.h"

#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/base/TypedNumber.h"
#include "platform/ui/core/CUserException.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The standard messages of the exchange.
CString MsgParseInt()
{
    return CString::FromUtf8("整数を入力してください。");
}
CString MsgParseUInt()
{
    return CString::FromUtf8("正の整数を入力してください。");
}
CString MsgParseReal()
{
    return CString::FromUtf8("数値を入力してください。");
}
CString MsgIntRange()
{
    return CString::FromUtf8("%1 から %2 までの整数を入力してください。");
}
CString MsgRealRange()
{
    return CString::FromUtf8("%1 から %2 までの数値を入力してください。");
}
CString MsgStringSize()
{
    return CString::FromUtf8("%1 文字以内で入力してください。");
}

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// Sets a window's text only when it changes, so that loading unchanged values neither
// flickers nor reports a change.
void SetWindowTextIfChanged(HWND hWnd, const char* text)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    if (!pWnd)
        return;
    CString current;
    pWnd->GetWindowText(current);
    if (current != text)
        pWnd->SetWindowText(text);
}

CString GetText(HWND hWnd)
{
    CString text;
    if (CWnd* pWnd = CWnd::FromHandle(hWnd))
        pWnd->GetWindowText(text);
    return text;
}

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    return pWnd ? pWnd->SendMessage(message, wParam, lParam) : 0;
}

[[noreturn]] void FailWithMessage(CDataExchange* pDX, const CString& message)
{
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

// A number field's text as a person types numbers (ReadTypedNumberText: full-width digits,
// separators, "▲", "円"), in the plain ASCII form the parsers below take; false for a word,
// and, where bWhole asks for a whole number, for a number with decimals.
bool ReadTypedField(HWND hWnd, bool bWhole, std::string& plain)
{
    return ReadTypedNumberText(GetText(hWnd), plain) && (!bWhole || plain.find('.') == std::string::npos);
}

template <class T>
void TextSigned(CDataExchange* pDX, int nIDC, T& value, long long minVal, long long maxVal)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        std::string plain;
        if (!ReadTypedField(hWnd, true, plain) || !AfxParseInt(plain.c_str(), minVal, maxVal, parsed))
            FailWithMessage(pDX, MsgParseInt());
        value = static_cast<T>(parsed);
    } else {
        CString text;
        text.Format("%lld", static_cast<long long>(value));
        SetWindowTextIfChanged(hWnd, text);
    }
}

template <class T>
void TextUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long maxVal)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        unsigned long long parsed = 0;
        std::string plain;
        if (!ReadTypedField(hWnd, true, plain) || !AfxParseUInt(plain.c_str(), maxVal, parsed))
            FailWithMessage(pDX, MsgParseUInt());
        value = static_cast<T>(parsed);
    } else {
        CString text;
        text.Format("%llu", static_cast<unsigned long long>(value));
        SetWindowTextIfChanged(hWnd, text);
    }
}

void FailIntRange(CDataExchange* pDX, long long minVal, long long maxVal)
{
    CString lo, hi;
    lo.Format("%lld", minVal);
    hi.Format("%lld", maxVal);
    FailWithMessage(pDX, AfxFormatString2(MsgIntRange(), lo, hi));
}

void FailUIntRange(CDataExchange* pDX, unsigned long long minVal, unsigned long long maxVal)
{
    CString lo, hi;
    lo.Format("%llu", minVal);
    hi.Format("%llu", maxVal);
    FailWithMessage(pDX, AfxFormatString2(MsgIntRange(), lo, hi));
}

void FailRealRange(CDataExchange* pDX, double minVal, double maxVal, int nDigits)
{
    FailWithMessage(pDX, AfxFormatString2(MsgRealRange(), AfxFormatDouble(minVal, nDigits),
                                          AfxFormatDouble(maxVal, nDigits)));
}

HWND LastControl(CDataExchange* pDX)
{
    CWnd* pCtrl = pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl) : nullptr;
    return pCtrl ? pCtrl->m_hWnd : nullptr;
}

} // namespace

[[noreturn]] void AfxThrowUserException()
{
    throw CUserException();
}

// ---------------------------------------------------------------------------------------
// CDataExchange
// ---------------------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    CWnd* pCtrl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    return pCtrl ? pCtrl->m_hWnd : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate) {
        if (HWND hWnd = LastControl(this)) {
            CWnd* pCtrl = CWnd::FromHandle(hWnd);
            if (pCtrl) {
                pCtrl->SetFocus();
                if (m_bEditLastControl)
                    pCtrl->SendMessage(EM_SETSEL, 0, -1);
            }
        }
    }
    AfxThrowUserException();
}

BOOL ReadDialogFields(CWnd* pDlgWnd, const std::function<void(CDataExchange* pDX)>& exchange)
{
    CDataExchange dx(pDlgWnd, TRUE);
    try {
        exchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Parsing and formatting
// ---------------------------------------------------------------------------------------

BOOL AfxParseInt(const char* text, long long minVal, long long maxVal, long long& value)
{
    if (!text)
        return FALSE;
    const char* p = SkipBlanks(text);
    if (*p == '\0')
        return FALSE;
    const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
    if (*digits < '0' || *digits > '9')
        return FALSE;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(p, &end, 10);
    if (errno == ERANGE)
        return FALSE;
    if (*SkipBlanks(end) != '\0')
        return FALSE;
    if (parsed < minVal || parsed > maxVal)
        return FALSE;
    value = parsed;
    return TRUE;
}

BOOL AfxParseUInt(const char* text, unsigned long long maxVal, unsigned long long& value)
{
    if (!text)
        return FALSE;
    const char* p = SkipBlanks(text);
    if (*p == '+')
        ++p;
    // A minus sign is not a positive integer, even for "-0".
    if (*p < '0' || *p > '9')
        return FALSE;
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(p, &end, 10);
    if (errno == ERANGE)
        return FALSE;
    if (*SkipBlanks(end) != '\0')
        return FALSE;
    if (parsed > maxVal)
        return FALSE;
    value = parsed;
    return TRUE;
}

BOOL AfxParseDouble(const char* text, double& value)
{
    if (!text)
        return FALSE;
    const char* p = SkipBlanks(text);
    if (*p == '\0')
        return FALSE;
    // Only plain decimal notation (with an optional exponent) counts as a number: no
    // hexadecimal, no "inf" or "nan", whatever the C library would accept.
    const char* q = p;
    if (*q == '+' || *q == '-')
        ++q;
    bool anyDigit = false;
    while (*q >= '0' && *q <= '9') {
        ++q;
        anyDigit = true;
    }
    if (*q == '.') {
        ++q;
        while (*q >= '0' && *q <= '9') {
            ++q;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return FALSE;
    if (*q == 'e' || *q == 'E') {
        const char* e = q + 1;
        if (*e == '+' || *e == '-')
            ++e;
        if (*e < '0' || *e > '9')
            return FALSE;
        while (*e >= '0' && *e <= '9')
            ++e;
        q = e;
    }
    if (*SkipBlanks(q) != '\0')
        return FALSE;
    // The decimal point is always "." whatever the locale says.
    const std::string number(p, static_cast<size_t>(q - p));
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(number.c_str(), &end);
    if (errno == ERANGE && (parsed > 1.0 || parsed < -1.0))
        return FALSE;
    value = parsed;
    return TRUE;
}

CString AfxFormatDouble(double value, int nDigits)
{
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.*g", nDigits, value);
    return CString(buffer);
}

CString AfxFormatString1(const CString& format, const char* arg1)
{
    return AfxFormatString2(format, arg1, "");
}

CString AfxFormatString2(const CString& format, const char* arg1, const char* arg2)
{
    CString result;
    const int n = format.GetLength();
    for (int i = 0; i < n; ++i) {
        const char ch = format[i];
        if (ch == '%' && i + 1 < n && (format[i + 1] == '1' || format[i + 1] == '2')) {
            result += format[i + 1] == '1' ? (arg1 ? arg1 : "") : (arg2 ? arg2 : "");
            ++i;
            continue;
        }
        result += ch;
        // Keep double-byte characters whole (a trail byte may look like '%').
        if (IsCp932LeadByte(static_cast<BYTE>(ch)) && i + 1 < n)
            result += format[++i];
    }
    return result;
}

// ---------------------------------------------------------------------------------------
// DDX_Text
// ---------------------------------------------------------------------------------------

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetText(hWnd);
    else
        SetWindowTextIfChanged(hWnd, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextSigned(pDX, nIDC, value, INT_MIN, INT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextUnsigned(pDX, nIDC, value, UINT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value)
{
    TextUnsigned(pDX, nIDC, value, ULONG_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    TextSigned(pDX, nIDC, value, SHRT_MIN, SHRT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    TextUnsigned(pDX, nIDC, value, UCHAR_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        std::string plain;
        if (!ReadTypedField(hWnd, false, plain) || !AfxParseDouble(plain.c_str(), parsed))
            FailWithMessage(pDX, MsgParseReal());
        value = parsed;
    } else {
        SetWindowTextIfChanged(hWnd, AfxFormatDouble(value, DBL_DIG));
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        std::string plain;
        if (!ReadTypedField(hWnd, false, plain) || !AfxParseDouble(plain.c_str(), parsed) ||
            parsed > FLT_MAX || parsed < -FLT_MAX)
            FailWithMessage(pDX, MsgParseReal());
        value = static_cast<float>(parsed);
    } else {
        SetWindowTextIfChanged(hWnd, AfxFormatDouble(value, FLT_DIG));
    }
}

void FailNumberField(CDataExchange* pDX)
{
    FailWithMessage(pDX, MsgParseReal());
}

void DDX_Number(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        std::string plain;
        if (!ReadTypedField(hWnd, false, plain))
            FailWithMessage(pDX, MsgParseReal());
        value = CString(plain.c_str());
    } else {
        SetWindowTextIfChanged(hWnd, value);
    }
}

// ---------------------------------------------------------------------------------------
// Buttons
// ---------------------------------------------------------------------------------------

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(Send(hWnd, BM_GETCHECK));
    else
        Send(hWnd, BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    CWnd* pCtrl = CWnd::FromHandle(hWnd);
    if (!pCtrl)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from nIDC to the next control that starts a group; controls in it that
    // are not radio buttons are skipped without being counted.
    int iButton = 0;
    do {
        if (pCtrl->SendMessage(WM_GETDLGCODE) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (pCtrl->SendMessage(BM_GETCHECK) != 0 && value == -1)
                    value = iButton;
            } else {
                pCtrl->SendMessage(BM_SETCHECK, iButton == value ? BST_CHECKED : BST_UNCHECKED);
            }
            ++iButton;
        }
        pCtrl = pCtrl->GetWindow(GW_HWNDNEXT);
    } while (pCtrl && !(pCtrl->GetStyle() & WS_GROUP));
}

// ---------------------------------------------------------------------------------------
// Combo boxes, list boxes, scroll bars
// ---------------------------------------------------------------------------------------

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(Send(hWnd, CB_GETCURSEL));
    else
        Send(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index));
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CWnd* pCtrl = CWnd::FromHandle(hWnd);
        if (pCtrl && pCtrl->GetWindowTextLength() > 0) {
            pCtrl->GetWindowText(value);
        } else {
            // A drop-down list shows its selection; read the selected entry.
            const int nIndex = static_cast<int>(Send(hWnd, CB_GETCURSEL));
            value.Empty();
            if (nIndex != CB_ERR) {
                const int nLen = static_cast<int>(Send(hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
                if (nLen > 0) {
                    Send(hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                         reinterpret_cast<LPARAM>(value.GetBuffer(nLen)));
                    value.ReleaseBuffer();
                }
            }
        }
    } else {
        // Select the first entry that starts with the value; an editable combo that has no
        // such entry shows the value in its edit.
        if (Send(hWnd, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())) ==
            CB_ERR)
            SetWindowTextIfChanged(hWnd, value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_CBString(pDX, nIDC, value);
    } else {
        const int nIndex = static_cast<int>(
            Send(hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())));
        if (nIndex == CB_ERR)
            SetWindowTextIfChanged(hWnd, value);
        else
            Send(hWnd, CB_SETCURSEL, static_cast<WPARAM>(nIndex));
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(Send(hWnd, LB_GETCURSEL));
    else
        Send(hWnd, LB_SETCURSEL, static_cast<WPARAM>(index));
}

static void ReadListBoxSelection(HWND hWnd, CString& value)
{
    value.Empty();
    const int nIndex = static_cast<int>(Send(hWnd, LB_GETCURSEL));
    if (nIndex == LB_ERR)
        return;
    const int nLen = static_cast<int>(Send(hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
    if (nLen <= 0)
        return;
    Send(hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(value.GetBuffer(nLen)));
    value.ReleaseBuffer();
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        ReadListBoxSelection(hWnd, value);
    else
        Send(hWnd, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()));
}

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        ReadListBoxSelection(hWnd, value);
    } else {
        const int nIndex = static_cast<int>(
            Send(hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())));
        Send(hWnd, LB_SETCURSEL, static_cast<WPARAM>(nIndex));
    }
}

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    CWnd* pCtrl = CWnd::FromHandle(hWnd);
    if (!pCtrl)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pCtrl->GetScrollPos(SB_CTL);
    else
        pCtrl->SetScrollPos(SB_CTL, value, TRUE);
}

// ---------------------------------------------------------------------------------------
// DDX_Control
// ---------------------------------------------------------------------------------------

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd)
        rControl.SubclassWindow(hWnd);
}

// ---------------------------------------------------------------------------------------
// DDV
// ---------------------------------------------------------------------------------------

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailIntRange(pDX, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailUIntRange(pDX, minVal, maxVal);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailIntRange(pDX, minVal, maxVal);
}

void DDV_MinMaxDWord(CDataExchange* pDX, unsigned long value, unsigned long minVal, unsigned long maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailUIntRange(pDX, minVal, maxVal);
}

void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailIntRange(pDX, minVal, maxVal);
}

void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailUIntRange(pDX, minVal, maxVal);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailRealRange(pDX, minVal, maxVal, DBL_DIG);
}

void DDV_MinMaxFloat(CDataExchange* pDX, const float& value, float minVal, float maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailRealRange(pDX, minVal, maxVal, FLT_DIG);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString count;
            count.Format("%d", nChars);
            FailWithMessage(pDX, AfxFormatString1(MsgStringSize(), count));
        }
    } else if (HWND hWnd = LastControl(pDX)) {
        CWnd* pCtrl = CWnd::FromHandle(hWnd);
        // An editable combo box limits its edit; an edit limits itself.
        if (pCtrl && pCtrl->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL)
            pCtrl->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars));
        else if (pCtrl)
            pCtrl->SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nChars));
    }
}
