#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/CObject.h"
#include "platform/base/Collections.h"
#include "platform/base/Cp932.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

// Serialisable classes for the object-record tests. Every instance is tracked, so that
// a test can tell exactly which objects an archive left alive.
class CArTestBase : public CObject {
public:
    CArTestBase() { Live().insert(this); }
    ~CArTestBase() override { Live().erase(this); }
    static std::set<CObject*>& Live()
    {
        static std::set<CObject*> live;
        return live;
    }
    // Frees every tracked object once (see CArTestBox for the owned children).
    static void DeleteAll();
};

// A number, a name and a link to another object (not owned).
class CArTestItem : public CArTestBase {
    DECLARE_SERIAL(CArTestItem)
public:
    CArTestItem() = default;
    CArTestItem(LONG value, const char* name) : m_nValue(value), m_strName(name) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_nValue << m_strName << m_pLink;
        } else {
            ar >> m_nValue >> m_strName;
            m_pLink = ar.ReadObject(nullptr);
        }
    }
    LONG m_nValue = 0;
    CString m_strName;
    CObject* m_pLink = nullptr;
};
IMPLEMENT_SERIAL(CArTestItem, CObject, 0)

// Schema 3; remembers the schema the archive handed to Serialize.
class CArTestOther : public CArTestBase {
    DECLARE_SERIAL(CArTestOther)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_w;
        } else {
            m_nLoadedSchema = ar.GetObjectSchema();
            ar >> m_w;
        }
    }
    WORD m_w = 7;
    UINT m_nLoadedSchema = 0;
};
IMPLEMENT_SERIAL(CArTestOther, CObject, 3)

// Owns the object it reads as its child.
class CArTestBox : public CArTestBase {
    DECLARE_SERIAL(CArTestBox)
public:
    ~CArTestBox() override { delete m_pChild; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_pChild << m_dwTail;
        } else {
            m_pChild = ar.ReadObject(RUNTIME_CLASS(CArTestItem));
            ar >> m_dwTail;
        }
    }
    CObject* m_pChild = nullptr;
    DWORD m_dwTail = 0xA1B2C3D4;
};
IMPLEMENT_SERIAL(CArTestBox, CObject, 0)

void CArTestBase::DeleteAll()
{
    // Children are tracked themselves: detach them first so that nothing is freed twice.
    for (CObject* ob : Live()) {
        if (auto* box = dynamic_cast<CArTestBox*>(ob))
            box->m_pChild = nullptr;
    }
    while (!Live().empty())
        delete *Live().begin();
}

// No fields: for the tests that need very many records.
class CArTestTiny : public CObject {
    DECLARE_SERIAL(CArTestTiny)
};
IMPLEMENT_SERIAL(CArTestTiny, CObject, 0)

// Reads older schemas itself.
class CArTestVersioned : public CObject {
    DECLARE_SERIAL(CArTestVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading())
            m_nSchema = ar.GetObjectSchema();
    }
    UINT m_nSchema = 0;
};
IMPLEMENT_SERIAL(CArTestVersioned, CObject, VERSIONABLE_SCHEMA | 2)

namespace {

using Bytes = std::vector<BYTE>;

Bytes Store(const std::function<void(CArchive&)>& write, int bufSize = 4096)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store, bufSize);
    write(ar);
    ar.Close();
    return file.Detach();
}

// A memory file that hands its bytes out only as copies, as a file on disk does: an archive
// reads it through its own buffer.
class CStreamedMemFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    const BYTE* ReadInPlace(UINT& nBytes) override
    {
        nBytes = 0;
        return nullptr;
    }
};

// Reads bytes from a memory file, in place (as a document's file is read) or through the
// archive's buffer of bufSize bytes.
void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read, int bufSize = 4096,
          bool bInPlace = true)
{
    std::unique_ptr<CMemFile> file =
        bInPlace ? std::make_unique<CMemFile>(bytes.data(), static_cast<UINT>(bytes.size()))
                 : std::make_unique<CStreamedMemFile>(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(file.get(), CArchive::load, bufSize);
    read(ar);
}

int CauseOf(const Bytes& bytes, const std::function<void(CArchive&)>& read)
{
    try {
        Load(bytes, read);
    } catch (CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

// Reads one value of type T.
template <class T>
void ReadValue(CArchive& ar)
{
    T v;
    ar >> v;
}

Bytes Prefix(const Bytes& bytes, size_t n)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n));
}

