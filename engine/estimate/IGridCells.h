// IGridCells: a grid's cells as the editing tools over a column read them (the range total,
// the fixed-rate change): a cell's text, the used rows and what the form says of each
// column. The estimate's edit page gives them through CEngineCells, a parts list through its
// model; the same tools then serve both grids, their differences stated as rules where
// they are made.
#pragma once

#include "platform/base/CString.h"

class CEstimateColumns;
class CEstimateEngine;

class IGridCells {
public:
    // A cell's text; an empty one outside the rows or the form's columns.
    virtual const CString& GetCell(int nRow, int nCol) const = 0;
    virtual int GetUsedRows() const = 0;
    virtual const CEstimateColumns& GetColumns() const = 0;

protected:
    ~IGridCells() = default;
};

// The estimate engine's edit page as the tools read it.
class CEngineCells final : public IGridCells {
public:
    explicit CEngineCells(const CEstimateEngine& engine) : m_engine(engine) {}
    const CString& GetCell(int nRow, int nCol) const override;
    int GetUsedRows() const override;
    const CEstimateColumns& GetColumns() const override;

private:
    const CEstimateEngine& m_engine;
};
