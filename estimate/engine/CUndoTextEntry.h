// One text kept by the undo record of the estimate grid (the cells a fixed-rate change
// overwrote, and its settings).
#pragma once

#include "platform/base/CString.h"

class CUndoTextEntry {
public:
    CUndoTextEntry() = default;
    explicit CUndoTextEntry(const CString& strText) : m_strText(strText) {}

    CString m_strText;
};