class ArchiveObjects : public ::testing::Test {
protected:
    void TearDown() override { CArTestBase::DeleteAll(); }
};

} // namespace

// ---------------------------------------------------------------------------------------
// Numbers

TEST(ArchiveNumbers, AreLittleEndianWithFixedWidths)
{
    const Bytes bytes = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0x1234) << static_cast<LONG>(-2)
           << static_cast<DWORD>(0xDEADBEEF) << 1.0f << -2.5 << static_cast<short>(-1) << 'Z';
    });
    const Bytes expected = ByteBuilder()
                               .Byte(0xAB)
                               .Word(0x1234)
                               .Dword(0xFFFFFFFE)
                               .Dword(0xDEADBEEF)
                               .Dword(0x3F800000)
                               .Dword(0x00000000)
                               .Dword(0xC0040000)
                               .Word(0xFFFF)
                               .Byte('Z')
                               .Bytes();
    EXPECT_EQ(bytes, expected);

    Load(bytes, [](CArchive& ar) {
        BYTE b;
        WORD w;
        LONG l;
        DWORD dw;
        float f;
        double d;
        short s;
        char ch;
        ar >> b >> w >> l >> dw >> f >> d >> s >> ch;
        EXPECT_EQ(b, 0xAB);
        EXPECT_EQ(w, 0x1234);
        EXPECT_EQ(l, -2);
        EXPECT_EQ(dw, 0xDEADBEEFu);
        EXPECT_EQ(f, 1.0f);
        EXPECT_EQ(d, -2.5);
        EXPECT_EQ(s, -1);
        EXPECT_EQ(ch, 'Z');
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
}

TEST(ArchiveNumbers, EveryTypedReadAtTheEndThrowsEndOfFile)
{
    const std::vector<std::pair<const char*, std::function<void(CArchive&)>>> reads = {
        {"BYTE", ReadValue<BYTE>},
        {"WORD", ReadValue<WORD>},
        {"LONG", ReadValue<LONG>},
        {"DWORD", ReadValue<DWORD>},
        {"float", ReadValue<float>},
        {"double", ReadValue<double>},
        {"CString", ReadValue<CString>},
        {"count", [](CArchive& ar) { ar.ReadCount(); }},
        {"object", [](CArchive& ar) { ar.ReadObject(nullptr); }},
    };
    // Nothing left, and one byte short of a whole value.
    for (const auto& [name, read] : reads) {
        SCOPED_TRACE(name);
        EXPECT_EQ(CauseOf({}, read), CArchiveException::endOfFile);
    }
    EXPECT_EQ(CauseOf({1}, ReadValue<WORD>), CArchiveException::endOfFile);
    EXPECT_EQ(CauseOf({1, 2, 3}, ReadValue<DWORD>), CArchiveException::endOfFile);
    EXPECT_EQ(CauseOf({1, 2, 3, 4, 5, 6, 7}, ReadValue<double>), CArchiveException::endOfFile);
}

TEST(ArchiveNumbers, ValuesCrossingBufferBoundariesReadWhole)
{
    // A 16-byte buffer makes every third or fourth value straddle a refill.
    const Bytes bytes = Store(
        [](CArchive& ar) {
            for (DWORD i = 0; i < 1000; ++i)
                ar << static_cast<BYTE>(i) << static_cast<WORD>(i * 3) << static_cast<DWORD>(i * 100003u);
        },
        16);
    ASSERT_EQ(bytes.size(), 7000u);
    EXPECT_EQ(bytes[7 * 999 + 3], static_cast<BYTE>(999 * 100003u));
    for (const bool bInPlace : {false, true}) {
        SCOPED_TRACE(bInPlace ? "in place" : "through the buffer");
        Load(
            bytes,
            [](CArchive& ar) {
                for (DWORD i = 0; i < 1000; ++i) {
                    BYTE b;
                    WORD w;
                    DWORD dw;
                    ar >> b >> w >> dw;
                    ASSERT_EQ(b, static_cast<BYTE>(i));
                    ASSERT_EQ(w, static_cast<WORD>(i * 3));
                    ASSERT_EQ(dw, i * 100003u);
                }
            },
            16, bInPlace);
    }
}

TEST(ArchiveModes, ReadingAStoringArchiveAndWritingALoadingOneAreRefused)
{
    CMemFile file;
    CArchive store(&file, CArchive::store);
    WORD w;
    try {
        store >> w;
        FAIL() << "read from a storing archive";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
    }
    EXPECT_EQ(CauseOf({1, 2}, [](CArchive& ar) { ar << static_cast<WORD>(1); }), CArchiveException::readOnly);
}

// ---------------------------------------------------------------------------------------
// Strings

TEST(ArchiveStrings, LengthPrefixesFollowTheStoredFormat)
{
    struct Case {
        size_t length;
        Bytes prefix;
    };
    const std::vector<Case> cases = {
        {0, {0x00}},
        {1, {0x01}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char>('a' + i % 26);
        const Bytes bytes = Store([&](CArchive& ar) { ar << CString(text); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix);
        EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(c.prefix.size()), bytes.end()), text);
        // The test's own builder agrees with the format description.
        EXPECT_EQ(bytes, ByteBuilder().Str(text).Bytes());
        Load(bytes, [&](CArchive& ar) {
            CString back;
            ar >> back;
            EXPECT_EQ(back.str(), text);
        });
    }
}

TEST(ArchiveStrings, Cp932BytesAreStoredUnchanged)
{
    // "表" and "ソ" end in 0x5C, "計" ends in the letter v: the bytes go through untouched.
    const std::string text = "\x95\x5C\x83\x5C\x8C\x76 m2";
    const Bytes bytes = Store([&](CArchive& ar) { ar << CString(text); });
    EXPECT_EQ(bytes, ByteBuilder().Byte(9).Raw(text).Bytes());
    Load(bytes, [&](CArchive& ar) {
        CString back;
        ar >> back;
        EXPECT_EQ(back.str(), text);
    });
}

TEST(ArchiveStrings, Utf16StringsBehindTheUnicodeMarkerAreConverted)
{
    // 0xFF 0xFFFE marks UTF-16; then the length in characters and the characters.
    const Bytes shortOne = ByteBuilder().Byte(0xFF).Word(0xFFFE).Byte(2).Word(u'A').Word(u'計').Bytes();
    Load(shortOne, [](CArchive& ar) {
        CString s;
        ar >> s;
        EXPECT_EQ(s.str(), "A\x8C\x76");
    });
    ByteBuilder longOne;
    longOne.Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(300);
    for (int i = 0; i < 300; ++i)
        longOne.Word(u'x');
    Load(longOne.Bytes(), [](CArchive& ar) {
        CString s;
        ar >> s;
        EXPECT_EQ(s.str(), std::string(300, 'x'));
    });
    // Two markers in a row, and a 64-bit length, are refused.
    EXPECT_EQ(CauseOf(ByteBuilder().Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFE).Byte(0).Bytes(),
                      ReadValue<CString>),
              CArchiveException::genericException);
    EXPECT_EQ(CauseOf(ByteBuilder().Byte(0xFF).Word(0xFFFF).Dword(0xFFFFFFFF).Dword(0).Dword(0).Bytes(),
                      ReadValue<CString>),
              CArchiveException::genericException);
}

