#include "platform/base/Collections.h"

#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// A plain object to put into the pointer collections.
class CCollTestValue : public CObject {
public:
    explicit CCollTestValue(int v) : m_n(v) {}
    int m_n;
};

Bytes Store(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
    return file.Detach();
}

void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

std::vector<int> Values(const CObArray& a)
{
    std::vector<int> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) {
        const CObject* p = a.GetAt(i);
        out.push_back(p != nullptr ? static_cast<const CCollTestValue*>(p)->m_n : -1);
    }
    return out;
}

std::vector<int> Values(const CObList& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(static_cast<const CCollTestValue*>(list.GetNext(pos))->m_n);
    return out;
}

std::vector<int> ValuesBackwards(const CObList& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        out.push_back(static_cast<const CCollTestValue*>(list.GetPrev(pos))->m_n);
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Arrays

TEST(ObArray, InsertAtPastTheEndGrowsWithNulls)
{
    CCollTestValue v1(1), v2(2), v3(3);
    CObArray a;
    a.Add(&v1);
    a.InsertAt(3, &v2);
    EXPECT_EQ(Values(a), (std::vector<int>{1, -1, -1, 2}));
    a.InsertAt(1, &v3, 2);
    EXPECT_EQ(Values(a), (std::vector<int>{1, 3, 3, -1, -1, 2}));
    EXPECT_EQ(a.GetUpperBound(), 5);

    CObArray other;
    other.Add(&v2);
    other.Add(&v1);
    a.InsertAt(0, &other);
    EXPECT_EQ(Values(a), (std::vector<int>{2, 1, 1, 3, 3, -1, -1, 2}));
    a.InsertAt(10, &other);
    EXPECT_EQ(a.GetSize(), 12);
    EXPECT_EQ(a.GetAt(8), nullptr);
    EXPECT_EQ(a.GetAt(11), &v1);
}

TEST(ObArray, RemovingSizingAndCopyingKeepOrder)
{
    CCollTestValue v[6] = {CCollTestValue(0), CCollTestValue(1), CCollTestValue(2),
                           CCollTestValue(3), CCollTestValue(4), CCollTestValue(5)};
    CObArray a;
    for (auto& x : v)
        a.Add(&x);
    a.RemoveAt(1, 2);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 3, 4, 5}));
    a.RemoveAt(3, 10); // clamps to what exists
    EXPECT_EQ(Values(a), (std::vector<int>{0, 3, 4}));
    a.RemoveAt(7);
    EXPECT_EQ(a.GetSize(), 3);

    a.SetSize(5);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 3, 4, -1, -1}));
    a.SetSize(2);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 3}));
    a.SetAtGrow(4, &v[5]);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 3, -1, -1, 5}));
    a.SetAt(2, &v[2]);
    a[3] = &v[1];
    EXPECT_EQ(Values(a), (std::vector<int>{0, 3, 2, 1, 5}));

    EXPECT_EQ(a.Append(a), 5); // appending itself doubles it
    EXPECT_EQ(Values(a), (std::vector<int>{0, 3, 2, 1, 5, 0, 3, 2, 1, 5}));
    CObArray copy;
    copy.Copy(a);
    a.RemoveAll();
    a.FreeExtra();
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(copy.GetSize(), 10);
    EXPECT_EQ(copy.GetCount(), 10);
}

TEST(ObArray, AccessOutsideTheArrayIsHarmless)
{
    CCollTestValue v(7);
    CObArray a;
    a.Add(&v);
    EXPECT_EQ(a.GetAt(-1), nullptr);
    EXPECT_EQ(a.GetAt(1), nullptr);
    EXPECT_EQ(a[5], nullptr);
    a.SetAt(3, &v); // ignored
    EXPECT_EQ(a.GetSize(), 1);
    a.ElementAt(9) = &v; // lands in scratch, not in the array
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a.ElementAt(9), nullptr);
    a.InsertAt(-2, &v);
    a.SetAtGrow(-1, &v);
    a.SetSize(-3);
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(ObArray, SerializeWritesTheCountAndObjectRecords)
{
    CObArray a;
    a.Add(nullptr);
    const Bytes bytes = Store([&](CArchive& ar) { a.Serialize(ar); });
    EXPECT_EQ(bytes, ByteBuilder().Word(1).Word(0).Bytes());
    CObArray back;
    CCollTestValue old(1);
    back.Add(&old);
    back.Add(&old);
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetSize(), 1);
    EXPECT_EQ(back.GetAt(0), nullptr);
}

