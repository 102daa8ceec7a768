// Compiled, not linked, by tests/cmake: at the engine's interface a row kind, a total level,
// a summary level and a step range are types of their own. As it stands this file compiles; with one of the
// MISUSE_ cases defined it must not, with the compiler's refusal of that conversion.
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CSubjectNumbers.h"
#include "engine/estimate/CSummaryTable.h"

bool UseTheEngine(CEstimateEngine& engine)
{
#if defined(MISUSE_KIND_AS_LEVEL)
    engine.MakeTotalRow(4, kindGrandTotal); // the grand total kind (15) where a level is meant
#elif defined(MISUSE_LEVEL_AS_KIND)
    engine.SetRowKind(CEstimateEngine::levelGrand, 4); // level 5 is the detail kind's number
#elif defined(MISUSE_NUMBER_AS_KIND)
    engine.SetRowKind(5, 4); // a number becomes a kind only through KindFromNumber
#elif defined(MISUSE_LEVEL_IN_PREDICATE)
    return IsSubtotalKind(CEstimateEngine::levelSmall);
#elif defined(MISUSE_NUMBER_AS_RANGE)
    engine.MakeStepRow(4, "x", 1, 3); // a kept code becomes a range only through StepRangeFromCode
#elif defined(MISUSE_NUMBER_IN_NUMBERING)
    CSubjectNumbers::CCounts counts{};
    CSubjectNumbers::Count(counts, 1); // the subject numbers count rows by their kinds
#else
    CSubjectNumbers::CCounts counts{};
    CSubjectNumbers::Count(counts, kindLarge);
    engine.MakeTotalRow(4, CEstimateEngine::levelGrand);
    engine.SetRowKind(kindDetail, 4);
    engine.SetRowKind(KindFromNumber(5), 4);
    engine.MakeStepRow(4, "x", 1, EStepRange::largeHeading);
#endif
    return IsSubtotalKind(engine.EditKind(4));
}

void BuildTheSummary(CSummaryTable& table)
{
#if defined(MISUSE_TOTAL_LEVEL_AS_SUMMARY_LEVEL)
    table.BuildLevel(CEstimateEngine::levelKind); // the totals' kind level (7) is no level of the table
#else
    table.BuildLevel(ESummaryLevel::largeSubjects);
#endif
}
