#include "engine/estimate/CGridRow.h"

#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/CRowPool.h"
#include "engine/estimate/RowKinds.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <utility>

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

// The number of a cell whose text has not been read since it was set: a NaN that no
// reading of a text gives (ReadNumber never makes one with this payload; were one ever made,
// the cell would simply be read again each time).
constexpr uint64_t kNotReadBits = 0x7ff4'c0de'0000'0001ULL;

double NotRead()
{
    double value;
    std::memcpy(&value, &kNotReadBits, sizeof value);
    return value;
}

bool IsNotRead(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits == kNotReadBits;
}

#ifndef MORVEL_ROWS_FROM_HEAP
// The one pool of grid rows in the process. It is never destroyed, so that rows deleted
// while the process ends still have their memory.
CRowPool& RowPool()
{
    // Blocks of 2 MB: about 32,000 rows each.
    static CRowPool& pool = *new CRowPool(sizeof(CGridRow), std::size_t{2} << 20);
    return pool;
}

// The pool of cell arrays of nCells cells, one per count, each made at its first use and
// never destroyed. An estimate's cells are most of its memory: they come from pools for the
// same reasons as its rows, each array exactly as long as its cells.
CRowPool& CellPool(int nCells, std::size_t nCellSize, std::size_t nCellAlignment)
{
    constexpr int nPools = CGridRow::MAX_CELLS;
    static CRowPool* pools[nPools] = {};
    static std::once_flag made[nPools];
    const int nAt = nCells - 1;
    std::call_once(made[nAt], [&]() {
        pools[nAt] =
            new CRowPool(static_cast<std::size_t>(nCells) * nCellSize, std::size_t{2} << 20, nCellAlignment);
    });
    return *pools[nAt];
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
static_assert(int{CGridRow::MAX_CELLS} <= 255, "cell counts fit a byte");

bool CRememberedNumber::Matches(int nForCell, const std::string& strText) const
{
    return nCell == nForCell && nLength == strText.size() && SameText(text, strText.data(), strText.size());
}

CRowChangeCount* CRowChangeCount::Make()
{
    // Never destroyed, and never moved: rows keep pointers to their counts.
    static std::deque<CRowChangeCount>& counts = *new std::deque<CRowChangeCount>;
    return &counts.emplace_back();
}

CRowChangeCount& CRowChangeCount::Loose()
{
    static CRowChangeCount& loose = *Make();
    return loose;
}

CGridRow::CGridRow()
    : m_nKind(kindEmpty), m_nParam1(0), m_nParam2(0), m_nParam3(0), m_pChanges(&CRowChangeCount::Loose())
{
}

CGridRow::~CGridRow()
{
    FreeCells();
}

void CGridRowIndents::Resize(int nIndents)
{
    if (nIndents == m_nIndents)
        return;
    const int nKept = std::min<int>(nIndents, m_nIndents);
    int* pOld = m_nIndents > IN_ROW ? m_pIndents : nullptr;
    if (nIndents > IN_ROW) {
        int* pNew = new int[static_cast<size_t>(nIndents)]{};
        std::copy_n(Data(), nKept, pNew);
        m_pIndents = pNew;
    } else {
        int inRow[IN_ROW] = {};
        std::copy_n(Data(), nKept, inRow);
        std::copy_n(inRow, int{IN_ROW}, m_inRow);
    }
    delete[] pOld;
    m_nIndents = static_cast<unsigned char>(nIndents);
}

CGridRow::CGridRow(const CGridRow& other) : CGridRow()
{
    *this = other;
}

CGridRow& CGridRow::operator=(const CGridRow& other)
{
    if (this == &other)
        return *this;
    m_pChanges->NoteKindChange();
    m_nKind = other.m_nKind;
    // The copy holds the cells up to the other row's last text, the indents up to its last
    // indent: no more memory than the texts need.
    int nCells = other.m_strCell.m_nCells;
    while (nCells > 0 && other.m_strCell.m_pCells[nCells - 1].text.IsEmpty())
        --nCells;
    if (nCells > m_strCell.m_nCells)
        GrowCells(nCells, nullptr, true);
    for (int c = 0; c < m_strCell.m_nCells; ++c) {
        CGridRowCells::CCell& cell = m_strCell.m_pCells[c];
        if (c < nCells) {
            cell.text = other.m_strCell.m_pCells[c].text;
            cell.number = other.m_strCell.m_pCells[c].number;
        } else {
            cell.text.Empty();
            cell.number = NotRead();
        }
    }
    int nIndents = other.m_nIndent.m_nIndents;
    while (nIndents > 0 && other.m_nIndent[nIndents - 1] == 0)
        --nIndents;
    if (nIndents > m_nIndent.m_nIndents)
        m_nIndent.Resize(nIndents);
    int* pIndents = m_nIndent.Data();
    for (int c = 0; c < m_nIndent.m_nIndents; ++c)
        pIndents[c] = other.m_nIndent[c];
    if (other.m_pParamTexts == nullptr)
        m_pParamTexts.reset();
    else if (m_pParamTexts == nullptr)
        m_pParamTexts = std::make_unique<CParamTexts>(*other.m_pParamTexts);
    else
        *m_pParamTexts = *other.m_pParamTexts;
    m_nParam1 = other.m_nParam1;
    m_nParam2 = other.m_nParam2;
    m_nParam3 = other.m_nParam3;
    return *this;
}

CGridRowCells::CCell* CGridRow::AllocateCells(int nCells)
{
#ifndef MORVEL_ROWS_FROM_HEAP
    return static_cast<CGridRowCells::CCell*>(
        CellPool(nCells, sizeof(CGridRowCells::CCell), alignof(CGridRowCells::CCell)).Allocate());
#else
    return static_cast<CGridRowCells::CCell*>(
        ::operator new(static_cast<size_t>(nCells) * sizeof(CGridRowCells::CCell)));
#endif
}

void CGridRow::FreeCellMemory(CGridRowCells::CCell* pCells, int nCells) noexcept
{
#ifndef MORVEL_ROWS_FROM_HEAP
    CellPool(nCells, sizeof(CGridRowCells::CCell), alignof(CGridRowCells::CCell)).Free(pCells);
#else
    static_cast<void>(nCells);
    ::operator delete(pCells);
#endif
}

void CGridRow::GrowCells(int nCells, CString* pTexts, bool bExactly)
{
    // Room for a few cells more: a row typed from left to right grows once every four
    // cells, not once per cell, and holds at most three cells it does not use. A row read
    // whole holds its cells and no more.
    const int nOld = m_strCell.m_nCells;
    const int nNew =
        std::min(bExactly ? nCells : std::max(nCells, nOld + CELLS_STEP), static_cast<int>(MAX_CELLS));
    CGridRowCells::CCell* pNew = AllocateCells(nNew);
    for (int c = 0; c < nOld; ++c) {
        CGridRowCells::CCell& old = m_strCell.m_pCells[c];
        ::new (&pNew[c]) CGridRowCells::CCell{std::move(old.text), old.number};
    }
    for (int c = nOld; c < nNew; ++c)
        ::new (&pNew[c]) CGridRowCells::CCell{
            pTexts != nullptr && c < nCells ? std::move(pTexts[c]) : CString(), NotRead()};
    FreeCells();
    m_strCell.m_pCells = pNew;
    m_strCell.m_nCells = static_cast<unsigned char>(nNew);
}

void CGridRow::FreeCells()
{
    for (int c = 0; c < m_strCell.m_nCells; ++c)
        m_strCell.m_pCells[c].~CCell();
    if (m_strCell.m_pCells != nullptr)
        FreeCellMemory(m_strCell.m_pCells, m_strCell.m_nCells);
    m_strCell.m_pCells = nullptr;
    m_strCell.m_nCells = 0;
}

CGridRowCells::CCell* CGridRow::CellToWrite(int nCol, bool bEmptyText)
{
    NoteChange();
    if (static_cast<unsigned>(nCol) >= MAX_CELLS)
        return nullptr;
    if (nCol >= m_strCell.m_nCells) {
        if (bEmptyText)
            return nullptr; // an unheld cell reads as empty already
        GrowCells(nCol + 1);
    }
    CGridRowCells::CCell& cell = m_strCell.m_pCells[nCol];
    cell.number = NotRead();
    return &cell;
}

void CGridRow::SetCell(int nCol, const CString& strText)
{
    if (CGridRowCells::CCell* pCell = CellToWrite(nCol, strText.IsEmpty()))
        pCell->text = strText;
}

void CGridRow::SetCell(int nCol, CString&& strText)
{
    if (CGridRowCells::CCell* pCell = CellToWrite(nCol, strText.IsEmpty()))
        pCell->text = std::move(strText);
}

void CGridRow::SetIndent(int nCol, int nIndent)
{
    NoteChange();
    if (static_cast<unsigned>(nCol) >= MAX_CELLS)
        return;
    if (nCol >= m_nIndent.m_nIndents) {
        if (nIndent == 0)
            return;
        // Indents are few: the row holds exactly the ones up to this cell.
        m_nIndent.Resize(nCol + 1);
    }
    m_nIndent.Data()[nCol] = nIndent;
}

void CGridRow::TakeCells(CString* pTexts, const int* pIndents, int nCells)
{
    EmptyCells();
    nCells = std::min(nCells, static_cast<int>(MAX_CELLS));
    int nTexts = nCells;
    while (nTexts > 0 && pTexts[nTexts - 1].IsEmpty())
        --nTexts;
    if (nTexts > 0)
        GrowCells(nTexts, pTexts, true);
    int nIndents = nCells;
    while (nIndents > 0 && pIndents[nIndents - 1] == 0)
        --nIndents;
    if (nIndents > 0) {
        m_nIndent.Resize(nIndents);
        std::copy(pIndents, pIndents + nIndents, m_nIndent.Data());
    }
}

void CGridRow::EmptyCells()
{
    NoteChange();
    FreeCells();
    m_nIndent.Resize(0);
}

double CGridRow::ReadNumber(int nCell) const
{
    if (static_cast<unsigned>(nCell) >= MAX_CELLS)
        return 0.0;
    if (nCell >= m_strCell.m_nCells)
        return 0.0;
    const CGridRowCells::CCell& cell = m_strCell.m_pCells[nCell];
    if (!IsNotRead(cell.number))
        return cell.number;
    const std::string& text = cell.text.str();
    cell.number = CNumberRules::ReadStoredNumber(text);
    return cell.number;
}

void CGridRow::RememberNumber(int nCell, double value) const
{
    if (static_cast<unsigned>(nCell) >= static_cast<unsigned>(m_strCell.m_nCells))
        return;
    const CGridRowCells::CCell& cell = m_strCell.m_pCells[nCell];
    if (cell.text.GetLength() > CACHED_TEXT)
        return;
    cell.number = value;
}
