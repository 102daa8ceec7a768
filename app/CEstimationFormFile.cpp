#include "app/CEstimationFormFile.h"

CEstimationFormFile::CEstimationFormFile()
    : CFormFile("This is estimation form file",
                {"項目名", "属性", "幅", "数値書式", "計算式", "丸め", "T", "V", "B", "C"})
{
}

CEstimationFormFile::~CEstimationFormFile() = default;

int CEstimationFormFile::Serialize(CArchive& ar)
{
    return SerializeForm(ar, "見積形式ﾌｧｲﾙがないか、壊れています。"_sj);
}