TEST(ArchiveStrings, AHugeDamagedLengthEndsInEndOfFile)
{
    // A prefix claiming almost 4 GB in a file of a few bytes.
    const Bytes bytes = ByteBuilder().Byte(0xFF).Word(0xFFFF).Dword(0xFFFFFFF0).Raw("abc").Bytes();
    EXPECT_EQ(CauseOf(bytes, ReadValue<CString>), CArchiveException::endOfFile);
}

TEST(ArchiveStrings, CountsUseAWordOrTheEscapeAndADoubleWord)
{
    const Bytes bytes = Store([](CArchive& ar) {
        ar.WriteCount(0);
        ar.WriteCount(0xFFFE);
        ar.WriteCount(0xFFFF);
        ar.WriteCount(70000);
    });
    EXPECT_EQ(
        bytes,
        ByteBuilder().Word(0).Word(0xFFFE).Word(0xFFFF).Dword(0xFFFF).Word(0xFFFF).Dword(70000).Bytes());
    Load(bytes, [](CArchive& ar) {
        EXPECT_EQ(ar.ReadCount(), 0u);
        EXPECT_EQ(ar.ReadCount(), 0xFFFEu);
        EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
        EXPECT_EQ(ar.ReadCount(), 70000u);
    });
}

TEST(ArchiveStrings, TextLinesReadWithoutTheirLineEnds)
{
    const Bytes bytes = Store([](CArchive& ar) {
        ar.WriteString("first\r\n");
        ar.WriteString("second\n\nlast");
    });
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "first\r\nsecond\n\nlast");
    Load(
        bytes,
        [](CArchive& ar) {
            CString line;
            std::vector<std::string> lines;
            while (ar.ReadString(line))
                lines.push_back(line.str());
            EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "", "last"}));
        },
        16);
}

