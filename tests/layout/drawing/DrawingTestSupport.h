// Storing and loading single drawing objects through an archive, as a layout's object list
// does, and the byte records the stored form is made of, written out from its description.
#pragma once

#include "layout/drawing/CDrawObj.h"
#include "layout/drawing/CDrawTable.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "tests/support/TestSupport.h"

#include <memory>
#include <string>
#include <vector>

// The archive bytes of one object (class record and fields).
inline std::vector<uint8_t> StoreObject(const CObject* pObj)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << pObj;
        ar.Close();
    }
    std::vector<BYTE> bytes = file.Detach();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The object read from bytes; every byte must be used.
template <class T>
std::unique_ptr<T> LoadObject(const std::vector<uint8_t>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CObject* pOb = ar.ReadObject(nullptr);
    auto* pTyped = dynamic_cast<T*>(pOb);
    if (pTyped == nullptr)
        delete pOb;
    ar.Close();
    return std::unique_ptr<T>(pTyped);
}

// A class record for a class first seen: 0xFFFF, schema 0, the name's length and the name.
inline ByteBuilder& ClassRecord(ByteBuilder& b, const std::string& name)
{
    return b.Word(0xFFFF).Word(0).Word(static_cast<uint16_t>(name.size())).Raw(name);
}

// The common record: position as four signed 32-bit values, line style (WORD), line colour,
// fill pattern (WORD), foreground, background, fill flag (WORD).
inline ByteBuilder& CommonRecord(ByteBuilder& b, int32_t l, int32_t t, int32_t r, int32_t bo,
                                 uint16_t lineStyle, uint32_t lineColor, uint16_t pattern, uint32_t fore,
                                 uint32_t back, uint16_t fill)
{
    return b.Dword(static_cast<uint32_t>(l))
        .Dword(static_cast<uint32_t>(t))
        .Dword(static_cast<uint32_t>(r))
        .Dword(static_cast<uint32_t>(bo))
        .Word(lineStyle)
        .Dword(lineColor)
        .Word(pattern)
        .Dword(fore)
        .Dword(back)
        .Word(fill);
}

// A font record: five LONGs, eight BYTEs, the face name.
inline ByteBuilder& FontRecord(ByteBuilder& b, int32_t height, int32_t weight, uint8_t italic,
                               uint8_t underline, uint8_t charset, uint8_t pitch, const std::string& face)
{
    b.Dword(static_cast<uint32_t>(height)).Dword(0).Dword(0).Dword(0).Dword(static_cast<uint32_t>(weight));
    b.Byte(italic).Byte(underline).Byte(0).Byte(charset).Byte(0).Byte(0).Byte(0).Byte(pitch);
    return b.Str(face);
}

// A table as the table tool makes it: left >= right, bottom >= top; columns of the given
// widths from x = 0 leftwards on paper, rows of the given heights from y = 0 up.
inline std::unique_ptr<CDrawTable> MakeTable(std::initializer_list<int> widths,
                                             std::initializer_list<int> heights)
{
    int totalW = 0, totalH = 0;
    for (int w : widths)
        totalW += w;
    for (int h : heights)
        totalH += h;
    auto pTable = std::make_unique<CDrawTable>(CRect(totalW, 0, 0, totalH));
    int y = 0;
    for (int h : heights) {
        int x = 0;
        for (int w : widths) {
            pTable->AddCell(CRect(x + w, y, x, y + h));
            x += w;
        }
        y += h;
    }
    return pTable;
}
