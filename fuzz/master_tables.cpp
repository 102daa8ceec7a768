// The master and form files: units, the three subject levels, classifications, and the
// estimation, parts and information forms. The first byte chooses the table, the rest is
// the file. What an estimator relies on:
// - a refused file (wrong magic, too many entries) shows the table's message once and
//   leaves the table exactly as it was; so does a file that ends early (no message: the
//   caller reports it);
// - a file that was read stores and loads again to the same table, byte for byte.
#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "fuzz/support/FuzzSupport.h"

#include <cstddef>
#include <cstdint>

namespace {

// What every table has to offer the check: its serialize and a comparison of everything
// it holds (used and unused entries).
template <typename Table>
struct CTableOps;

template <>
struct CTableOps<CUnitFile> {
    static int Serialize(CUnitFile& t, CArchive& ar, int) { return t.Serialize(ar); }
    static bool Same(const CUnitFile& a, const CUnitFile& b)
    {
        return a.GetCount() == b.GetCount() && a.m_strUnit == b.m_strUnit && a.m_strMagic == b.m_strMagic;
    }
    static void Fill(CUnitFile& t)
    {
        t.SetUnits({"m", "式"_sj});
        t.m_strUnit[2] = "left over"; // beyond the count: must survive a refused read too
    }
};

template <>
struct CTableOps<CSubjectFile> {
    static int Serialize(CSubjectFile& t, CArchive& ar, int nLevel) { return t.SerializeLevel(nLevel, ar); }
    static bool Same(const CSubjectFile& a, const CSubjectFile& b)
    {
        for (int l = 0; l < CSubjectFile::LEVEL_COUNT; ++l) {
            if (a.GetCount(l) != b.GetCount(l) || a.m_strName[l] != b.m_strName[l] ||
                a.m_strUnit[l] != b.m_strUnit[l])
                return false;
        }
        return a.m_strMagic == b.m_strMagic;
    }
    static void Fill(CSubjectFile& t)
    {
        for (int l = 0; l < CSubjectFile::LEVEL_COUNT; ++l) {
            t.SetLevel(l, {{"建築工事"_sj, "式"_sj}});
            t.m_strName[l][1] = "unused";
        }
    }
};

template <>
struct CTableOps<CClassifyFile> {
    static int Serialize(CClassifyFile& t, CArchive& ar, int) { return t.Serialize(ar); }
    static bool Same(const CClassifyFile& a, const CClassifyFile& b)
    {
        return a.GetCount() == b.GetCount() && a.m_strName == b.m_strName &&
               a.m_strPercent == b.m_strPercent && a.m_strMagic == b.m_strMagic;
    }
    static void Fill(CClassifyFile& t)
    {
        t.SetEntries({{"材料費"_sj, "60"}});
        t.m_strName[1] = "unused";
    }
};

template <typename Form>
struct CFormOps {
    static int Serialize(Form& t, CArchive& ar, int) { return t.Serialize(ar); }
    static bool Same(const Form& a, const Form& b)
    {
        return a.GetCount() == b.GetCount() && a.m_strItem == b.m_strItem && a.m_strMagic == b.m_strMagic &&
               a.m_strHeading == b.m_strHeading;
    }
    static void Fill(Form& t)
    {
        for (int j = 0; j < Form::COLUMN_COUNT; ++j) {
            t.SetItem(0, j, "item0");
            t.SetItem(1, j, "item1");
            t.SetItem(5, j, "unused");
        }
        t.SetCount(2);
    }
};
template <>
struct CTableOps<CEstimationFormFile> : CFormOps<CEstimationFormFile> {
};
template <>
struct CTableOps<CPartFormFile> : CFormOps<CPartFormFile> {
};
template <>
struct CTableOps<CInformationFormFile> : CFormOps<CInformationFormFile> {
};

template <typename Table>
void Check(const uint8_t* data, size_t size, int nLevel)
{
    using Ops = CTableOps<Table>;
    Table table;
    Ops::Fill(table);
    const Table before = table;

    FuzzMessageBoxes boxes;
    const int nResult = FuzzLoad(data, size, [&](CArchive& ar) { return Ops::Serialize(table, ar, nLevel); });
    if (nResult != 0) {
        // Refused (-1) or ended early (-2): nothing of the file reached the table.
        FUZZ_CHECK(nResult == -1 || nResult == -2);
        FUZZ_CHECK(Ops::Same(table, before));
        // A refusal says so once; a file that ends early is reported by the caller.
        FUZZ_CHECK(nResult == -1 ? boxes.texts.size() == 1 && !boxes.texts[0].IsEmpty()
                                 : boxes.texts.empty());
        return;
    }
    FUZZ_CHECK(boxes.texts.empty());

    // Store, load into a fresh table, store again: the same table and the same bytes.
    const std::vector<uint8_t> stored = FuzzStore([&](CArchive& ar) { Ops::Serialize(table, ar, nLevel); });
    Table again;
    Ops::Fill(again);
    FUZZ_CHECK(FuzzLoad(stored.data(), stored.size(),
                        [&](CArchive& ar) { return Ops::Serialize(again, ar, nLevel); }) == 0);
    FUZZ_CHECK(boxes.texts.empty());
    const std::vector<uint8_t> storedAgain =
        FuzzStore([&](CArchive& ar) { Ops::Serialize(again, ar, nLevel); });
    FUZZ_CHECK(stored == storedAgain);
    // Everything in use came back (entries beyond the count are the fresh table's own).
    Table reloaded = table;
    FUZZ_CHECK(FuzzLoad(stored.data(), stored.size(),
                        [&](CArchive& ar) { return Ops::Serialize(reloaded, ar, nLevel); }) == 0);
    FUZZ_CHECK(Ops::Same(reloaded, table));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t* file = data + 1;
    const size_t fileSize = size - 1;
    switch (data[0] % 8) {
    case 0:
        Check<CUnitFile>(file, fileSize, 0);
        break;
    case 1:
    case 2:
    case 3:
        Check<CSubjectFile>(file, fileSize, data[0] % 8 - 1);
        break;
    case 4:
        Check<CClassifyFile>(file, fileSize, 0);
        break;
    case 5:
        Check<CEstimationFormFile>(file, fileSize, 0);
        break;
    case 6:
        Check<CPartFormFile>(file, fileSize, 0);
        break;
    default:
        Check<CInformationFormFile>(file, fileSize, 0);
        break;
    }
    return 0;
}
