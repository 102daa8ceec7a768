#include "layout/drawing/DibPicture.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t Dword(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Word(const BYTE* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

constexpr size_t INFO_HEADER_SIZE = 40;

// The layout of a DIB once its header is checked.
struct CDibLayout {
    int nWidth = 0;
    int nHeight = 0; // rows, always positive
    bool bTopDown = false;
    int nBits = 0;
    size_t nColours = 0;
    size_t nTableOffset = 0;
    size_t nStride = 0;
    size_t nBitsSize = 0; // nStride * nHeight
};

bool ReadLayout(const BYTE* pData, size_t nSize, CDibLayout& layout)
{
    if (pData == nullptr || nSize < INFO_HEADER_SIZE)
        return false;
    const uint32_t nHeaderSize = Dword(pData);
    if (nHeaderSize < INFO_HEADER_SIZE || nHeaderSize > nSize)
        return false;
    const int32_t nWidth = static_cast<int32_t>(Dword(pData + 4));
    const int32_t nHeight = static_cast<int32_t>(Dword(pData + 8));
    const uint16_t nPlanes = Word(pData + 12);
    const uint16_t nBits = Word(pData + 14);
    const uint32_t nCompression = Dword(pData + 16);
    const uint32_t nClrUsed = Dword(pData + 32);
    if (nWidth <= 0 || nHeight == 0 || nHeight == INT32_MIN || nPlanes != 1 || nCompression != 0)
        return false;
    if (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24 && nBits != 32)
        return false;
    const int64_t nRows = nHeight < 0 ? -static_cast<int64_t>(nHeight) : nHeight;
    if (static_cast<int64_t>(nWidth) * nRows > DIB_MAX_PIXELS)
        return false;
    layout.nWidth = nWidth;
    layout.nHeight = static_cast<int>(nRows);
    layout.bTopDown = nHeight < 0;
    layout.nBits = nBits;
    if (nBits <= 8) {
        const size_t nMax = size_t(1) << nBits;
        if (nClrUsed > nMax)
            return false;
        layout.nColours = nClrUsed == 0 ? nMax : nClrUsed;
    } else {
        // A colour table beside true colours is only a hint for palettes: skipped.
        if (nClrUsed > 256)
            return false;
        layout.nColours = nClrUsed;
    }
    layout.nTableOffset = nHeaderSize;
    layout.nStride = ((static_cast<size_t>(nWidth) * nBits + 31) / 32) * 4;
    layout.nBitsSize = layout.nStride * static_cast<size_t>(nRows);
    return true;
}

} // namespace

bool DecodeDib(const BYTE* pData, size_t nSize, CDibPixels& pixels)
{
    CDibLayout layout;
    if (!ReadLayout(pData, nSize, layout))
        return false;
    const size_t nBitsOffset = layout.nTableOffset + layout.nColours * 4;
    if (nBitsOffset > nSize || layout.nBitsSize > nSize - nBitsOffset)
        return false;
    const BYTE* pTable = pData + layout.nTableOffset;
    const BYTE* pBits = pData + nBitsOffset;
    pixels.nWidth = layout.nWidth;
    pixels.nHeight = layout.nHeight;
    pixels.bgrx.assign(static_cast<size_t>(layout.nWidth) * static_cast<size_t>(layout.nHeight) * 4, 0);
    for (int y = 0; y < layout.nHeight; ++y) {
        const int nSourceRow = layout.bTopDown ? y : layout.nHeight - 1 - y;
        const BYTE* pRow = pBits + static_cast<size_t>(nSourceRow) * layout.nStride;
        BYTE* pOut = pixels.bgrx.data() + static_cast<size_t>(y) * static_cast<size_t>(layout.nWidth) * 4;
        for (int x = 0; x < layout.nWidth; ++x, pOut += 4) {
            if (layout.nBits >= 24) {
                const BYTE* p = pRow + static_cast<size_t>(x) * (layout.nBits / 8);
                pOut[0] = p[0];
                pOut[1] = p[1];
                pOut[2] = p[2];
                continue;
            }
            const size_t nBit = static_cast<size_t>(x) * static_cast<size_t>(layout.nBits);
            const BYTE b = pRow[nBit / 8];
            const int nShift = 8 - layout.nBits - static_cast<int>(nBit % 8);
            const size_t nIndex = static_cast<size_t>((b >> nShift) & ((1 << layout.nBits) - 1));
            // An index past a short colour table paints black.
            if (nIndex < layout.nColours)
                std::memcpy(pOut, pTable + nIndex * 4, 3);
        }
    }
    return true;
}

bool DibFromBmpFile(const std::vector<BYTE>& file, std::vector<BYTE>& dib)
{
    constexpr size_t FILE_HEADER_SIZE = 14;
    if (file.size() < FILE_HEADER_SIZE + INFO_HEADER_SIZE || file[0] != 'B' || file[1] != 'M')
        return false;
    const size_t nBitsAt = Dword(file.data() + 10);
    CDibLayout layout;
    if (!ReadLayout(file.data() + FILE_HEADER_SIZE, file.size() - FILE_HEADER_SIZE, layout))
        return false;
    // Header and colour table follow the file header; the bits lie where the file header
    // says, which may leave a gap.
    const size_t nHeadSize = layout.nTableOffset + layout.nColours * 4;
    if (nHeadSize > file.size() - FILE_HEADER_SIZE || nBitsAt < FILE_HEADER_SIZE + nHeadSize ||
        nBitsAt > file.size() || layout.nBitsSize > file.size() - nBitsAt)
        return false;
    std::vector<BYTE> packed(file.begin() + FILE_HEADER_SIZE,
                             file.begin() + static_cast<std::ptrdiff_t>(FILE_HEADER_SIZE + nHeadSize));
    packed.insert(packed.end(), file.begin() + static_cast<std::ptrdiff_t>(nBitsAt),
                  file.begin() + static_cast<std::ptrdiff_t>(nBitsAt + layout.nBitsSize));
    CDibPixels check;
    if (!DecodeDib(packed.data(), packed.size(), check))
        return false;
    dib.swap(packed);
    return true;
}

SIZE DibExtentHimetric(const BYTE* pData, size_t nSize)
{
    SIZE size{0, 0};
    CDibLayout layout;
    if (!ReadLayout(pData, nSize, layout))
        return size;
    const auto himetric = [](int64_t nPixels, int32_t nPerMetre) {
        // 0.01 mm per pixel: 100000 / pixels per metre; 96 dpi when the header gives none
        // or an absurd resolution.
        const int64_t v =
            nPerMetre >= 100 && nPerMetre <= 1000000 ? nPixels * 100000 / nPerMetre : nPixels * 2540 / 96;
        return static_cast<LONG>(std::clamp<int64_t>(v, 1, 0x7FFFFFFF));
    };
    size.cx = himetric(layout.nWidth, static_cast<int32_t>(Dword(pData + 24)));
    size.cy = himetric(layout.nHeight, static_cast<int32_t>(Dword(pData + 28)));
    return size;
}
