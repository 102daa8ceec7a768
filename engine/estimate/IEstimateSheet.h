// IEstimateSheet: what the estimate engine needs of the estimate around it (the estimate
// model implements it, handing on to its host, the document, what is not its own): the
// texts of the estimation form it computes by, and the few things a computation does beyond
// the rows themselves (the used rows grown, the windows told of rows rewritten, the tax
// settings read). Tests of the engine give it a sheet of their own.
#pragma once

#include "platform/base/CString.h"

// The texts of a grid's form that say how its columns compute: the estimation form's for an
// estimate, the parts form's for a parts list (CEstimateColumns takes them apart).
class IColumnTexts {
public:
    // The texts of a column the computation reads ("属性", "数値書式", "計算式", "丸め",
    // "T", "V").
    enum EColumnText { textAttribute, textPicture, textFormula, textRounding, textT, textV, COLUMN_TEXTS };

    virtual const CString& GetColumnText(int nCol, EColumnText eText) const = 0;
    // All of a column's texts at once, in the order above: checking a column reads every one
    // of them, and a form that finds its column once answers in one call.
    virtual void GetColumnTexts(int nCol, const CString* texts[COLUMN_TEXTS]) const
    {
        for (int nText = 0; nText < COLUMN_TEXTS; ++nText)
            texts[nText] = &GetColumnText(nCol, static_cast<EColumnText>(nText));
    }
    // One text of the columns 0 to nColumns - 1 at once: a row's recalculation asks every
    // column's attribute.
    virtual void GetTextOfColumns(EColumnText eText, int nColumns, const CString* texts[]) const
    {
        for (int nCol = 0; nCol < nColumns; ++nCol)
            texts[nCol] = &GetColumnText(nCol, eText);
    }

protected:
    ~IColumnTexts() = default;
};

// How the consumption tax is rounded: up, down or half up to whole units, by the rounding
// of the column it is the tax of, or not at all.
enum class ETaxRounding : int { up, down, halfUp, byColumn, none };
// The rounding a settings value stands for (0 up, 1 down, 2 half up, 3 by the column; any
// other value rounds nothing).
constexpr ETaxRounding TaxRoundingFromSetting(int nSetting)
{
    if (nSetting < static_cast<int>(ETaxRounding::up) || nSetting > static_cast<int>(ETaxRounding::byColumn))
        return ETaxRounding::none;
    return static_cast<ETaxRounding>(nSetting);
}

class IEstimateSheet : public IColumnTexts {
public:
    // The settings the consumption tax takes: the rate in percent and the rounding.
    struct CTaxSettings {
        int nRate = 8;
        ETaxRounding eRounding = ETaxRounding::byColumn;
        bool operator==(const CTaxSettings&) const = default;
    };

    // The used rows grow to at least nRows (they never shrink here); the windows' scroll
    // ranges follow them.
    virtual void GrowUsedRows(int nRows) = 0;
    // Rows nFirst to nLast were rewritten: the windows repaint them.
    virtual void RowsWritten(int nFirst, int nLast) = 0;
    // A total, tax, step or classification row is about to be worked out and rewritten:
    // what it holds now may be kept (the estimate's model keeps it for an undo).
    virtual void RowToBeRewritten(int /*nRow*/) {}
    // A row at or below the row the engine was told of (KeepRowsBeforeWrites) is about to
    // change: what it holds now may be kept.
    virtual void RowToBeWritten(int /*nRow*/) {}
    virtual CTaxSettings GetTaxSettings() const = 0;
    // Whether a tax row's second tax column takes the tax of its own column ("縦合計")
    // rather than the amount column's tax.
    virtual bool IsTaxVerticalTotal() const = 0;

protected:
    ~IEstimateSheet() = default;
};
