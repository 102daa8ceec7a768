// The table of texts (NumberInputTexts.h) typed into a dialog's number field as a user types:
// a field that takes numbers from lo to hi (whole numbers only where bWhole) must take each
// number of the table in its range with the table's value, and refuse every other text with
// a message, staying open for a correction.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "tests/support/NumberInputTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

// What came of typing into a field and pressing the button: whether the field let the text
// in at all (a field for digits only refuses other characters as they are typed), whether
// the dialog took the text (it closed) and the messages it showed.
struct CFieldTyping {
    bool bTyped = true;
    bool bTaken = false;
    std::vector<CString> messages;
};

// Whether the field nIDC holds text (after typing it).
inline bool FieldHolds(CWnd& dlg, int nIDC, const CString& text)
{
    CString held;
    dlg.GetDlgItemText(nIDC, held);
    return held == text;
}

// Whether a text is made of digits only, ASCII or full-width: what a field for digits only
// lets in.
inline bool IsDigitsOnly(const char* lpszUtf8)
{
    const std::string text(lpszUtf8);
    for (size_t i = 0; i < text.size();) {
        if (text[i] >= '0' && text[i] <= '9') {
            ++i;
        } else if (text.compare(i, 2, "\xEF\xBC") == 0 && i + 2 < text.size() &&
                   static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
                   static_cast<unsigned char>(text[i + 2]) <= 0x99) {
            i += 3; // "０" to "９" in UTF-8
        } else {
            return false;
        }
    }
    return !text.empty();
}

// Types text into field nIDC of the next dialog of template nIDD (opened by open), clicks
// nButton, and cancels the dialog when it stayed open.
inline CFieldTyping TypeIntoNumberField(UINT nIDD, int nIDC, const CString& text,
                                        const std::function<void()>& open, int nButton = IDOK)
{
    CFieldTyping typing;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(nIDD, [&](CDialog& dlg) {
        TypeDlgItemText(dlg, nIDC, text);
        typing.bTyped = FieldHolds(dlg, nIDC, text);
        ClickDlgButton(dlg, nButton);
        typing.bTaken = dlg.IsModalRunning() == FALSE;
    });
    open();
    typing.messages = answerer.MessageBoxTexts();
    return typing;
}

// Whether a field of that range takes the table's text.
inline bool NumberFieldTakes(const CNumberInputText& t, double lo, double hi, bool bWhole)
{
    return t.bNumber && (!bWhole || t.value == std::floor(t.value)) && t.value >= lo && t.value <= hi;
}

// Runs the table over one field: typeAndRead types the text, presses the button and sets
// read to the value the dialog kept when it took the text.
inline void
ExpectNumberFieldReadsTheTable(const char* lpszField, double lo, double hi, bool bWhole,
                               const std::function<CFieldTyping(const CString&, double& read)>& typeAndRead)
{
    for (const CNumberInputText& t : NumberInputTexts()) {
        double read = 0.0;
        const CFieldTyping typing = typeAndRead(CString::FromUtf8(t.utf8), read);
        if (!typing.bTyped) {
            // Refused as it was typed: only a field for digits does so, and only for a text
            // that is not all digits.
            EXPECT_FALSE(IsDigitsOnly(t.utf8)) << lpszField << ": " << t.utf8;
            continue;
        }
        const bool bTakes = NumberFieldTakes(t, lo, hi, bWhole);
        EXPECT_EQ(bTakes, typing.bTaken) << lpszField << ": " << t.utf8;
        if (bTakes) {
            EXPECT_DOUBLE_EQ(t.value, read) << lpszField << ": " << t.utf8;
            EXPECT_TRUE(typing.messages.empty()) << lpszField << ": " << t.utf8;
        } else {
            EXPECT_EQ(1u, typing.messages.size()) << lpszField << ": " << t.utf8;
        }
    }
}
