// Device-independent bitmaps as embedded pictures keep them (the cached presentation of an
// embedded item) and as ".BMP" files hold them: decoded into rows of 32-bit pixels for
// drawing, and made into the storage of a new embedded picture.
//
// Accepted: a 40-byte (or larger) info header, 1, 4, 8, 24 or 32 bits per pixel without
// compression, a colour table where the depth needs one, rows bottom-up or top-down. The
// bytes come from files, so every size is checked against what is there; anything else is
// refused whole.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ole/CCompoundFile.h"
#include "platform/ole/PictureItemStorage.h"

#include <cstdint>
#include <vector>

struct CDibPixels {
    int nWidth = 0;
    int nHeight = 0;
    // Top row first; per pixel blue, green, red and 0, as CBitmap::CreateBitmap takes 32-bit
    // rows.
    std::vector<BYTE> bgrx;
};

// The largest picture decoded: beyond it the picture is not drawn (a framed box is).
constexpr int64_t DIB_MAX_PIXELS = int64_t(1) << 24;

// A DIB (info header, colour table, bits) decoded; FALSE for anything not accepted.
bool DecodeDib(const BYTE* pData, size_t nSize, CDibPixels& pixels);
// The DIB inside a ".BMP" file (after its 14-byte file header), checked by DecodeDib.
bool DibFromBmpFile(const std::vector<BYTE>& file, std::vector<BYTE>& dib);

// The extent of a picture in HIMETRIC from its pixels and the resolution its header gives
// (pixels per metre; 96 dpi when it gives none).
SIZE DibExtentHimetric(const BYTE* pData, size_t nSize);
