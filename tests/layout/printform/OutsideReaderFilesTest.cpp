// Layout files written by our writer for the outside reader's check
// (check_with_olefile.sh): when MORVEL_LAYOUT_OUT names a folder, an estimate layout with
// two embedded pictures, a parts layout and a layout of 500 objects are saved there through
// the documents, each with a listing of every stream the file should hold (path, size and
// an FNV-1a sum of the bytes) for the reader to compare.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "platform/base/Path.h"
#include "tests/layout/printform/LayoutTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

uint32_t Fnv1a(const std::vector<BYTE>& bytes)
{
    uint32_t h = 2166136261u;
    for (BYTE b : bytes) {
        h ^= b;
        h *= 16777619u;
    }
    return h;
}

std::string EscapedName(const CString& name)
{
    std::string out;
    for (unsigned char c : name.ToUtf8()) {
        if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void ListStreams(const CCompoundStorage& storage, const std::string& prefix, std::ofstream& out)
{
    for (const CCompoundStorage::CChild& child : storage.GetChildren()) {
        const std::string path = prefix + EscapedName(child.strName);
        if (child.pStream)
            out << path << '\t' << child.pStream->size() << '\t' << Fnv1a(*child.pStream) << '\n';
        else
            ListStreams(*child.pStorage, path + "/", out);
    }
}

void WriteListing(const std::string& nativeFile)
{
    const CCompoundStorage file = ReadLayoutFile(nativeFile);
    std::ofstream out(nativeFile + ".list");
    ListStreams(file, "", out);
}

} // namespace

TEST_F(LayoutAppTest, WriteLayoutsForTheOutsideReader)
{
    const char* lpszOut = std::getenv("MORVEL_LAYOUT_OUT");
    if (lpszOut == nullptr || *lpszOut == '\0')
        GTEST_SKIP() << "MORVEL_LAYOUT_OUT names no folder";
    const std::string out = lpszOut;
    std::filesystem::create_directories(out);
    const CString outFolder = SystemPathFromNative(out) + "\\";

    {
        CPrintEMDoc doc;
        ASSERT_TRUE(doc.ReadForms("meisai.MMK", "JYOUHOU.MJK"));
        auto* pText = new CDrawText(CRect(-300, 500, 300, 440));
        pText->m_strText = "御見積書"_sj;
        doc.Add(pText);
        for (int n = 0; n < 2; ++n) {
            auto* pOle = new CDrawOleObj(CRect(-100, -100 - 200 * n, 100, -200 - 200 * n));
            pOle->m_pClientItem = new CDrawItem(&doc, pOle);
            ASSERT_TRUE(
                pOle->m_pClientItem->CreateFromStorage(MakePictureStorage(5080, 2540 * (n + 1), "Paint")));
            doc.Add(pOle);
        }
        ASSERT_TRUE(doc.OnSaveDocument(outFolder + "PICTURES.MMP"));
        WriteListing(out + "/PICTURES.MMP");
    }
    {
        CPrintPMDoc doc;
        ASSERT_TRUE(doc.ReadForms("BUZAI.MBK"));
        auto* pTable = new CDrawTable(CRect(300, 0, -300, 60));
        pTable->AddCell(CRect(300, 0, 0, 30))->m_strText = "$部材(1,部材名,1)$"_sj;
        pTable->AddCell(CRect(0, 0, -300, 30))->m_strText = "$部材(1,数量,1)$"_sj;
        doc.Add(pTable);
        ASSERT_TRUE(doc.OnSaveDocument(outFolder + "PARTS.MBP"));
        WriteListing(out + "/PARTS.MBP");
    }
    {
        CPrintEMDoc doc;
        ASSERT_TRUE(doc.ReadForms("meisai.MMK", "JYOUHOU.MJK"));
        for (int i = 0; i < 500; ++i) {
            auto* pRect = new CDrawRect(CRect(-400 + i, 500 - i, -300 + i, 480 - i));
            pRect->m_nShape = i % 2;
            doc.Add(pRect);
        }
        ASSERT_TRUE(doc.OnSaveDocument(outFolder + "MANY.MMP"));
        WriteListing(out + "/MANY.MMP");
    }
}
