// The compound-file tree: what is written reads back whole (names, nesting, bytes, class
// ids), a damaged file reads as nothing and leaves the tree as it was, and a file that
// cannot be written leaves the old one in place.
#include "platform/base/Path.h"
#include "platform/ole/CCompoundFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<BYTE> Bytes(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<BYTE> v(n);
    for (BYTE& b : v)
        b = static_cast<BYTE>(rng());
    return v;
}

// A tree like a layout's: a small and a large stream at the root (the large one lies in
// big sectors, the small one in the mini stream), an empty stream, and nested storages with
// the control-character names embedded objects use.
CCompoundStorage SampleTree()
{
    CCompoundStorage root;
    root.SetStream("Contents", Bytes(700, 1));
    root.SetStream("Big", Bytes(10000, 2));
    root.SetStream("Empty", {});
    CCompoundStorage item;
    item.m_clsid = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
                    0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10};
    item.SetStream("\x01Ole", Bytes(20, 3));
    item.SetStream("\x02OlePres000", Bytes(5000, 4));
    CCompoundStorage inner;
    inner.SetStream("Deep", Bytes(64, 5));
    item.SetStorage("Inner", inner);
    root.SetStorage("Embedding 1", item);
    root.SetStorage("Embedding 2", CCompoundStorage());
    root.SetStream("日本語の名前"_sj, Bytes(3, 6));
    return root;
}

} // namespace

TEST(CompoundFile, WrittenTreeReadsBackWhole)
{
    const CCompoundStorage tree = SampleTree();
    std::vector<BYTE> bytes;
    ASSERT_TRUE(WriteCompoundFile(tree, bytes));
    // The signature of a compound file, and version 3 (512-byte sectors).
    ASSERT_GE(bytes.size(), 512u);
    EXPECT_EQ(bytes[0], 0xD0);
    EXPECT_EQ(bytes[1], 0xCF);
    EXPECT_EQ(bytes[0x18], 0x3E);
    EXPECT_EQ(bytes[0x1A], 3);
    EXPECT_EQ(bytes[0x1C], 0xFE);
    EXPECT_EQ(bytes[0x1E], 9); // sector shift: 512

    CCompoundStorage read;
    ASSERT_TRUE(ReadCompoundFile(bytes.data(), bytes.size(), read));
    EXPECT_TRUE(read.IsSameAs(tree));
    ASSERT_NE(read.FindStorage("Embedding 1"), nullptr);
    EXPECT_EQ(read.FindStorage("Embedding 1")->m_clsid, tree.FindStorage("Embedding 1")->m_clsid);
    ASSERT_NE(read.FindStorage("Embedding 2"), nullptr);
    EXPECT_EQ(read.FindStorage("Embedding 2")->GetChildCount(), 0);
    ASSERT_NE(read.FindStream("Empty"), nullptr);
    EXPECT_TRUE(read.FindStream("Empty")->empty());
    EXPECT_EQ(*read.FindStream("Big"), Bytes(10000, 2));
}

TEST(CompoundFile, WritingTwiceGivesTheSameBytes)
{
    // No timestamps or other changing data: one tree, one file.
    std::vector<BYTE> first, second;
    ASSERT_TRUE(WriteCompoundFile(SampleTree(), first));
    ASSERT_TRUE(WriteCompoundFile(SampleTree(), second));
    EXPECT_EQ(first, second);
}

TEST(CompoundFile, DamagedBytesReadAsNothingAndLeaveTheTree)
{
    std::vector<BYTE> good;
    ASSERT_TRUE(WriteCompoundFile(SampleTree(), good));
    CCompoundStorage keep;
    keep.SetStream("Marker", {1, 2, 3});

    // Cut at many lengths: the file is never accepted with part of its tree.
    for (size_t n = 0; n < good.size(); n += 97) {
        CCompoundStorage tree = keep;
        const BOOL ok = ReadCompoundFile(good.data(), n, tree);
        EXPECT_FALSE(ok) << "length " << n;
        EXPECT_TRUE(tree.IsSameAs(keep)) << "length " << n;
    }
    // Random bytes, with and without the signature.
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::vector<BYTE> junk = Bytes(512 * (1 + seed % 5), seed);
        if (seed % 2 == 0)
            std::copy(good.begin(), good.begin() + 8, junk.begin());
        CCompoundStorage tree = keep;
        if (!ReadCompoundFile(junk.data(), junk.size(), tree)) {
            EXPECT_TRUE(tree.IsSameAs(keep)) << "seed " << seed;
        }
    }
    // Single flipped bytes of a good file: read whole or not at all, never a crash.
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        std::vector<BYTE> bent = good;
        bent[rng() % bent.size()] ^= static_cast<BYTE>(1 + rng() % 255);
        CCompoundStorage tree = keep;
        if (!ReadCompoundFile(bent.data(), bent.size(), tree)) {
            EXPECT_TRUE(tree.IsSameAs(keep));
        }
    }
}

TEST(CompoundFile, NameTooLongFailsAndKeepsTheOldFile)
{
    TempDir dir;
    const CString path = dir.Folder() + "LAYOUT.MMP";
    ASSERT_TRUE(SaveCompoundFile(path, SampleTree()));
    const std::vector<uint8_t> before = ReadNativeFile(dir.NativeFile("LAYOUT.MMP"));

    CCompoundStorage bad;
    bad.SetStream("A name far longer than thirty-one characters", {1});
    std::vector<BYTE> out{9};
    EXPECT_FALSE(WriteCompoundFile(bad, out));
    EXPECT_EQ(out, std::vector<BYTE>{9});
    EXPECT_FALSE(SaveCompoundFile(path, bad));
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("LAYOUT.MMP")), before);

    CCompoundStorage loaded;
    ASSERT_TRUE(LoadCompoundFile(path, loaded));
    EXPECT_TRUE(loaded.IsSameAs(SampleTree()));
    EXPECT_FALSE(LoadCompoundFile(dir.Folder() + "MISSING.MMP", loaded));
}

TEST(CompoundFile, TreeEditsReplaceAndRemove)
{
    CCompoundStorage tree;
    tree.SetStream("A", {1});
    tree.SetStorage("A", CCompoundStorage()); // a storage replaces the stream of that name
    EXPECT_EQ(tree.FindStream("A"), nullptr);
    EXPECT_NE(tree.FindStorage("A"), nullptr);
    EXPECT_EQ(tree.GetChildCount(), 1);
    EXPECT_TRUE(tree.Remove("A"));
    EXPECT_FALSE(tree.Remove("A"));
    EXPECT_EQ(tree.GetChildCount(), 0);

    // Copies are deep: changing the copy leaves the original.
    CCompoundStorage original = SampleTree();
    CCompoundStorage copy = original;
    copy.FindStorage("Embedding 1")->SetStream("\x01Ole", {0});
    EXPECT_FALSE(copy.IsSameAs(original));
    EXPECT_TRUE(original.IsSameAs(SampleTree()));
}