TEST(ValueArrays, SerializeIsByteExact)
{
    CWordArray words;
    words.Add(1);
    words.Add(0xBEEF);
    CDWordArray dwords;
    dwords.Add(0x01020304);
    CStringArray strings;
    strings.Add("m");
    strings.Add(CString::FromUtf8("箇所"));
    CByteArray bytesArray;
    bytesArray.Add(0xAA);
    const Bytes bytes = Store([&](CArchive& ar) {
        words.Serialize(ar);
        dwords.Serialize(ar);
        strings.Serialize(ar);
        bytesArray.Serialize(ar);
    });
    const Bytes expected = ByteBuilder()
                               .Word(2)
                               .Word(1)
                               .Word(0xBEEF)
                               .Word(1)
                               .Dword(0x01020304)
                               .Word(2)
                               .Str("m")
                               .Str("\x89\xD3\x8F\x8A")
                               .Word(1)
                               .Byte(0xAA)
                               .Bytes();
    EXPECT_EQ(bytes, expected);

    CWordArray w2;
    CDWordArray d2;
    CStringArray s2;
    CByteArray b2;
    s2.Add("stale");
    Load(bytes, [&](CArchive& ar) {
        w2.Serialize(ar);
        d2.Serialize(ar);
        s2.Serialize(ar);
        b2.Serialize(ar);
    });
    EXPECT_EQ(w2.GetSize(), 2);
    EXPECT_EQ(w2[1], 0xBEEF);
    EXPECT_EQ(d2[0], 0x01020304u);
    ASSERT_EQ(s2.GetSize(), 2);
    EXPECT_EQ(s2[1], CString::FromUtf8("箇所"));
    EXPECT_EQ(b2[0], 0xAA);
}

TEST(ValueArrays, CountsFrom0xFFFFUseTheLongForm)
{
    CWordArray words;
    words.SetSize(70000);
    for (INT_PTR i = 0; i < words.GetSize(); ++i)
        words[i] = static_cast<WORD>(i);
    const Bytes bytes = Store([&](CArchive& ar) { words.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 6u + 2u * 70000u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), ByteBuilder().Word(0xFFFF).Dword(70000).Bytes());
    CWordArray back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetSize(), 70000);
    EXPECT_EQ(back[69999], static_cast<WORD>(69999));
}

TEST(ValueArrays, ADamagedCountEndsInEndOfFileWithoutAHugeAllocation)
{
    // Four billion elements claimed, three present.
    const Bytes bytes = ByteBuilder().Word(0xFFFF).Dword(0xFFFFFFF0).Word(1).Word(2).Word(3).Bytes();
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        try {
            Load(bytes, [&](CArchive& ar) {
                CWordArray w;
                CDWordArray d;
                CStringArray s;
                CObArray o;
                if (kind == 0)
                    w.Serialize(ar);
                else if (kind == 1)
                    d.Serialize(ar);
                else if (kind == 2)
                    s.Serialize(ar);
                else
                    o.Serialize(ar);
            });
            ADD_FAILURE() << "read past the end";
        } catch (CArchiveException& e) {
            // The object array meets the word 1 as a reference to nothing.
            EXPECT_TRUE(e.m_cause == CArchiveException::endOfFile ||
                        e.m_cause == CArchiveException::badIndex);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Lists

TEST(ObList, AddsInsertsAndWalksBothWays)
{
    CCollTestValue v[6] = {CCollTestValue(0), CCollTestValue(1), CCollTestValue(2),
                           CCollTestValue(3), CCollTestValue(4), CCollTestValue(5)};
    CObList list;
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(&v[2]);
    list.AddHead(&v[1]);
    POSITION tail = list.AddTail(&v[4]);
    list.InsertBefore(tail, &v[3]);
    list.InsertAfter(tail, &v[5]);
    list.InsertBefore(nullptr, &v[0]); // null: at the head
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(list.GetCount(), 6);
    EXPECT_EQ(list.GetHead(), &v[0]);
    EXPECT_EQ(list.GetTail(), &v[5]);

    EXPECT_EQ(list.GetAt(list.FindIndex(3)), &v[3]);
    EXPECT_EQ(list.FindIndex(6), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    POSITION found = list.Find(&v[4]);
    EXPECT_EQ(found, tail);
    EXPECT_EQ(list.Find(&v[4], found), nullptr); // searching after it
    EXPECT_EQ(list.Find(&v[0], list.FindIndex(1)), nullptr);

    list.SetAt(found, &v[1]);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3, 1, 5}));
}

TEST(ObList, RemovingWhileWalkingAndFromTheEnds)
{
    CCollTestValue v[5] = {CCollTestValue(0), CCollTestValue(1), CCollTestValue(2), CCollTestValue(3),
                           CCollTestValue(4)};
    CObList list;
    for (auto& x : v)
        list.AddTail(&x);
    // The usual walk that removes the odd values.
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        POSITION current = pos;
        auto* value = static_cast<CCollTestValue*>(list.GetNext(pos));
        if (value->m_n % 2 == 1)
            list.RemoveAt(current);
    }
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(list.RemoveHead(), &v[0]);
    EXPECT_EQ(list.RemoveTail(), &v[4]);
    EXPECT_EQ(Values(list), (std::vector<int>{2}));
    EXPECT_EQ(list.GetHeadPosition(), list.GetTailPosition());
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    // An empty list answers with nulls and stays empty.
    EXPECT_EQ(list.RemoveHead(), nullptr);
    EXPECT_EQ(list.RemoveTail(), nullptr);
    EXPECT_EQ(list.GetHead(), nullptr);
    POSITION none = nullptr;
    EXPECT_EQ(list.GetNext(none), nullptr);
    list.RemoveAt(nullptr);
    EXPECT_EQ(list.GetCount(), 0);
    list.AddTail(&v[1]);
    EXPECT_EQ(Values(list), (std::vector<int>{1}));
}

