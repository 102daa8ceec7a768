// RowKinds: the row kinds of the estimate grid and what they mean. The kind is the number
// every row stores (in .MMD files, the drag data and the undo copies), so the values below
// are fixed: new kinds take new numbers, and no value may change.
//
// The kinds are built from a few bases: the headings (1, 2, 3 and the kind heading 7) each
// have a total ten above them (11, 12, 13, 17) and a discount total thirty above their
// level (31, 32, 33, 37); level 5 stands for the whole estimate (15 and 35 are the two grand
// totals). A row marked non-calculated carries its kind plus 50, a row of the summary page
// its kind plus 100.
//
// This header is the one place where a row kind is compared with a number: everything else
// uses the names and predicates here.
//
// A kind and a total level are types of their own, so that one is never passed for the
// other: the levels share numbers with kinds (the whole estimate's level 5 is the detail
// kind's number), and a level given where a kind is meant compiled as long as both were
// ints. A kind reads as its number wherever a number is wanted (a file word, a table
// index); a number becomes a kind only through KindFromNumber, where it is read from a
// file, the drag data or a dialog. A level is a scoped enumeration: it neither becomes a
// number nor is made from one unnoticed.
#pragma once

// The offsets the kinds are built with. They are numbers, not kinds.
inline constexpr int kindTotalOffset = 10;         // a heading's total: heading kind + 10
inline constexpr int kindDiscountTotalOffset = 30; // a discount total: level + 30
inline constexpr int kindNonCalcOffset = 50;       // a non-calculated row: its kind + 50 (50 to 99)
inline constexpr int kindSummaryOffset = 100;      // a row of the summary page: its kind + 100

// Unscoped so that a kind reads as the number it is stored as; its fixed underlying type
// lets it hold any number a file carries.
enum ERowKind : int {
    kindEmpty = 0,
    kindLarge = 1,  // large subject heading
    kindMiddle = 2, // middle subject heading
    kindSmall = 3,  // small subject heading
    kindDetail = 5,
    kindDiscount = 6,
    kindKind = 7, // kind heading (種目), above the large headings
    kindFree = 8, // free row: the consumption-tax row
    kindStep = 9, // step (歩掛) row
    kindLargeTotal = 11,
    kindMiddleTotal = 12,
    kindSmallTotal = 13,
    kindGrandTotal = 15,
    kindKindTotal = 17,
    kindClassify = 21,  // classification row
    kindClassify2 = 22, // 22 to 24 are drawn as classification rows; no command makes them
    kindClassify3 = 23,
    kindClassify4 = 24,
    kindLargeDiscountTotal = 31,
    kindMiddleDiscountTotal = 32,
    kindSmallDiscountTotal = 33,
    kindGrandDiscountTotal = 35,
    kindKindDiscountTotal = 37,

    // The last kind any table of the display knows (the summary page's kind discount total).
    kindLastKnown = kindKindDiscountTotal + kindSummaryOffset,

    // No row is given this number, yet a print layout's field prints a row carrying it in
    // the kind heading's style, as it does 7 and 17 (a file may hold any number).
    kindFieldAsKind = 77
};

// Total levels (MakeTotalRow, the total commands, a discount total's first parameter).
enum class ETotalLevel : int {
    levelLarge = kindLarge, // the heading levels are the heading kinds' numbers
    levelMiddle = kindMiddle,
    levelSmall = kindSmall,
    levelGrand = 5, // the whole estimate
    levelDiscount = 6,
    levelKind = kindKind
};

// The kind a number read from a file, the drag data or a dialog stands for.
constexpr ERowKind KindFromNumber(int nNumber)
{
    return static_cast<ERowKind>(nNumber);
}
// A kind as the number it is stored as, for a switch whose cases name kinds that are no
// enumerators (the summary page's, 19): a switch on the kind itself warns of each of them.
constexpr int KindNumber(ERowKind nKind)
{
    return nKind;
}
// A level as the number a file stores (a discount total's first parameter) and back.
constexpr int LevelNumber(ETotalLevel eLevel)
{
    return static_cast<int>(eLevel);
}
constexpr ETotalLevel LevelFromNumber(int nNumber)
{
    return static_cast<ETotalLevel>(nNumber);
}
// The heading kind of a heading level (large, middle, small, kind), and the level of a
// heading kind. The whole estimate and the discount level have no heading: their numbers
// name no heading kind, so no heading row matches them.
constexpr ERowKind HeadingKindOf(ETotalLevel eLevel)
{
    return KindFromNumber(LevelNumber(eLevel));
}
constexpr ETotalLevel LevelOfHeadingKind(ERowKind nHeadingKind)
{
    return LevelFromNumber(nHeadingKind);
}

