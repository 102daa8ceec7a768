#include "app/CInformationFormFile.h"

CInformationFormFile::CInformationFormFile()
    : CFormFile("This is information form file",
                {"項目名", "属性", "幅", "数値書式", "計算式", "丸め", "E", "P"})
{
}

CInformationFormFile::~CInformationFormFile() = default;

int CInformationFormFile::Serialize(CArchive& ar)
{
    return SerializeForm(ar, "情報形式ﾌｧｲﾙがないか、壊れています。"_sj);
}
