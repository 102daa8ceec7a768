#include "app/CPartFormFile.h"

CPartFormFile::CPartFormFile()
    : CFormFile("This is part form file",
                {"項目名", "属性", "幅", "数値書式", "計算式", "丸め", "T", "D", "C", "P"})
{
}

CPartFormFile::~CPartFormFile() = default;

int CPartFormFile::Serialize(CArchive& ar)
{
    return SerializeForm(ar, "部材形式ﾌｧｲﾙがないか、壊れています。"_sj);
}
