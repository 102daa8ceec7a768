// CRowImage: rows from a first row on, kept whole (kind, parameters, every cell with the ones
// the row formulas and the totals worked out), with the used-row count. A cell command (an
// edit, a replacement, a cut or a paste of cells) keeps the rows it writes as they were
// before it; putting them back gives exactly those rows, whatever the copy buffers hold by
// then. A null entry stands for a row that had no object. Both grids keep their rows so:
// the estimate's from its row store, the parts list's from its model (the forms taking a
// row getter and a row setter).
#pragma once

#include <functional>
#include <memory>
#include <vector>

class CGridRow;
class CGridRowArray;
class IUndoTarget;

class CRowImage {
public:
    // The row nRow as the grid holds it (null: it has none).
    using RowGetter = std::function<const CGridRow*(int nRow)>;
    // Row nRow becomes a copy of the kept row (null: the row has no object again).
    using RowSetter = std::function<void(int nRow, const CGridRow* pKept)>;

    CRowImage() = default;
    CRowImage(CRowImage&&) noexcept = default;
    CRowImage& operator=(CRowImage&&) noexcept = default;
    ~CRowImage();

    // Rows nFirst..nLast of rows (within the row limit) as they are now; reading them
    // changes nothing the engine keeps.
    static CRowImage Take(const CGridRowArray& rows, int nFirst, int nLast, int nUsedRows, int nRowLimit);
    static CRowImage Take(const RowGetter& rowAt, int nFirst, int nLast, int nUsedRows, int nRowLimit);
    // Puts the rows back whole, with the used-row count. An image of no rows changes nothing.
    void PutBack(IUndoTarget& target) const;
    // The same through the grid's own setters: every row, then the used-row count.
    void PutBack(const RowSetter& putRow, const std::function<void(int nUsedRows)>& setUsedRows) const;

    // Whether the rows stand as kept, with the used-row count: a command that wrote them
    // so changed nothing. A row without an object and an empty row of no kind are alike.
    bool Matches(const CGridRowArray& rows, int nUsedRows) const;
    bool Matches(const RowGetter& rowAt, int nUsedRows) const;
    // The kept row nRow (null: the row had no object, or it is not kept).
    const CGridRow* GetRow(int nRow) const;

    bool IsEmpty() const { return m_rows.empty(); }
    int FirstRow() const { return m_nFirstRow; }
    int LastRow() const { return m_nFirstRow + static_cast<int>(m_rows.size()) - 1; }
    int UsedRows() const { return m_nUsedRows; }

private:
    int m_nFirstRow = 0;
    int m_nUsedRows = 0;
    std::vector<std::unique_ptr<CGridRow>> m_rows;
};
