#include "layout/drawing/StoredForm.h"

#include "platform/base/CString.h"
#include "platform/base/Cp932.h"

#include <cstring>

namespace StoredForm {

void SerializeLogFont(CArchive& ar, LOGFONT& lf)
{
    if (ar.IsStoring()) {
        ar << lf.lfHeight << lf.lfWidth << lf.lfEscapement << lf.lfOrientation << lf.lfWeight;
        ar << lf.lfItalic << lf.lfUnderline << lf.lfStrikeOut << lf.lfCharSet << lf.lfOutPrecision
           << lf.lfClipPrecision << lf.lfQuality << lf.lfPitchAndFamily;
        ar << CString(std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
        return;
    }
    ar >> lf.lfHeight >> lf.lfWidth >> lf.lfEscapement >> lf.lfOrientation >> lf.lfWeight;
    ar >> lf.lfItalic >> lf.lfUnderline >> lf.lfStrikeOut >> lf.lfCharSet >> lf.lfOutPrecision >>
        lf.lfClipPrecision >> lf.lfQuality >> lf.lfPitchAndFamily;
    CString face;
    ar >> face;
    // At most 31 bytes, cut before a double-byte character that would not fit whole.
    size_t nLength = 0;
    const std::string& bytes = face.str();
    while (nLength < bytes.size()) {
        const size_t nChar =
            IsCp932LeadByte(static_cast<BYTE>(bytes[nLength])) && nLength + 1 < bytes.size() ? 2 : 1;
        if (nLength + nChar > LF_FACESIZE - 1)
            break;
        nLength += nChar;
    }
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    std::memcpy(lf.lfFaceName, bytes.data(), nLength);
}

} // namespace StoredForm
