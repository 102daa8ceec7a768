// The demo work folder in samples/ must stay readable by the program's readers and be
// exactly what the writers produce from what was read.
#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "tests/app/MasterFilesTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

std::string SampleFile(const std::string& relative)
{
    // The build passes the source tree's root; the samples lie in its samples/.
    const std::filesystem::path root =
        std::filesystem::path(MORVEL_SOURCE_DIR);
    return (root / "samples" / relative).string();
}

// Reads a sample with its reader, checks it, and stores it again: the bytes must match.
void CheckSample(const std::string& relative, const std::function<int(CArchive&)>& serialize,
                 const std::function<void()>& check)
{
    SCOPED_TRACE(relative);
    const std::vector<uint8_t> bytes = ReadNativeFile(SampleFile(relative));
    ASSERT_FALSE(bytes.empty());
    MessageBoxRecorder boxes;
    ASSERT_EQ(0, LoadBytes(bytes, serialize));
    EXPECT_TRUE(boxes.entries.empty());
    check();
    EXPECT_EQ(bytes, StoreBytes([&](CArchive& ar) { serialize(ar); }));
}

} // namespace

TEST(SamplesTest, MastersOfTheDemoFolderRead)
{
    CUnitFile units;
    CheckSample(
        "MASTER/TANNI.MTD", [&](CArchive& ar) { return units.Serialize(ar); },
        [&] {
            EXPECT_GE(units.GetCount(), 10);
            EXPECT_EQ(CString("m"), units.GetUnit(0));
            EXPECT_EQ("式"_sj, units.GetUnit(3));
        });

    CSubjectFile subjects;
    CheckSample(
        "MASTER/KAMOKU.MKB", [&](CArchive& ar) { return subjects.SerializeLarge(ar); },
        [&] { EXPECT_EQ("建築工事"_sj, subjects.GetName(CSubjectFile::levelLarge, 0)); });
    CheckSample(
        "MASTER/KAMOKU.MKM", [&](CArchive& ar) { return subjects.SerializeMiddle(ar); },
        [&] {
            EXPECT_EQ("直接仮設工事"_sj, subjects.GetName(CSubjectFile::levelMiddle, 0));
            EXPECT_EQ("式"_sj, subjects.GetUnit(CSubjectFile::levelMiddle, 0));
        });
    CheckSample(
        "MASTER/KAMOKU.MKS", [&](CArchive& ar) { return subjects.SerializeSmall(ar); },
        [&] { EXPECT_GE(subjects.GetCount(CSubjectFile::levelSmall), 20); });

    CClassifyFile classes;
    CheckSample(
        "MASTER/BUNRUL.MRD", [&](CArchive& ar) { return classes.Serialize(ar); },
        [&] {
            EXPECT_EQ("材料費"_sj, classes.GetName(0));
            EXPECT_EQ(CString("100"), classes.GetPercent(0));
        });
}

TEST(SamplesTest, FormsOfTheDemoFolderRead)
{
    CEstimationFormFile estimation;
    CheckSample(
        "FORM/meisai.MMK", [&](CArchive& ar) { return estimation.Serialize(ar); },
        [&] {
            // The columns the estimate grid looks up by code: quantity T 3, unit T 1, amount V 2.
            int quantity = -1, unit = -1, amount = -1;
            for (int i = 0; i < estimation.GetCount(); ++i) {
                if (estimation.GetItem(i, CEstimationFormFile::colT) == "3")
                    quantity = i;
                if (estimation.GetItem(i, CEstimationFormFile::colT) == "1")
                    unit = i;
                if (estimation.GetItem(i, CEstimationFormFile::colV) == "2")
                    amount = i;
            }
            ASSERT_GE(quantity, 0);
            ASSERT_GE(unit, 0);
            ASSERT_GE(amount, 0);
            EXPECT_NE(-1, estimation.GetItem(amount, CEstimationFormFile::colAttribute).Find("計"_sj));
            EXPECT_FALSE(estimation.GetItem(amount, CEstimationFormFile::colFormula).IsEmpty());
        });

    CPartFormFile parts;
    CheckSample(
        "FORM/BUZAI.MBK", [&](CArchive& ar) { return parts.Serialize(ar); },
        [&] { EXPECT_GE(parts.GetCount(), 5); });

    CInformationFormFile information;
    CheckSample(
        "FORM/JYOUHOU.MJK", [&](CArchive& ar) { return information.Serialize(ar); },
        [&] {
            bool hasNet = false;
            for (int i = 0; i < information.GetCount(); ++i)
                hasNet |= information.GetItem(i, CInformationFormFile::colAttribute) == "税抜見積"_sj;
            EXPECT_TRUE(hasNet);
        });
}
