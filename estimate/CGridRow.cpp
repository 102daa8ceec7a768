#include "estimate/CGridRow.h"

#include "estimate/CNumberRules.h"
#include "estimate/RowKinds.h"

#include <cstring>

CGridRow::CGridRow() : m_nKind(kindEmpty), m_nIndent{}, m_nParam1(0), m_nParam2(0), m_nParam3(0) {}

CGridRow::~CGridRow() = default;

CGridRow::CGridRow(const CGridRow& other) : CGridRow()
{
    *this = other;
}

CGridRow& CGridRow::operator=(const CGridRow& other)
{
    if (this == &other)
        return *this;
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
    if (m_pNumbers == nullptr) {
        m_pNumbers = std::make_unique<CNumberCache>();
        for (CCachedNumber& entry : m_pNumbers->entries)
            entry.nCell = MAX_CELLS;
    }
    CCachedNumber* pEntry = nullptr;
    for (CCachedNumber& entry : m_pNumbers->entries) {
        if (entry.nCell == nCell) {
            if (entry.nLength == text.size() && std::memcmp(entry.text, text.data(), text.size()) == 0)
                return entry.value;
            pEntry = &entry;
            break;
        }
        if (entry.nCell == MAX_CELLS && pEntry == nullptr)
            pEntry = &entry;
    }
    if (pEntry == nullptr)
        pEntry = &m_pNumbers->entries[nCell % CACHED_CELLS]; // all taken: one is replaced
    pEntry->value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
    pEntry->nCell = static_cast<unsigned char>(nCell);
    pEntry->nLength = static_cast<unsigned char>(text.size());
    std::memcpy(pEntry->text, text.data(), text.size());
    return pEntry->value;
}
