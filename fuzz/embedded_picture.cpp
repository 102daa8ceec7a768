// Pictures of embedded objects: the device-independent bitmap cached in an embedded item's
// storage (read whenever a layout is drawn or printed) and the ".BMP" file a new embedded
// picture is made from. The first byte chooses which reader gets the rest. What a user
// relies on:
// - a bitmap that decodes gives exactly width x height pixels, within the size limit;
// - a ".BMP" file that is taken gives a bitmap that decodes to the same picture as the file
//   and whose extent is positive; a new item made of it gives that bitmap back byte for byte
//   as its cached picture.
#include "layout/drawing/DibPicture.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

#define PICTURE_CHECK(cond)                                                                                  \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond);                \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

void CheckPixels(const CDibPixels& pixels)
{
    PICTURE_CHECK(pixels.nWidth > 0 && pixels.nHeight > 0);
    PICTURE_CHECK(static_cast<int64_t>(pixels.nWidth) * pixels.nHeight <= DIB_MAX_PIXELS);
    PICTURE_CHECK(pixels.bgrx.size() ==
                  static_cast<size_t>(pixels.nWidth) * static_cast<size_t>(pixels.nHeight) * 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool bFile = (data[0] & 1) != 0;
    const std::vector<BYTE> bytes(data + 1, data + size);
    if (!bFile) {
        CDibPixels pixels;
        if (DecodeDib(bytes.data(), bytes.size(), pixels))
            CheckPixels(pixels);
        return 0;
    }
    std::vector<BYTE> dib = {1, 2, 3};
    const std::vector<BYTE> before = dib;
    if (!DibFromBmpFile(bytes, dib)) {
        PICTURE_CHECK(dib == before);
        return 0;
    }
    CDibPixels pixels;
    PICTURE_CHECK(DecodeDib(dib.data(), dib.size(), pixels));
    CheckPixels(pixels);
    const SIZE extent = DibExtentHimetric(dib.data(), dib.size());
    PICTURE_CHECK(extent.cx > 0 && extent.cy > 0);
    const CCompoundStorage storage = MakePictureItemStorage(dib, extent);
    const std::vector<BYTE>* pContents = storage.FindStream("CONTENTS");
    PICTURE_CHECK(pContents != nullptr && *pContents == dib);
    return 0;
}