TEST(ObList, AddsWholeListsInOrder)
{
    CCollTestValue v[4] = {CCollTestValue(0), CCollTestValue(1), CCollTestValue(2), CCollTestValue(3)};
    CObList a, b;
    a.AddTail(&v[1]);
    b.AddTail(&v[2]);
    b.AddTail(&v[3]);
    a.AddTail(&b);
    CObList front;
    front.AddTail(&v[0]);
    a.AddHead(&front);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 2, 3}));
}

TEST(TypedPtrCollections, GiveBackTheirElementType)
{
    CCollTestValue v1(1), v2(2);
    CTypedPtrList<CObList, CCollTestValue*> list;
    list.AddTail(&v1);
    list.AddTail(&v2);
    POSITION pos = list.GetHeadPosition();
    int sum = 0;
    while (pos != nullptr)
        sum += list.GetNext(pos)->m_n;
    EXPECT_EQ(sum, 3);
    EXPECT_EQ(list.GetTail()->m_n, 2);
    EXPECT_EQ(list.RemoveHead()->m_n, 1);

    CTypedPtrList<CPtrList, std::string*> names;
    std::string a = "a";
    names.AddHead(&a);
    EXPECT_EQ(*names.GetHead(), "a");

    CTypedPtrArray<CObArray, CCollTestValue*> array;
    array.SetAtGrow(2, &v2);
    array.InsertAt(0, &v1);
    EXPECT_EQ(array.GetSize(), 4);
    EXPECT_EQ(array[0]->m_n, 1);
    EXPECT_EQ(array.GetAt(1), nullptr);
    EXPECT_EQ(array[3]->m_n, 2);
}

TEST(StringList, SerializesItsTexts)
{
    CStringList list;
    list.AddTail(CString("first"));
    list.AddTail(CString("second"));
    const Bytes bytes = Store([&](CArchive& ar) { list.Serialize(ar); });
    EXPECT_EQ(bytes, ByteBuilder().Word(2).Str("first").Str("second").Bytes());
    CStringList back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetTail(), "second");
}

// ---------------------------------------------------------------------------------------
// String map

TEST(MapStringToString, KeysMatchExactlyWithLetterCase)
{
    CMapStringToString map;
    map.SetAt("MMK", "C:\\WORK\\");
    map.SetAt("mmk", "lower");
    map["MBK"] = "D:\\PARTS\\";
    map.SetAt("MMK", "C:\\NEW\\"); // replaces
    EXPECT_EQ(map.GetCount(), 3);
    CString value;
    ASSERT_TRUE(map.Lookup("MMK", value));
    EXPECT_EQ(value, "C:\\NEW\\");
    ASSERT_TRUE(map.Lookup("mmk", value));
    EXPECT_EQ(value, "lower");
    EXPECT_FALSE(map.Lookup("Mmk", value));
    EXPECT_EQ(value, "lower"); // untouched on a miss
    const char* key = nullptr;
    ASSERT_TRUE(map.LookupKey("MBK", key));
    EXPECT_STREQ(key, "MBK");

    EXPECT_TRUE(map.RemoveKey("mmk"));
    EXPECT_FALSE(map.RemoveKey("mmk"));
    EXPECT_EQ(map.GetCount(), 2);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(MapStringToString, WalksInAdditionOrderAndAllowsRemovingTheCurrentEntry)
{
    CMapStringToString map;
    for (const char* k : {"a", "b", "c", "d"})
        map.SetAt(k, CString(k) + "!");
    std::vector<std::string> seen;
    CString key, value;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        map.GetNextAssoc(pos, key, value);
        seen.push_back(key.str() + "=" + value.str());
        if (key == "b" || key == "c")
            map.RemoveKey(key);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a=a!", "b=b!", "c=c!", "d=d!"}));
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_TRUE(map.Lookup("d", value));
    EXPECT_FALSE(map.Lookup("b", value));
}

TEST(MapStringToString, SerializesKeyValuePairs)
{
    CMapStringToString map;
    map.SetAt("MMD", "C:\\A\\");
    map.SetAt("MBD", "");
    const Bytes bytes = Store([&](CArchive& ar) { map.Serialize(ar); });
    EXPECT_EQ(bytes, ByteBuilder().Word(2).Str("MMD").Str("C:\\A\\").Str("MBD").Str("").Bytes());
    CMapStringToString back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    CString value;
    EXPECT_TRUE(back.Lookup("MMD", value));
    EXPECT_EQ(value, "C:\\A\\");
    EXPECT_TRUE(back.Lookup("MBD", value));
    EXPECT_EQ(value, "");
}