TEST(ArchiveStrings, RawReadReturnsWhatIsLeftWithoutThrowing)
{
    Bytes data(10000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<BYTE>(i * 7);
    for (const bool bInPlace : {false, true}) {
        SCOPED_TRACE(bInPlace ? "in place" : "through the buffer");
        Load(
            data,
            [&](CArchive& ar) {
                BYTE first;
                ar >> first;
                Bytes rest(20000);
                EXPECT_EQ(ar.Read(rest.data(), 20000), 9999u);
                EXPECT_TRUE(std::equal(data.begin() + 1, data.end(), rest.begin()));
                EXPECT_EQ(ar.Read(rest.data(), 5), 0u);
                EXPECT_THROW(ReadValue<BYTE>(ar), CArchiveException);
            },
            64, bInPlace);
    }
}

// ---------------------------------------------------------------------------------------
// Files and buffers

// Whether read ahead into the archive's buffer or taken in place (the rest of a memory file
// handed out at once), the bytes an archive did not use go back to its file.
TEST(ArchiveFiles, ClosingALoadingArchiveGivesUnreadBytesBackToTheFile)
{
    const Bytes bytes = ByteBuilder().Word(0x0102).Raw("rest of the file").Bytes();
    CMemFile inPlace(bytes.data(), static_cast<UINT>(bytes.size()));
    CStreamedMemFile streamed(bytes.data(), static_cast<UINT>(bytes.size()));
    for (CMemFile* pFile : {&inPlace, static_cast<CMemFile*>(&streamed)}) {
        CArchive ar(pFile, CArchive::load);
        WORD w;
        ar >> w;
        EXPECT_EQ(w, 0x0102);
        ar.Close();
        EXPECT_EQ(pFile->GetPosition(), 2u);
        // What follows reads on from there, in place or not.
        CArchive again(pFile, CArchive::load);
        char rest[16];
        again.Read(rest, sizeof rest);
        EXPECT_EQ(std::string(rest, sizeof rest), "rest of the file");
        again.Close();
    }
    // A memory file made of a file's bytes takes them over as they lie, and an archive
    // reads them there.
    Bytes taken = bytes;
    const BYTE* pTaken = taken.data();
    CMemFile file(std::move(taken));
    EXPECT_EQ(file.GetData().data(), pTaken);
    UINT nRest = 0;
    EXPECT_EQ(file.ReadInPlace(nRest), pTaken);
    EXPECT_EQ(nRest, bytes.size());
    EXPECT_EQ(file.ReadInPlace(nRest), nullptr);
    EXPECT_EQ(nRest, 0u);
}

TEST(ArchiveFiles, DestroyingWithoutCloseWritesTheBufferButNotDuringAnException)
{
    CMemFile kept;
    {
        CArchive ar(&kept, CArchive::store);
        ar << static_cast<DWORD>(5);
    }
    EXPECT_EQ(kept.GetLength(), 4u);

    CMemFile dropped;
    try {
        CArchive ar(&dropped, CArchive::store);
        ar << static_cast<DWORD>(5);
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(dropped.GetLength(), 0u);
}

TEST(ArchiveFiles, AStringThroughADiskFileIsByteExact)
{
    TempDir dir;
    const CString path = dir.Folder() + "NAME.DAT";
    const std::string name(300, 'n');
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << CString(name) << static_cast<WORD>(2);
        ar.Close();
        file.Close();
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("NAME.DAT")), ByteBuilder().Str(name).Word(2).Bytes());
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    CArchive ar(&file, CArchive::load);
    CString back;
    WORD w;
    ar >> back >> w;
    EXPECT_EQ(back.str(), name);
    EXPECT_EQ(w, 2);
}

