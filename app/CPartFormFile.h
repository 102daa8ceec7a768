// The parts form: the column layout of the parts grid, the same shape as the estimation
// form. Its file is named in the settings ("Part Form Name") and lies in the "Parts
// Form" folder; the setup sheet creates it as "BUZAI.MBK".
#pragma once

#include "app/CFormFile.h"

class CPartFormFile : public CFormFile<10> {
public:
    // The parts form's codes, after the six columns every form has.
    enum { colT = 6, colD = 7, colC = 8, colP = 9 };

    CPartFormFile();
    ~CPartFormFile();
    CPartFormFile(const CPartFormFile&) = default;
    CPartFormFile& operator=(const CPartFormFile&) = default;

    // Stores or loads the form: 0, or -1 after "部材形式ﾌｧｲﾙがないか、壊れています。" when
    // the magic is wrong or the file holds more than 100 items (form unchanged). A file
    // that ends early throws CArchiveException (endOfFile), the form unchanged.
    int Serialize(CArchive& ar);

    // TRUE when both forms have the same count and the same item names and attributes.
    BOOL IsSameForm(const CPartFormFile& other) const { return IsSameFormAs(other); }
};
