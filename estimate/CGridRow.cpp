#include "estimate/CGridRow.h"

#include "estimate/CNumberRules.h"
#include "estimate/CRowPool.h"
#include "estimate/RowKinds.h"

#include <cstdint>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define MORVEL_ROWS_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVEL_ROWS_FROM_HEAP 1
#endif
#endif

namespace {

// memcmp(a, b, n) == 0 for the short texts of the number cache (n up to CACHED_TEXT),
// in a few word compares instead of a call. Both texts hold at least n bytes.
bool SameText(const char* a, const char* b, size_t n)
{
    auto word8 = [](const char* p) {
        uint64_t w;
        std::memcpy(&w, p, sizeof w);
        return w;
    };
    auto word4 = [](const char* p) {
        uint32_t w;
        std::memcpy(&w, p, sizeof w);
        return w;
    };
    if (n >= 8) {
        if (word8(a) != word8(b) || word8(a + n - 8) != word8(b + n - 8))
            return false;
        return n <= 16 || word8(a + 8) == word8(b + 8);
    }
    if (n >= 4)
        return word4(a) == word4(b) && word4(a + n - 4) == word4(b + n - 4);
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

#ifndef MORVEL_ROWS_FROM_HEAP
// The one pool of grid rows in the process. It is never destroyed, so that rows deleted
// while the process ends still have their memory.
CRowPool& RowPool()
{
    // Blocks of 16 MB: about 4,500 rows each.
    static CRowPool& pool = *new CRowPool(sizeof(CGridRow), std::size_t{16} << 20);
    return pool;
}
#endif

} // namespace

void* CGridRow::operator new(std::size_t nSize)
{
#ifndef MORVEL_ROWS_FROM_HEAP
    if (nSize == sizeof(CGridRow))
        return RowPool().Allocate();
#endif
    return ::operator new(nSize);
}

void CGridRow::operator delete(void* p, std::size_t nSize) noexcept
{
#ifndef MORVEL_ROWS_FROM_HEAP
    if (nSize == sizeof(CGridRow)) {
        RowPool().Free(p);
        return;
    }
#endif
    // Not the sized form: compilers without sized deallocation do not declare it.
    static_cast<void>(nSize);
    ::operator delete(p);
}

static_assert(int{CGridRow::CACHED_TEXT} == int{CRememberedNumber::TEXT_LIMIT}, "one text limit");
static_assert(int{CGridRow::MAX_CELLS} < int{CRememberedNumber::NO_CELL}, "cells fit the entry");

bool CRememberedNumber::Matches(int nForCell, const std::string& strText) const
{
    return nCell == nForCell && nLength == strText.size() && SameText(text, strText.data(), strText.size());
}

CGridRow::CGridRow() : m_nKind(kindEmpty), m_nIndent{}, m_nParam1(0), m_nParam2(0), m_nParam3(0)
{
}

CGridRow::~CGridRow() = default;

CGridRow::CGridRow(const CGridRow& other) : CGridRow()
{
    *this = other;
}

CGridRow& CGridRow::operator=(const CGridRow& other)
{
    if (this == &other)
        return *this;
    NoteChange();
    m_nKind = other.m_nKind;
    for (int i = 0; i < MAX_CELLS; ++i) {
        m_strCell[i] = other.m_strCell[i];
        m_nIndent[i] = other.m_nIndent[i];
    }
    m_strParamText1 = other.m_strParamText1;
    m_nParam1 = other.m_nParam1;
    m_strParamText2 = other.m_strParamText2;
    m_nParam2 = other.m_nParam2;
    m_nParam3 = other.m_nParam3;
    return *this;
}

double CGridRow::ReadNumber(int nCell) const
{
    if (nCell < 0 || nCell >= MAX_CELLS)
        return 0.0;
    const std::string& text = m_strCell[nCell].str();
    if (text.size() > CACHED_TEXT)
        return CNumberRules::ReadNumber(text.data(), text.data() + text.size());
    CRememberedNumber& entry = m_numbers[nCell % CACHED_CELLS];
    if (entry.Matches(nCell, text))
        return entry.value;
    const double value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
    entry.Set(nCell, text, value);
    return value;
}

void CGridRow::RememberNumber(int nCell, double value) const
{
    if (nCell < 0 || nCell >= MAX_CELLS)
        return;
    const std::string& text = m_strCell[nCell].str();
    if (text.size() > CACHED_TEXT)
        return;
    m_numbers[nCell % CACHED_CELLS].Set(nCell, text, value);
}