TEST(ArchiveFiles, BufferSizeDoesNotChangeTheBytes)
{
    const auto write = [](CArchive& ar) {
        for (int i = 0; i < 50; ++i) {
            ar << CString(std::string(static_cast<size_t>(i * 97), static_cast<char>('A' + i % 26)));
            ar << static_cast<DWORD>(i);
        }
    };
    const Bytes reference = Store(write, 4096);
    for (int size : {1, 16, 100, 32000}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(Store(write, size), reference);
        Load(
            reference,
            [](CArchive& ar) {
                for (int i = 0; i < 50; ++i) {
                    CString s;
                    DWORD dw;
                    ar >> s >> dw;
                    ASSERT_EQ(s.GetLength(), i * 97);
                    ASSERT_EQ(dw, static_cast<DWORD>(i));
                }
            },
            size, false);
    }
}

// ---------------------------------------------------------------------------------------
// Objects and classes

namespace {

// The stored form of the scenario below, written out from the record format.
Bytes ScenarioBytes()
{
    // clang-format off
    return ByteBuilder()
        // a: new class CArTestItem (index 1), object index 2
        .Word(0xFFFF).Word(0).Word(11).Raw("CArTestItem")
        .Dword(1).Str("a").Word(0x0000)
        // b: class reference to index 1, object index 3, links to a
        .Word(0x8001)
        .Dword(2).Str("bb").Word(0x0002)
        // a again, then a null pointer
        .Word(0x0002)
        .Word(0x0000)
        // c: new class CArTestOther with schema 3 (index 4), object index 5
        .Word(0xFFFF).Word(3).Word(12).Raw("CArTestOther")
        .Word(7)
        // b again
        .Word(0x0003)
        .Bytes();
    // clang-format on
}

} // namespace

TEST_F(ArchiveObjects, RecordsShareOneCounterForClassesAndObjects)
{
    const Bytes bytes = Store([](CArchive& ar) {
        CArTestItem a(1, "a");
        CArTestItem b(2, "bb");
        b.m_pLink = &a;
        CArTestOther c;
        ar << &a << &b << &a << static_cast<CObject*>(nullptr) << &c << &b;
    });
    EXPECT_EQ(bytes, ScenarioBytes());
}

TEST_F(ArchiveObjects, ReadingBackRebuildsObjectsAndReferences)
{
    Load(ScenarioBytes(), [](CArchive& ar) {
        CObject* p[6];
        for (CObject*& ob : p)
            ob = ar.ReadObject(nullptr);
        ASSERT_NE(p[0], nullptr);
        ASSERT_TRUE(p[0]->IsKindOf(RUNTIME_CLASS(CArTestItem)));
        ASSERT_TRUE(p[1]->IsKindOf(RUNTIME_CLASS(CArTestItem)));
        auto* a = static_cast<CArTestItem*>(p[0]);
        auto* b = static_cast<CArTestItem*>(p[1]);
        EXPECT_EQ(a->m_nValue, 1);
        EXPECT_EQ(a->m_strName, "a");
        EXPECT_EQ(a->m_pLink, nullptr);
        EXPECT_EQ(b->m_strName, "bb");
        EXPECT_EQ(b->m_pLink, a);
        EXPECT_EQ(p[2], a);
        EXPECT_EQ(p[3], nullptr);
        ASSERT_TRUE(p[4]->IsKindOf(RUNTIME_CLASS(CArTestOther)));
        EXPECT_EQ(static_cast<CArTestOther*>(p[4])->m_nLoadedSchema, 3u);
        EXPECT_EQ(static_cast<CArTestOther*>(p[4])->m_w, 7);
        EXPECT_EQ(p[5], b);
        EXPECT_EQ(CArTestBase::Live().size(), 3u);
    });
}