// The total kind of a heading kind (large 11, middle 12, small 13, kind 17), and of a
// level (the whole estimate's is the grand total, 15).
constexpr ERowKind TotalKindOf(ERowKind nHeadingKind)
{
    return KindFromNumber(nHeadingKind + kindTotalOffset);
}
constexpr ERowKind TotalKindOf(ETotalLevel eLevel)
{
    return KindFromNumber(LevelNumber(eLevel) + kindTotalOffset);
}
// The heading kind a total kind closes, and its level (the grand total's: the whole
// estimate).
constexpr ERowKind HeadingOfTotalKind(ERowKind nTotalKind)
{
    return KindFromNumber(nTotalKind - kindTotalOffset);
}
constexpr ETotalLevel LevelOfTotalKind(ERowKind nTotalKind)
{
    return LevelFromNumber(nTotalKind - kindTotalOffset);
}
// The discount total kind of a level (1, 2, 3, 7; 5 the whole estimate), and back.
constexpr ERowKind DiscountTotalKindOf(ETotalLevel eLevel)
{
    return KindFromNumber(LevelNumber(eLevel) + kindDiscountTotalOffset);
}
constexpr ETotalLevel LevelOfDiscountTotalKind(ERowKind nKind)
{
    return LevelFromNumber(nKind - kindDiscountTotalOffset);
}
// The kind a row of nKind carries once marked non-calculated, and the kind it had before.
constexpr ERowKind NonCalculatedKindOf(ERowKind nKind)
{
    return KindFromNumber(nKind + kindNonCalcOffset);
}
constexpr ERowKind CalculatedKindOf(ERowKind nNonCalculatedKind)
{
    return KindFromNumber(nNonCalculatedKind - kindNonCalcOffset);
}
// The kind a row of nKind carries on the summary page, and the edit page's kind of it.
constexpr ERowKind SummaryKindOf(ERowKind nKind)
{
    return KindFromNumber(nKind + kindSummaryOffset);
}
constexpr ERowKind EditPageKindOf(ERowKind nSummaryKind)
{
    return KindFromNumber(nSummaryKind - kindSummaryOffset);
}

// A subject heading: large, middle, small or kind heading.
constexpr bool IsHeadingKind(ERowKind nKind)
{
    return nKind == kindLarge || nKind == kindMiddle || nKind == kindSmall || nKind == kindKind;
}

// Whether nKind is a heading at the level of the heading nHeading or above it: the kind
// heading stands above large, large above middle, middle above small. False when nHeading
// is no heading.
constexpr bool IsHeadingAtOrAbove(ERowKind nKind, ERowKind nHeading)
{
    switch (nHeading) {
    case kindKind:
        return nKind == kindKind;
    case kindLarge:
        return nKind == kindKind || nKind == kindLarge;
    case kindMiddle:
        return nKind == kindKind || nKind == kindLarge || nKind == kindMiddle;
    case kindSmall:
        return nKind == kindKind || nKind == kindLarge || nKind == kindMiddle || nKind == kindSmall;
    default:
        return false;
    }
}

// The rows whose amounts the totals add up ("計 A"): details, discounts, the free row, step
// rows and the classification rows 21 to 23.
constexpr bool IsLeafKind(ERowKind nKind)
{
    switch (nKind) {
    case kindDetail:
    case kindDiscount:
    case kindFree:
    case kindStep:
    case kindClassify:
    case kindClassify2:
    case kindClassify3:
        return true;
    default:
        return false;
    }
}

// The totals of a heading (11, 12, 13, 17); not the grand total.
constexpr bool IsHeadingTotalKind(ERowKind nKind)
{
    return nKind == kindLargeTotal || nKind == kindMiddleTotal || nKind == kindSmallTotal ||
           nKind == kindKindTotal;
}

// A heading total or the grand total (11, 12, 13, 15, 17).
constexpr bool IsTotalKind(ERowKind nKind)
{
    return IsHeadingTotalKind(nKind) || nKind == kindGrandTotal;
}

// The discount totals (31, 32, 33, 37) and the discount grand total (35).
constexpr bool IsDiscountTotalKind(ERowKind nKind)
{
    return nKind == kindLargeDiscountTotal || nKind == kindMiddleDiscountTotal ||
           nKind == kindSmallDiscountTotal || nKind == kindGrandDiscountTotal ||
           nKind == kindKindDiscountTotal;
}

// The rows a "計 B" column adds up: heading totals and discount totals, not the two grand
// totals.
constexpr bool IsSubtotalKind(ERowKind nKind)
{
    return IsHeadingTotalKind(nKind) || (IsDiscountTotalKind(nKind) && nKind != kindGrandDiscountTotal);
}

// Classification rows (21, and 22 to 24 read from files).
constexpr bool IsClassifyKind(ERowKind nKind)
{
    return nKind >= kindClassify && nKind <= kindClassify4;
}

