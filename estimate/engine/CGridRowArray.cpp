#include "estimate/engine/CGridRowArray.h"

#include "estimate/engine/CGridRow.h"

#include <algorithm>

CGridRowArray::~CGridRowArray()
{
    DeletePrintCopy();
}

void CGridRowArray::MakePrintCopy()
{
    DeletePrintCopy();
    ++m_nPrintCopyChanges;
    const CPtrArray& working = GetWorkingArray();
    const INT_PTR nSize = working.GetSize();
    m_printCopy.SetSize(nSize);
    for (INT_PTR i = 0; i < nSize; ++i) {
        const CGridRow* pRow = static_cast<const CGridRow*>(working.GetAt(i));
        if (pRow != nullptr)
            m_printCopy.SetAt(i, new CGridRow(*pRow));
    }
    m_bPrintCopyMade = true;
}

void CGridRowArray::DeletePrintCopy()
{
    const INT_PTR nSize = m_printCopy.GetSize();
    for (INT_PTR i = 0; i < nSize; ++i)
        delete static_cast<CGridRow*>(m_printCopy.GetAt(i));
    m_printCopy.RemoveAll();
    m_bPrintCopyMade = false;
    ++m_nPrintCopyChanges;
}

void CGridRowArray::CountChanges()
{
    if (m_pChanges != nullptr)
        return;
    m_pChanges = CRowChangeCount::Make();
    Take(0, static_cast<const CPtrArray&>(*this).GetSize());
}

unsigned long long CGridRowArray::GetChangeCount() const
{
    return m_pChanges != nullptr ? m_pChanges->Get() : 0;
}

unsigned long long CGridRowArray::GetKindChangeCount() const
{
    return m_pChanges != nullptr ? m_pChanges->GetKindChanges() : 0;
}

bool CGridRowArray::CountsChangesOf(const CGridRow& row) const
{
    return m_pChanges != nullptr && &row.GetChangeCount() == m_pChanges;
}

void CGridRowArray::NoteChange() const
{
    if (m_bServePrintCopy)
        ++m_nPrintCopyChanges;
    else if (m_pChanges != nullptr)
        m_pChanges->NoteKindChange();
}

void CGridRowArray::Take(INT_PTR nIndex, INT_PTR nCount)
{
    if (m_bServePrintCopy)
        ++m_nPrintCopyChanges;
    if (m_pChanges == nullptr || m_bServePrintCopy)
        return;
    m_pChanges->NoteKindChange();
    const CPtrArray& working = *this;
    const INT_PTR nEnd = std::min(nIndex + nCount, working.GetSize());
    for (INT_PTR i = std::max<INT_PTR>(nIndex, 0); i < nEnd; ++i) {
        if (auto* pRow = static_cast<CGridRow*>(working.GetAt(i)))
            pRow->CountChangesIn(*m_pChanges);
    }
}

CPtrArray& CGridRowArray::GetWorkingArray()
{
    NoteChange();
    return *this;
}

void CGridRowArray::DeleteWorkingRows()
{
    CPtrArray& working = *this;
    for (INT_PTR i = 0; i < working.GetSize(); ++i)
        delete static_cast<CGridRow*>(working.GetAt(i));
    working.RemoveAll();
    NoteChange();
}

void CGridRowArray::DeletePrintCopyRow(INT_PTR nRow)
{
    if (nRow < 0 || nRow >= m_printCopy.GetSize())
        return;
    delete static_cast<CGridRow*>(m_printCopy.GetAt(nRow));
    RemoveAt(nRow);
}
