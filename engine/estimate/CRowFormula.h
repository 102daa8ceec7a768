// CRowFormula: a column's row formula ("C*E", "(d+e)*f") taken apart once, and worked out
// over the cells of a row. The estimate's rows, its summary page and the parts list all
// compute their formula columns here; where they differ (CRules), the difference is named.
//
// Reading: the formula is upper-cased, then every letter A-Z names a column, two letters
// together one column from 26 on (AA 26, AZ 51, BA 52). A double-byte character is taken
// whole, so its second byte is never read as a letter ("単価" names no column, though its
// first character's second byte is a "P"). Everything between the references is kept as
// written (the segments, one more than the references) and, where the formula is plain
// arithmetic, compiled once (CNumberRules::CompileFormula).
//
// Working out over a row (Evaluate): a formula none of whose referenced cells holds a
// number leaves the cell as it is, so that an amount typed into a row without quantity or
// price survives; an operand that holds no number stops a product or a quotient (and, by
// the rules, any formula); otherwise the cells' texts are put in and the text is reduced.
#pragma once

#include "engine/estimate/CNumberRules.h"
#include "platform/base/CString.h"

#include <string>
#include <vector>

class CRowFormula {
public:
    // Where the grids differ in working out a formula.
    struct CRules {
        // A formula that names no column ("1.08"): worked out at every evaluation (the parts
        // list), or left alone as there is no number of the row to work on (the estimate).
        bool bWithoutReference = false;
        // Any operand that holds no number stops the formula (the parts list's row
        // recalculation), not only one of a product or a quotient.
        bool bEveryOperandStops = false;
    };
    // The estimate's rows and its summary page.
    static constexpr CRules estimateRules{false, false};
    // The parts list: a row worked out again after any command that wrote it (a paste, a cut,
    // a range total, a fixed-rate change, an undo; typing into a text column too) ...
    static constexpr CRules partsRowRules{true, true};
    // ... and a row after a number typed into a number column or cells replaced, where only
    // an operand of a product or a quotient without a number stops a formula.
    static constexpr CRules partsTypedRules{true, false};

    // What a formula does to its cell.
    enum class EOutcome {
        keep,  // the cell keeps what it holds
        empty, // the formula leaves nothing (an empty formula, a division by zero alone)
        number // the result
    };

    CRowFormula() = default;
    explicit CRowFormula(const CString& strFormula) { Assign(strFormula); }
    // Takes a formula apart (upper-casing it first) and compiles it where it can.
    void Assign(const CString& strFormula);
    // Takes a formula apart without compiling it, for one worked out through the texts
    // (Evaluate) and read again at the next evaluation: compiling would cost more than it
    // saves.
    void AssignForTexts(const CString& strFormula);

    // An upper-cased formula taken apart: the columns it references in order and the texts
    // between them.
    static void Parse(const CString& strUpper, std::vector<int>& refs, std::vector<std::string>& segments);

    const std::vector<int>& GetReferences() const { return m_refs; }
    const std::vector<std::string>& GetSegments() const { return m_segments; }
    bool HasProductOrQuotient() const { return m_bMulDiv; }
    bool IsCompiled() const { return m_bCompiled; }

    // Whether the formula leaves its cell alone whatever the row holds: it names no column
    // and the rules say such a formula is not worked out.
    bool IsLeftAlone(const CRules& rules) const { return m_refs.empty() && !rules.bWithoutReference; }

    // Whether no referenced cell holds a number text (also when none is referenced).
    // cell(nCol) gives the row's text in a column ("" outside the row).
    template <class FCell>
    bool LacksNumbers(const FCell& cell) const
    {
        for (int nCol : m_refs) {
            if (CNumberRules::IsNumberText(cell(nCol)))
                return false;
        }
        return true;
    }

    // Works the formula out over a row through the cells' texts: result is set with
    // EOutcome::number. expression is the caller's, reused from row to row.
    template <class FCell>
    EOutcome Evaluate(const FCell& cell, const CRules& rules, std::string& expression, double& result) const
    {
        if (IsLeftAlone(rules) || (!m_refs.empty() && LacksNumbers(cell)))
            return EOutcome::keep;
        const bool bStrict = rules.bEveryOperandStops || m_bMulDiv;
        expression = m_segments[0];
        for (size_t i = 0; i < m_refs.size(); ++i) {
            const CString& strCell = cell(m_refs[i]);
            // A product over a cell that holds no number (empty, "一式", "abc") has nothing
            // to work with: the cell keeps what it holds, so that an amount typed beside a
            // quantity written as a word and a unit price stays.
            if (bStrict && !CNumberRules::IsNumberText(strCell))
                return EOutcome::keep;
            expression += strCell.str();
            expression += m_segments[i + 1];
        }
        return EvaluateText(expression, result) ? EOutcome::number : EOutcome::empty;
    }

    // The same with the referenced cells' values already read (plain number texts, in
    // reference order) for a compiled formula; the result is what Evaluate gives for the
    // texts the values were read from, bit for bit.
    EOutcome EvaluateValues(const double* pValues, double& result) const
    {
        return CNumberRules::EvaluateCompiled(m_compiled, pValues, result) ? EOutcome::number
                                                                           : EOutcome::empty;
    }

    // Evaluate, through the compiled formula where every referenced cell holds a plain
    // number (values receives them), else through the texts; the same outcome either way.
    template <class FCell>
    EOutcome EvaluateQuick(const FCell& cell, const CRules& rules, std::string& expression,
                           std::vector<double>& values, double& result) const
    {
        if (!m_bCompiled || IsLeftAlone(rules))
            return Evaluate(cell, rules, expression, result);
        values.resize(m_refs.size());
        for (size_t i = 0; i < m_refs.size(); ++i) {
            const std::string& text = cell(m_refs[i]).str();
            if (!CNumberRules::ReadPlainNumber(text.data(), text.data() + text.size(), values[i]))
                return Evaluate(cell, rules, expression, result);
        }
        return EvaluateValues(values.data(), result);
    }

    // The number an estimate's formula column keeps of a result: to millionths, then by the
    // column's rounding rule.
    static CDecimal RoundedResult(double result, const CNumberRules::CRoundSpec& spec);

    // A formula text with the cells put in, reduced: false when nothing is left.
    static bool EvaluateText(const std::string& expression, double& result);

private:
    std::vector<int> m_refs;
    std::vector<std::string> m_segments{std::string()};
    bool m_bMulDiv = false;
    bool m_bCompiled = false;
    std::string m_compiled;
};
