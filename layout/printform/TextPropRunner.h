// Running the text-property dialog that fits a layout: CTextPropEMDialog for an estimate
// layout, CTextPropPMDialog for a parts layout, with the layout's forms and form names.
//
// The layout views' text tool ("文字(&T)") calls RunTextToolDialog with its pending
// settings for the next text object; text objects and tables call RunTextPropertyDialog
// with their texts and their picture indexes. Both change what they are given only on
// IDOK and return the dialog's result (IDCANCEL for a document that is no layout).
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <vector>

class CPrintDoc;
struct CTextAttributes;

// What the text tool gives the next text object it creates.
struct CPendingTextSettings {
    CString m_strText;
    int m_nTimePicture = 2;
    int m_nDatePicture = 2;
    int m_nNumberingPicture = 1;
    int m_nPagePicture = 1;
    int m_nPageTotalPicture = 1;
    int m_nEstimatePicture = 0;
    int m_nInformationPicture = 0;
    int m_nPartsPicture = 0;
    BOOL m_bRuledLine = FALSE;
    BOOL m_bShading = FALSE;
};

// The text tool's dialog: one empty text, the frame options shown. On IDOK the pending
// text, flags and picture indexes take the dialog's values.
int RunTextToolDialog(CPrintDoc* pDoc, CPendingTextSettings& pending);

// The property dialog of a text object (one text) or of the rows of a table's selected
// cells (texts[0] the top row; the further entries are rebuilt from it). On IDOK the texts
// and the picture indexes of attributes take the dialog's values.
int RunTextPropertyDialog(CPrintDoc* pDoc, std::vector<CString>& texts, CTextAttributes& attributes);
