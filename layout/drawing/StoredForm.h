// Helpers for the stored form of drawing objects: the 16-bit fields (written as the low 16
// bits, read back zero-extended or sign-extended) and the font record that texts and table
// cells share.
#pragma once

#include "platform/base/CArchive.h"
#include "platform/base/Types.h"

namespace StoredForm {

// The low 16 bits of an int.
inline void StoreWord(CArchive& ar, int nValue)
{
    ar << static_cast<WORD>(static_cast<unsigned int>(nValue) & 0xFFFFu);
}
// A word widened without sign.
inline int LoadWord(CArchive& ar)
{
    WORD w = 0;
    ar >> w;
    return static_cast<int>(w);
}
// A word widened with its sign.
inline int LoadSignedWord(CArchive& ar)
{
    WORD w = 0;
    ar >> w;
    return static_cast<int>(static_cast<short>(w));
}

// Five LONGs (height, width, escapement, orientation, weight), eight BYTEs (italic,
// underline, strike-out, character set, output precision, clip precision, quality, pitch
// and family), then the face name as a string. A loaded face name is cut to 31 bytes
// (never inside a double-byte character) and always ends with a zero.
void SerializeLogFont(CArchive& ar, LOGFONT& lf);

} // namespace StoredForm
