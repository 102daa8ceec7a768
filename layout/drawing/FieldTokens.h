// Field tokens: the words of a text object or table cell that print data instead of
// themselves ("$日付()$", "$ﾍﾟｰｼﾞ()$", "$番号(1)$", "$情報(工事名)$", "$見積(1,名称,3)$",
// "$部材(1,数量,2)$"), their expansion when a page prints and their shortened editor form.
//
// A text is cut into plain text and pieces byte by byte: a piece runs from one "$" to the
// next, both included; an unpaired "$" and everything after it stays plain text. The byte
// "$" never occurs as the second byte of a double-byte character, so the walk needs no
// lead-byte rule; the searches inside a piece ("^", ",", ")$") go through CString, which
// steps over double-byte characters whole.
//
// What a printed page reads of its data comes through CEstimateFieldData and
// CPartsFieldData: the estimate view's and the parts view's print roads supply them, so the
// expansion is the same whether it runs for paper, preview or a test.
#pragma once

#include "engine/estimate/RowKinds.h"
#include "layout/drawing/FormatCatalogues.h"
#include "platform/base/CString.h"

class CEstimationFormFile;
class CInformationFormFile;
class CPartFormFile;
class CDrawingDoc;
struct CTextAttributes;

// What a page of an estimate print reads from the estimate being printed.
class CEstimateFieldData {
public:
    virtual ~CEstimateFieldData() = default;
    // The page's number within the layout that prints it (from 1) and the page count of the
    // whole print job.
    virtual int GetLayoutPage() const = 0;
    virtual int GetPrintPages() const = 0;
    // Row reads (rows from 0): an empty text and kind 0 for a row that does not exist.
    virtual CString GetCellText(int nRow, int nCol) const = 0;
    virtual ERowKind GetRowKind(int nRow) const = 0;
    virtual CString GetSubjectNoText(int nRow, int nCol) const = 0;
    virtual int GetCellIndent(int nRow, int nCol) const = 0;
    // The information value of item nItem (from 0); empty beyond the items.
    virtual CString GetInformationValue(int nItem) const = 0;
    // The estimate document's own forms: pictures, rounding specs and "E" codes.
    virtual const CEstimationFormFile& GetEstimationForm() const = 0;
    virtual const CInformationFormFile& GetInformationForm() const = 0;
};

// What a page of a parts-list print reads from the parts list being printed.
class CPartsFieldData {
public:
    virtual ~CPartsFieldData() = default;
    virtual int GetLayoutPage() const = 0;
    virtual int GetPrintPages() const = 0;
    virtual CString GetCellText(int nRow, int nCol) const = 0;
    virtual const CPartFormFile& GetPartsForm() const = 0;
};

// One expansion: the text's owner (a text object or a cell) decides what happens to pieces
// it does not recognise and whether estimate fields get their indent; exactly one of the
// two data sources is given.
struct CFieldExpansion {
    const CTextAttributes* pAttributes = nullptr;
    bool bCell = false;
    const CDrawingDoc* pDocument = nullptr;
    const CEstimateFieldData* pEstimate = nullptr;
    const CPartsFieldData* pParts = nullptr;
};

// The printed text of strText.
CString ExpandFieldTokens(const CString& strText, const CFieldExpansion& expansion);

// The editor's display of strText: well-formed field tokens of the document's set without
// their occurrence suffix "^k"; everything else byte for byte.
CString FieldDisplayText(const CString& strText, const CDrawingDoc* pDocument);

// Trailing decimal zeros removed ("12.50" → "12.5", "12.00" → "12") unless the print
// setting "Space Setting" is 1 (the default).
void TrimTrailingZeros(CString& strNumber);

// The first field-reference record of the document whose key is strKey, or null.
const class CFieldRefRecord* FindFieldRef(const CDrawingDoc* pDocument, const CString& strKey);

// The clock field tokens print: the local time, or a fixed reading while one is set
// (reproducible prints and tests).
CClockReading FieldClock();
void SetFixedFieldClock(const CClockReading* pReading);

// The print settings the expansion and the paper drawing read, from the current
// application settings (their defaults when there are none).
struct CPrintSettingsView {
    int nMinus = 2;
    int nDataAlign = 1;
    int nSpaceSetting = 1;
    int nDataFont = 1;
    int nDataColor = 1;
    int nPrintColor = 1;
    static CPrintSettingsView Current();
};

// TRUE when the platform reports major version 6 (the version test of printed underlines).
BOOL IsWindowsVersion6();
