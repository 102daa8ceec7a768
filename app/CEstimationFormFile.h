// The estimation form: the column layout of the estimate grid. Its file is named in the
// settings ("Form File Name Setting" / "Estimation Form Name") and lies in the
// "Estimation Form" folder; the setup sheet creates it as "meisai.MMK".
#pragma once

#include "app/CFormFile.h"

class CEstimationFormFile : public CFormFile<10> {
public:
    // The estimation form's codes, after the six columns every form has.
    enum { colT = 6, colV = 7, colB = 8, colC = 9 };

    CEstimationFormFile();
    ~CEstimationFormFile();
    CEstimationFormFile(const CEstimationFormFile&) = default;
    CEstimationFormFile& operator=(const CEstimationFormFile&) = default;

    // Stores or loads the form: 0, or -1 after "見積形式ﾌｧｲﾙがないか、壊れています。" when
    // the magic is wrong or the file holds more than 100 items (form unchanged). A file
    // that ends early throws CArchiveException (endOfFile), the form unchanged.
    int Serialize(CArchive& ar);

    // TRUE when both forms have the same count and the same item names and attributes.
    BOOL IsSameForm(const CEstimationFormFile& other) const { return IsSameFormAs(other); }
};
