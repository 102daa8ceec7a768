#include "engine/estimate/CGridRowArray.h"

#include "engine/estimate/CGridRow.h"

#include <algorithm>

CGridRowArray::CGridRowArray() = default;
CGridRowArray::~CGridRowArray() = default;

void CGridRowArray::Reserve(INT_PTR nCount)
{
    if (nCount > 0)
        m_rows.reserve(static_cast<size_t>(nCount));
}

void CGridRowArray::SetAt(INT_PTR nIndex, CRowPtr pRow)
{
    if (!InRange(nIndex))
        return;
    m_rows[static_cast<size_t>(nIndex)] = std::move(pRow);
    Take(nIndex, 1);
}

void CGridRowArray::SetAtGrow(INT_PTR nIndex, CRowPtr pRow)
{
    if (nIndex < 0)
        return;
    if (static_cast<size_t>(nIndex) >= m_rows.size())
        m_rows.resize(static_cast<size_t>(nIndex) + 1);
    SetAt(nIndex, std::move(pRow));
}

INT_PTR CGridRowArray::Add(CRowPtr pRow)
{
    m_rows.push_back(std::move(pRow));
    Take(GetUpperBound(), 1);
    return GetUpperBound();
}

void CGridRowArray::InsertAt(INT_PTR nIndex, CRowPtr pRow)
{
    InsertEmptyAt(nIndex, 1);
    SetAt(nIndex, std::move(pRow));
}

void CGridRowArray::InsertEmptyAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0)
        return;
    if (static_cast<size_t>(nIndex) > m_rows.size())
        m_rows.resize(static_cast<size_t>(nIndex));
    // Inserted as a block: the rows below move once.
    std::vector<CRowPtr> empty(static_cast<size_t>(nCount));
    m_rows.insert(m_rows.begin() + nIndex, std::make_move_iterator(empty.begin()),
                  std::make_move_iterator(empty.end()));
    NoteChange();
}

void CGridRowArray::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0 || !InRange(nIndex))
        return;
    const auto first = m_rows.begin() + nIndex;
    m_rows.erase(first, first + std::min<INT_PTR>(nCount, GetSize() - nIndex));
    NoteChange();
}

void CGridRowArray::RemoveAll()
{
    m_rows.clear();
    NoteChange();
}

CGridRowArray::CRowPtr CGridRowArray::Release(INT_PTR nIndex)
{
    if (!InRange(nIndex))
        return nullptr;
    NoteChange();
    return std::move(m_rows[static_cast<size_t>(nIndex)]);
}

void CGridRowArray::Reorder(INT_PTR nFirst, const std::vector<CGridRow*>& rows)
{
    if (nFirst < 0 || static_cast<size_t>(nFirst) + rows.size() > m_rows.size())
        return;
    // Each row is let go of by its old entry and owned again by its new one; none is
    // deleted, since the rows are those of the entries.
    for (size_t i = 0; i < rows.size(); ++i)
        (void)m_rows[static_cast<size_t>(nFirst) + i].release();
    for (size_t i = 0; i < rows.size(); ++i)
        m_rows[static_cast<size_t>(nFirst) + i].reset(rows[i]);
    NoteChange();
}

CGridRowArray::CRowPtr& CGridRowArray::EntryForWriting(INT_PTR nIndex)
{
    NoteChange();
    if (InRange(nIndex))
        return m_rows[static_cast<size_t>(nIndex)];
    // A missing entry: a stray write lands nowhere.
    static thread_local CRowPtr s_scratch;
    s_scratch.reset();
    return s_scratch;
}

void CGridRowArray::CountChanges()
{
    if (m_pChanges != nullptr)
        return;
    m_pChanges = CRowChangeCount::Make();
    Take(0, GetSize());
}

unsigned long long CGridRowArray::GetChangeCount() const
{
    return m_pChanges != nullptr ? m_pChanges->Get() : 0;
}

unsigned long long CGridRowArray::GetKindChangeCount() const
{
    return m_pChanges != nullptr ? m_pChanges->GetKindChanges() : 0;
}

unsigned long long CGridRowArray::GetHeadingChangeCount() const
{
    return m_pChanges != nullptr ? m_pChanges->GetHeadingChanges() : 0;
}

bool CGridRowArray::CountsChangesOf(const CGridRow& row) const
{
    return m_pChanges != nullptr && &row.GetChangeCount() == m_pChanges;
}

void CGridRowArray::NoteChange() const
{
    if (m_pChanges != nullptr)
        m_pChanges->NoteKindChange();
}

void CGridRowArray::Take(INT_PTR nIndex, INT_PTR nCount)
{
    if (m_pChanges == nullptr)
        return;
    m_pChanges->NoteKindChange();
    const INT_PTR nEnd = std::min(nIndex + nCount, GetSize());
    for (INT_PTR i = std::max<INT_PTR>(nIndex, 0); i < nEnd; ++i) {
        if (CGridRow* pRow = m_rows[static_cast<size_t>(i)].get())
            pRow->CountChangesIn(*m_pChanges);
    }
}
