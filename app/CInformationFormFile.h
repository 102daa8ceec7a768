// The information form: the lines of an estimate's information sheet (customer, site,
// amounts, ...). Its file is named in the settings ("Information Form Name") and lies in
// the "Information Form" folder; the setup sheet creates it as "JYOUHOU.MJK".
#pragma once

#include "app/CFormFile.h"

class CInformationFormFile : public CFormFile<8> {
public:
    // The information form's codes: E the number-edit style ("1", "2", "3"), then P.
    enum { colE = 6, colP = 7 };

    CInformationFormFile();
    ~CInformationFormFile();
    CInformationFormFile(const CInformationFormFile&) = default;
    CInformationFormFile& operator=(const CInformationFormFile&) = default;

    // Stores or loads the form: 0, or -1 after "情報形式ﾌｧｲﾙがないか、壊れています。" when
    // the magic is wrong or the file holds more than 100 items (form unchanged). A file
    // that ends early throws CArchiveException (endOfFile), the form unchanged.
    int Serialize(CArchive& ar);

    // TRUE when both forms have the same count and the same item names and attributes.
    BOOL IsSameForm(const CInformationFormFile& other) const { return IsSameFormAs(other); }
};