// A row marked non-calculated (50 to 99).
constexpr bool IsNonCalculatedKind(ERowKind nKind)
{
    return nKind >= kindNonCalcOffset && nKind < kindSummaryOffset;
}

// A heading marked non-calculated (51, 52, 53, 57): it takes no part in the totals, yet it
// still ends the section of its level above it, so the total below it has no heading and
// adds no rows.
constexpr bool IsNonCalculatedHeadingKind(ERowKind nKind)
{
    return IsNonCalculatedKind(nKind) && IsHeadingKind(CalculatedKindOf(nKind));
}
// Where a section of a heading level starts: a heading, marked non-calculated or not. The
// heading kind of such a row.
constexpr bool IsSectionStartKind(ERowKind nKind)
{
    return IsHeadingKind(nKind) || IsNonCalculatedHeadingKind(nKind);
}
constexpr ERowKind SectionHeadingKindOf(ERowKind nSectionStart)
{
    return IsNonCalculatedKind(nSectionStart) ? CalculatedKindOf(nSectionStart) : nSectionStart;
}

// A row of the summary page (100 and above).
constexpr bool IsSummaryKind(ERowKind nKind)
{
    return nKind >= kindSummaryOffset;
}

// The non-calculated kinds the display paints in the non-calculated colours: those of the
// kinds 1 to 35 the table lists, including 66, 68 and 69 (of 16, 18 and 19, which no
// command makes).
constexpr bool IsPaintedNonCalculatedKind(ERowKind nKind)
{
    if (!IsNonCalculatedKind(nKind))
        return false;
    switch (nKind - kindNonCalcOffset) {
    case kindLarge:
    case kindMiddle:
    case kindSmall:
    case kindDetail:
    case kindDiscount:
    case kindKind:
    case kindFree:
    case kindStep:
    case kindLargeTotal:
    case kindMiddleTotal:
    case kindSmallTotal:
    case kindGrandTotal:
    case kindGrandTotal + 1:
    case kindKindTotal:
    case kindKindTotal + 1:
    case kindKindTotal + 2:
    case kindClassify:
    case kindClassify2:
    case kindClassify3:
    case kindClassify4:
    case kindLargeDiscountTotal:
    case kindMiddleDiscountTotal:
    case kindSmallDiscountTotal:
    case kindGrandDiscountTotal:
        return true;
    default:
        return false;
    }
}

// Kinds that are their own total row when a heading's total is looked for: the free row,
// the totals and the discount totals (34 and 36 included).
constexpr bool IsOwnTotalKind(ERowKind nKind)
{
    return nKind == kindFree || IsTotalKind(nKind) ||
           (nKind >= kindLargeDiscountTotal && nKind <= kindKindDiscountTotal);
}

// Whether a row of kind nKind ends the block of the heading of kind nHeading when that
// heading's total was not met first: a heading of the same or a higher level, or a grand
// total. For a middle or small heading a higher level's total ends the block as well.
constexpr bool EndsHeadingBlock(ERowKind nHeading, ERowKind nKind)
{
    switch (nHeading) {
    case kindLarge:
        return nKind == kindLarge || nKind == kindKind || nKind == kindGrandTotal;
    case kindMiddle:
        return nKind == kindLarge || nKind == kindMiddle || nKind == kindKind || nKind == kindLargeTotal ||
               nKind == kindGrandTotal;
    case kindSmall:
        return nKind == kindMiddle || nKind == kindSmall || nKind == kindKind || nKind == kindLargeTotal ||
               nKind == kindMiddleTotal || nKind == kindGrandTotal;
    case kindKind:
        return nKind == kindKind || nKind == kindGrandTotal;
    default:
        return false;
    }
}

// Whether a row of kind nKind ends, without a total, the block of the heading of kind
// nHeading (the block is then what lies above it).
constexpr bool EndsHeadingBlockWithoutTotal(ERowKind nHeading, ERowKind nKind)
{
    switch (nHeading) {
    case kindLarge:
        return nKind == kindLarge || nKind == kindDiscount || nKind == kindKind || nKind == kindFree ||
               nKind == kindGrandTotal;
    case kindMiddle:
        return nKind == kindLarge || nKind == kindMiddle || nKind == kindDiscount || nKind == kindKind ||
               nKind == kindFree || nKind == kindLargeTotal || nKind == kindGrandTotal;
    case kindSmall:
        return !(nKind == kindEmpty || nKind == kindDetail || nKind == kindSmallTotal ||
                 nKind == kindClassify3 || nKind == kindSmallDiscountTotal);
    case kindKind:
        return nKind == kindKind || nKind == kindGrandTotal;
    default:
        return false;
    }
}