TEST_F(ArchiveObjects, IndexesFrom0x7FFFUseTheLongForm)
{
    // Class CArTestTiny takes index 1, object k index k + 2.
    const size_t n = 0x8002;
    std::vector<CArTestTiny> tiny(n);
    CArTestOther late1, late2;
    const Bytes bytes = Store([&](CArchive& ar) {
        for (const CArTestTiny& t : tiny)
            ar << &t;
        ar << &tiny[0x7FFC] << &tiny[0x7FFD] << &tiny[0x7FFE];
        ar << &late1 << &late2;
    });

    ByteBuilder expected;
    expected.Word(0xFFFF).Word(0).Word(11).Raw("CArTestTiny");
    for (size_t k = 1; k < n; ++k)
        expected.Word(0x8001);
    expected.Word(0x7FFE);               // object index 0x7FFE still fits a word
    expected.Word(0x7FFF).Dword(0x7FFF); // index 0x7FFF needs the long form
    expected.Word(0x7FFF).Dword(0x8000);
    const DWORD lateClass = static_cast<DWORD>(n) + 2;
    expected.Word(0xFFFF).Word(3).Word(12).Raw("CArTestOther").Word(7);
    expected.Word(0x7FFF).Dword(0x80000000u | lateClass).Word(7);
    EXPECT_EQ(bytes, expected.Bytes());

    Load(bytes, [&](CArchive& ar) {
        std::vector<CObject*> read(n);
        for (CObject*& ob : read)
            ob = ar.ReadObject(RUNTIME_CLASS(CArTestTiny));
        EXPECT_EQ(ar.ReadObject(nullptr), read[0x7FFC]);
        EXPECT_EQ(ar.ReadObject(nullptr), read[0x7FFD]);
        EXPECT_EQ(ar.ReadObject(nullptr), read[0x7FFE]);
        CObject* l1 = ar.ReadObject(nullptr);
        CObject* l2 = ar.ReadObject(nullptr);
        EXPECT_TRUE(l1->IsKindOf(RUNTIME_CLASS(CArTestOther)));
        EXPECT_TRUE(l2->IsKindOf(RUNTIME_CLASS(CArTestOther)));
        EXPECT_NE(l1, l2);
        for (CObject* ob : read)
            delete ob;
    });
}

