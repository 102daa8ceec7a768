#include "estimate/CGridRow.h"
#include "estimate/RowKinds.h"

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
