// The estimate's copy buffers: the rows and the blocks of cells the grid's copy and cut put
// aside for its paste. The application owns one, which every estimate window of the process
// shares, so rows copied in one estimate paste into another; the model's clipboard commands
// are handed it (CEstimateModel::CopyRows, PasteCells, ...).
#pragma once

#include "engine/estimate/CGridRow.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <memory>
#include <vector>

// One entry of a cell buffer. A buffer holds the block's two corner cells first (absolute,
// with empty texts), then one entry per copied cell, row by row, each with its offset from
// the first corner and its text.
struct CBufferCell {
    CPoint pt;       // a corner (absolute) or an offset from the first corner
    CString strText; // empty for the corners
};

class CEstimateCopyBuffers {
public:
    using CRows = std::vector<std::unique_ptr<CGridRow>>;
    using CCells = std::vector<CBufferCell>;

    // The row copy buffer: a deep copy of each copied row.
    CRows& Rows() { return m_rows; }
    const CRows& Rows() const { return m_rows; }
    // The cell copy buffer: the cells of the block copied or cut.
    CCells& Cells() { return m_cells; }
    const CCells& Cells() const { return m_cells; }
    // The undo cell buffer: the cells the last paste overwrote, as they were.
    CCells& UndoCells() { return m_undoCells; }
    const CCells& UndoCells() const { return m_undoCells; }
    // Whether a paste finds anything (a copy of rows fills the cell buffer as well).
    bool IsFilled() const { return m_rows.size() >= 2 || m_cells.size() >= 2; }

private:
    CRows m_rows;
    CCells m_cells;
    CCells m_undoCells;
};