TEST_F(ArchiveObjects, DamagedRecordsAreRefusedWithTheirCause)
{
    const auto readOne = [](CArchive& ar) { ar.ReadObject(nullptr); };
    const auto readItem = [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CArTestItem)); };
    const Bytes itemRecord =
        ByteBuilder().Word(0xFFFF).Word(0).Word(11).Raw("CArTestItem").Dword(1).Str("a").Word(0).Bytes();

    // A class nobody registered, or a name with a zero byte in it.
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0xFFFF).Word(0).Word(7).Raw("CNobody").Bytes(), readOne),
              CArchiveException::badClass);
    EXPECT_EQ(
        CauseOf(ByteBuilder().Word(0xFFFF).Word(0).Word(13).Raw(std::string("CArTestItem\0x", 13)).Bytes(),
                readOne),
        CArchiveException::badClass);
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0xFFFF).Word(0).Word(0).Bytes(), readOne),
              CArchiveException::badClass);
    // A schema other than the class's own.
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0xFFFF).Word(1).Word(11).Raw("CArTestItem").Bytes(), readOne),
              CArchiveException::badSchema);
    // References to indexes never given out, to index 0 as a class, to a class as an
    // object and to an object as a class.
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0x0005).Bytes(), readOne), CArchiveException::badIndex);
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0x8000).Bytes(), readOne), CArchiveException::badIndex);
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0x8003).Bytes(), readOne), CArchiveException::badIndex);
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0x7FFF).Dword(0x80000009u).Bytes(), readOne),
              CArchiveException::badIndex);
    Bytes classAsObject = itemRecord;
    ByteBuilder tail;
    tail.Word(0x0001);
    classAsObject.insert(classAsObject.end(), tail.Bytes().begin(), tail.Bytes().end());
    EXPECT_EQ(CauseOf(classAsObject,
                      [](CArchive& ar) {
                          delete ar.ReadObject(nullptr);
                          ar.ReadObject(nullptr);
                      }),
              CArchiveException::badIndex);
    Bytes objectAsClass = itemRecord;
    ByteBuilder tail2;
    tail2.Word(0x8002);
    objectAsClass.insert(objectAsClass.end(), tail2.Bytes().begin(), tail2.Bytes().end());
    EXPECT_EQ(CauseOf(objectAsClass,
                      [](CArchive& ar) {
                          delete ar.ReadObject(nullptr);
                          ar.ReadObject(nullptr);
                      }),
              CArchiveException::badIndex);
    // An object of the wrong class where an item is expected, new or referenced.
    EXPECT_EQ(
        CauseOf(ByteBuilder().Word(0xFFFF).Word(3).Word(12).Raw("CArTestOther").Word(7).Bytes(), readItem),
        CArchiveException::badClass);
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0xFFFF).Word(3).Word(12).Raw("CArTestOther").Word(7).Word(2).Bytes(),
                      [](CArchive& ar) {
                          std::unique_ptr<CObject> first(ar.ReadObject(nullptr));
                          ar.ReadObject(RUNTIME_CLASS(CArTestItem));
                      }),
              CArchiveException::badClass);
    // A class reference where only a class may stand.
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0x0000).Bytes(), [](CArchive& ar) { ar.ReadClass(); }),
              CArchiveException::badIndex);
    EXPECT_TRUE(CArTestBase::Live().empty());
}

TEST_F(ArchiveObjects, ARegisteredClassThatCannotBeCreatedIsRefused)
{
    static CRuntimeClass notCreatable = {"CArTestAbstract", 8, 0, nullptr, RUNTIME_CLASS(CObject)};
    CRuntimeClass::Register(&notCreatable);
    EXPECT_EQ(CRuntimeClass::FromName("CArTestAbstract"), &notCreatable);
    EXPECT_EQ(CauseOf(ByteBuilder().Word(0xFFFF).Word(0).Word(15).Raw("CArTestAbstract").Bytes(),
                      [](CArchive& ar) { ar.ReadObject(nullptr); }),
              CArchiveException::badClass);
}

TEST_F(ArchiveObjects, AVersionableClassReadsTheStoredSchema)
{
    const Bytes bytes =
        ByteBuilder().Word(0xFFFF).Word(1).Word(16).Raw("CArTestVersioned").Word(0x8001).Bytes();
    Load(bytes, [](CArchive& ar) {
        CObject* first = ar.ReadObject(nullptr);
        CObject* second = ar.ReadObject(nullptr);
        EXPECT_EQ(static_cast<CArTestVersioned*>(first)->m_nSchema, 1u);
        // The schema the file gave sticks to the class for its later objects.
        EXPECT_EQ(static_cast<CArTestVersioned*>(second)->m_nSchema, 1u);
        delete first;
        delete second;
    });
    // Writing stores the schema without the flag.
    CArTestVersioned v;
    EXPECT_EQ(Store([&](CArchive& ar) { ar << &v; }),
              ByteBuilder().Word(0xFFFF).Word(2).Word(16).Raw("CArTestVersioned").Bytes());
}

