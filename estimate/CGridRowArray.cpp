#include "estimate/CGridRowArray.h"

#include "estimate/CGridRow.h"

CGridRowArray::~CGridRowArray()
{
    DeletePrintCopy();
}

void CGridRowArray::MakePrintCopy()
{
    DeletePrintCopy();
    const CPtrArray& working = GetWorkingArray();
    const INT_PTR nSize = working.GetSize();
    m_printCopy.SetSize(nSize);
    for (INT_PTR i = 0; i < nSize; ++i) {
        const CGridRow* pRow = static_cast<const CGridRow*>(working.GetAt(i));
        if (pRow != nullptr)
            m_printCopy.SetAt(i, new CGridRow(*pRow));
    }
}

void CGridRowArray::DeletePrintCopy()
{
    const INT_PTR nSize = m_printCopy.GetSize();
    for (INT_PTR i = 0; i < nSize; ++i)
        delete static_cast<CGridRow*>(m_printCopy.GetAt(i));
    m_printCopy.RemoveAll();
}
