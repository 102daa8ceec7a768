#include "platform/ole/PictureItemStorage.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

void PutDword(std::vector<BYTE>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<BYTE>(v >> (8 * i)));
}

int32_t Int32At(const std::vector<BYTE>& b, size_t n)
{
    return static_cast<int32_t>(static_cast<uint32_t>(b[n]) | static_cast<uint32_t>(b[n + 1]) << 8 |
                                static_cast<uint32_t>(b[n + 2]) << 16 |
                                static_cast<uint32_t>(b[n + 3]) << 24);
}

} // namespace

SIZE DibHeaderExtentHimetric(const std::vector<BYTE>& dib)
{
    if (dib.size() < 40)
        return SIZE{0, 0};
    const int64_t w = Int32At(dib, 4);
    const int64_t h = std::llabs(static_cast<long long>(Int32At(dib, 8)));
    if (w <= 0 || h <= 0)
        return SIZE{0, 0};
    const auto himetric = [](int64_t nPixels, int32_t nPerMetre) {
        const int64_t v =
            nPerMetre >= 100 && nPerMetre <= 1000000 ? nPixels * 100000 / nPerMetre : nPixels * 2540 / 96;
        return static_cast<LONG>(std::clamp<int64_t>(v, 1, 0x7FFFFFFF));
    };
    return SIZE{himetric(w, Int32At(dib, 24)), himetric(h, Int32At(dib, 28))};
}

CCompoundStorage MakePictureItemStorage(const std::vector<BYTE>& dib, SIZE extentHimetric)
{
    CCompoundStorage storage;
    // "\1CompObj": version, byte order and format words, the class id (none), the type
    // name with its terminating zero, no clipboard format, no program id, the marker of
    // the absent Unicode part.
    const std::string typeName = "Picture";
    std::vector<BYTE> compObj;
    PutDword(compObj, 0xFFFE0001);
    PutDword(compObj, 0x00000A03);
    PutDword(compObj, 0xFFFFFFFF);
    for (int i = 0; i < 4; ++i)
        PutDword(compObj, 0);
    PutDword(compObj, static_cast<uint32_t>(typeName.size() + 1));
    compObj.insert(compObj.end(), typeName.begin(), typeName.end());
    compObj.push_back(0);
    PutDword(compObj, 0);
    PutDword(compObj, 0);
    PutDword(compObj, 0x71B239F4);
    storage.SetStream("\x01"
                      "CompObj",
                      compObj);
    // "\1Ole": version, flags 0 (embedded, not a link), update option, reserved, no monikers.
    std::vector<BYTE> ole;
    PutDword(ole, 0x02000001);
    for (int i = 0; i < 4; ++i)
        PutDword(ole, 0);
    storage.SetStream("\x01Ole", ole);
    // "\2OlePres000": clipboard format 8 (a DIB), no target device, content aspect, index
    // -1, advise flags 2, reserved, the extent, the size of the data and the DIB.
    std::vector<BYTE> pres;
    for (uint32_t v : {0xFFFFFFFFu, 8u, 4u, 1u, 0xFFFFFFFFu, 2u, 0u})
        PutDword(pres, v);
    PutDword(pres, static_cast<uint32_t>(extentHimetric.cx));
    PutDword(pres, static_cast<uint32_t>(extentHimetric.cy));
    PutDword(pres, static_cast<uint32_t>(dib.size()));
    pres.insert(pres.end(), dib.begin(), dib.end());
    storage.SetStream("\x02OlePres000", pres);
    storage.SetStream("CONTENTS", dib);
    return storage;
}