TEST_F(ArchiveObjects, ObjectsOfClassesWithoutASchemaCannotBeWritten)
{
    CObject* plain = new CArTestBase;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    try {
        ar << plain;
        ADD_FAILURE() << "a non-serialisable object was written";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
    delete plain;
}

TEST_F(ArchiveObjects, TruncationAtEveryLengthThrowsEndOfFileAndLeavesNothingBehind)
{
    // The scenario, then a box that owns a freshly read child item.
    Bytes full = ScenarioBytes();
    // clang-format off
    const Bytes box = ByteBuilder()
                          .Word(0xFFFF).Word(0).Word(10).Raw("CArTestBox")
                          .Word(0x8001).Dword(9).Str("child").Word(0x0005)
                          .Dword(0xA1B2C3D4)
                          .Bytes();
    // clang-format on
    full.insert(full.end(), box.begin(), box.end());
    const auto readAll = [](CArchive& ar, std::vector<CObject*>& got) {
        for (int i = 0; i < 7; ++i)
            got.push_back(ar.ReadObject(nullptr));
    };
    {
        std::vector<CObject*> got;
        Load(full, [&](CArchive& ar) { readAll(ar, got); });
        ASSERT_TRUE(got[6]->IsKindOf(RUNTIME_CLASS(CArTestBox)));
        EXPECT_EQ(static_cast<CArTestItem*>(static_cast<CArTestBox*>(got[6])->m_pChild)->m_pLink, got[4]);
        CArTestBase::DeleteAll();
    }
    for (size_t len = 0; len < full.size(); ++len) {
        SCOPED_TRACE(len);
        std::vector<CObject*> got;
        const int cause = CauseOf(Prefix(full, len), [&](CArchive& ar) { readAll(ar, got); });
        ASSERT_EQ(cause, CArchiveException::endOfFile);
        // Alive are exactly the objects handed out: a half-read object (and whatever it
        // read into itself) is gone.
        std::set<CObject*> handedOut(got.begin(), got.end());
        handedOut.erase(nullptr);
        EXPECT_EQ(CArTestBase::Live(), handedOut);
        CArTestBase::DeleteAll();
    }
}

TEST_F(ArchiveObjects, RandomBytesNeverCrash)
{
    const Bytes valid = ScenarioBytes();
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        Bytes input;
        if (seed % 2 == 0) {
            // Valid records with a few bytes changed.
            input = valid;
            const int flips = 1 + static_cast<int>(rng() % 4);
            for (int i = 0; i < flips; ++i)
                input[rng() % input.size()] = static_cast<BYTE>(rng());
            input.resize(rng() % (input.size() + 1));
        } else {
            input.resize(rng() % 200);
            for (BYTE& b : input)
                b = static_cast<BYTE>(rng());
            if (input.size() > 2 && seed % 3 == 0) {
                input[0] = 0xFF;
                input[1] = 0xFF; // start with a new-class tag
            }
        }
        try {
            Load(input, [](CArchive& ar) {
                for (int i = 0; i < 50; ++i) {
                    ar.ReadObject(nullptr);
                    CString s;
                    ar >> s;
                    ar.ReadCount();
                }
            });
        } catch (CArchiveException&) {
        }
        CArTestBase::DeleteAll();
    }
}

TEST_F(ArchiveObjects, AnObjectListStoresItsCountThenItsRecords)
{
    // The layout of a clipboard block: a list of records of one class.
    CObList list;
    for (int i = 0; i < 3; ++i)
        list.AddTail(new CArTestItem(i, "r"));
    const Bytes bytes = Store([&](CArchive& ar) { list.Serialize(ar); });
    // clang-format off
    const Bytes expected = ByteBuilder()
                               .Word(3)
                               .Word(0xFFFF).Word(0).Word(11).Raw("CArTestItem").Dword(0).Str("r").Word(0)
                               .Word(0x8001).Dword(1).Str("r").Word(0)
                               .Word(0x8001).Dword(2).Str("r").Word(0)
                               .Bytes();
    // clang-format on
    EXPECT_EQ(bytes, expected);

    CObList back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetCount(), 3);
    POSITION pos = back.GetHeadPosition();
    for (int i = 0; i < 3; ++i) {
        auto* item = static_cast<CArTestItem*>(back.GetNext(pos));
        EXPECT_EQ(item->m_nValue, i);
    }
}
