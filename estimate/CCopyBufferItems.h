// The entries of the application's estimate copy buffers. The row copy buffer holds one
// CRowBufferItem per copied row (a deep copy it owns); the cell copy buffer and the undo
// cell buffer hold the block's two corner cells first, then one CCellBufferItem per copied
// cell, row by row, each with its offset from the first corner and its text.
#pragma once

#include "estimate/engine/CGridRow.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <memory>

class CRowBufferItem : public CObject {
public:
    CRowBufferItem() : m_pRow(std::make_unique<CGridRow>()) {}
    CGridRow* Row() const { return m_pRow.get(); }

private:
    std::unique_ptr<CGridRow> m_pRow;
};

class CCellBufferItem : public CObject {
public:
    CCellBufferItem(CPoint pt, const CString& strText) : m_pt(pt), m_strText(strText) {}
    CPoint m_pt;       // a corner (absolute) or an offset from the first corner
    CString m_strText; // empty for the corners
};
