// Dialog data exchange: DoDataExchange moves values between a dialog's members and its
// controls through the DDX_ functions, and checks them with the DDV_ functions.
//
// Loading (m_bSaveAndValidate FALSE) puts the members into the controls; saving reads
// the controls back and validates. A number field reads its text as a person types a
// number (ReadTypedNumberText: "１２", "1,200", "▲5", "10円"), as a number cell does. A value that cannot be
// read or is out of range shows the standard message, puts the focus on the control (selecting an edit's
// text) and abandons the exchange with a CUserException, which UpdateData catches.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

#include <functional>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;         // the control the last DDX_ call handled
    BOOL m_bEditLastControl = FALSE; // ... and whether it was an edit

    // The control's window for an exchange (remembered for a failure's focus). Null when
    // the dialog has no such control.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focuses the last control (selecting an edit's text) and throws CUserException.
    [[noreturn]] void Fail();
};

// Reads fields by hand, outside DoDataExchange (an OnOK that reads one field into its own
// value, a button that acts on what is typed): TRUE when every DDX_/DDV_ call of exchange
// read its field; FALSE when one refused its text (its message shown, the focus on its
// control), and the caller then stays as it is.
BOOL ReadDialogFields(CWnd* pDlgWnd, const std::function<void(CDataExchange* pDX)>& exchange);

// ---- values in edits and other windows with text ------------------------------------------
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
// A number field that keeps the number as a text (an amount, a rate): saving sets value to
// the plain form of the typed number ("１０，０００円" gives "10000", "▲5,000" "-5000");
// a text that is no number fails with the message of DDX_Text's double. Loading shows value.
void DDX_Number(CDataExchange* pDX, int nIDC, CString& value);

// For a field read by hand (a number within a longer text): shows the message of a number
// field that holds no number, focuses the control last prepared and fails the exchange.
[[noreturn]] void FailNumberField(CDataExchange* pDX);

// ---- buttons --------------------------------------------------------------------------------
// 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group (the control with WS_GROUP); value is the
// index of the checked button among the group's radio buttons in template order, -1 for
// none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// ---- combo boxes, list boxes, scroll bars -------------------------------------------------
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);

// ---- control objects --------------------------------------------------------------------------
// Attaches rControl to the dialog's control nIDC the first time (the object then receives
// that control's messages) until the dialog's window goes.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// ---- validation (after the DDX_ call of the same control) -------------------------------------
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, unsigned long value, unsigned long minVal, unsigned long maxVal);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, const float& value, float minVal, float maxVal);
// Limits the edit to nChars bytes when loading; refuses a longer text when saving.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// ---- the texts and rules the exchange uses (also for code that checks by hand) ----------------
// Parses a whole text as a number the way the exchange reads edits: blanks around it are
// allowed, anything else makes it fail. Overflow fails too.
BOOL AfxParseInt(const char* text, long long minVal, long long maxVal, long long& value);
BOOL AfxParseUInt(const char* text, unsigned long long maxVal, unsigned long long& value);
BOOL AfxParseDouble(const char* text, double& value);
// Formats a floating-point value with the given number of significant digits (%.*g).
CString AfxFormatDouble(double value, int nDigits);
// Replaces %1 (and %2) in a message with the arguments.
CString AfxFormatString1(const CString& format, const char* arg1);
CString AfxFormatString2(const CString& format, const char* arg1, const char* arg2);
