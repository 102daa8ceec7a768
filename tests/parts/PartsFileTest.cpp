// The parts file: what is read is what was stored, what is written is the format byte for
// byte, the backup keeps the previous version beside the file.
#include "tests/parts/PartsTestSupport.h"

#include "app/SharedRecords.h"
#include "engine/estimate/CGridRow.h"

#include <filesystem>

namespace {

class PartsFileTest : public PartsTest {};

} // namespace

TEST_F(PartsFileTest, AFileReadsIntoTheDocumentAndItsView)
{
    Write("list.mbd", SamplePartsFile());
    OpenedParts p;
    ASSERT_TRUE(p.doc->OnOpenDocument(Path("list.mbd")));
    p.view->OnInitialUpdate();
    EXPECT_EQ(150, p.doc->m_nZoom);
    EXPECT_EQ(Sj("BUZAI.MBK"), p.doc->m_strFormName.str());
    EXPECT_EQ(6, p.doc->m_form.GetCount());
    EXPECT_EQ(2, p.doc->m_nRowsRead);
    EXPECT_EQ(2, p.doc->GetRowsInUse());
    EXPECT_EQ(6, p.view->GetColumnCount());
    EXPECT_EQ(1100, p.view->GetRowLimit());
    // Cells as stored, no formatting on the way in.
    EXPECT_EQ(Sj("異形棒鋼"), p.view->GetCellText(0, 0).str());
    EXPECT_EQ("12.500000", p.view->GetCellText(0, 1).str());
    EXPECT_EQ("xyz", p.view->GetCellText(0, 5).str());
    // The row never written is an allocated, empty row.
    ASSERT_NE(nullptr, p.doc->GetRow(1));
    EXPECT_EQ("", p.view->GetCellText(1, 0).str());
    // Outside the columns and the limit: empty.
    EXPECT_EQ("", p.view->GetCellText(0, 6).str());
    EXPECT_EQ("", p.view->GetCellText(-1, 0).str());
    ASSERT_EQ(2, p.doc->m_aPrintForms.GetSize());
    const auto* pEntry = static_cast<const CPrintFormEntry*>(p.doc->m_aPrintForms[0]);
    EXPECT_EQ(Sj("部材表.MBP"), pEntry->m_strTitle.str());
    EXPECT_EQ("C:\\MORVEL\\FORM\\", pEntry->m_strFolder.str());
    // The geometry: titles from the form, widths its 幅 x 10 at 150 %.
    EXPECT_EQ(Sj("単価"), p.view->GetColumnTitle(3).str());
    EXPECT_EQ(100, p.view->GetBaseColumnWidth(3));
    EXPECT_EQ(150, p.view->GetColumnWidth(3));
    EXPECT_EQ(150, p.view->GetMetrics().nZoom);
    // Row limit 1100: four digits and one more, 9 pixels each.
    EXPECT_EQ(45 * 150 / 100, p.view->GetMetrics().nRowHeaderWidth);
}

TEST_F(PartsFileTest, SavingWritesTheFormatByteForByteAndReopensUnchanged)
{
    OpenedParts p;
    p.doc->m_nZoom = 150;
    p.doc->m_strFormName = CString::FromUtf8("BUZAI.MBK");
    FillForm(p.doc->m_form, SamplePartItems());
    p.view->TakeDocumentRows();
    const char* cells[] = {"異形棒鋼", "12.500000", "kg", "98.000000", "1225.000000", "xyz"};
    // Row 1 is in use but never written (rows arrive as registering them from an estimate
    // brings them).
    std::vector<std::unique_ptr<CGridRow>> rows(2);
    rows[0] = std::make_unique<CGridRow>();
    for (int c = 0; c < 6; ++c)
        rows[0]->SetCell(c, CString::FromUtf8(cells[c]));
    p.doc->AppendRows(std::move(rows));
    for (auto [title, folder] : {std::pair{"部材表.MBP", "C:\\MORVEL\\FORM\\"}, std::pair{"集計", ""}}) {
        auto* pEntry = new CPrintFormEntry;
        pEntry->m_strTitle = CString::FromUtf8(title);
        pEntry->m_strFolder = CString::FromUtf8(folder);
        p.doc->m_aPrintForms.Add(pEntry);
    }
    ASSERT_TRUE(p.doc->OnSaveDocument(Path("out.mbd")));
    EXPECT_EQ(SamplePartsFile(), Read("out.mbd"));

    OpenedParts q;
    ASSERT_TRUE(q.doc->OnOpenDocument(Path("out.mbd")));
    q.view->OnInitialUpdate();
    ASSERT_TRUE(q.doc->OnSaveDocument(Path("again.mbd")));
    EXPECT_EQ(SamplePartsFile(), Read("again.mbd"));
}

TEST_F(PartsFileTest, AnEmptyListStoresNoCells)
{
    OpenedParts p;
    FillForm(p.doc->m_form, SamplePartItems());
    p.doc->m_strFormName = "F";
    ASSERT_TRUE(p.doc->OnSaveDocument(Path("empty.mbd")));
    PartsFileBuilder b;
    b.Magic().Word(100).Text("F").Form(SamplePartItems()).Word(0).Word(6).Word(0);
    EXPECT_EQ(b.Bytes(), Read("empty.mbd"));
    OpenedParts q;
    ASSERT_TRUE(q.doc->OnOpenDocument(Path("empty.mbd")));
    EXPECT_EQ(0, q.doc->GetRowsInUse());
    EXPECT_EQ(0, q.doc->GetRowArraySize());
}

TEST_F(PartsFileTest, TheBackupSitsBesideTheFileUnderItsOwnStem)
{
    EXPECT_EQ("/a.b/LIST.OLD.BBD", CMorvelPMDoc::GetBackupPathName("/a.b/LIST.OLD.MBD").str());
    EXPECT_EQ("C:\\x.y\\LIST.BBD", CMorvelPMDoc::GetBackupPathName("C:\\x.y\\LIST.MBD").str());
    EXPECT_EQ("/a.b/LIST.BBD", CMorvelPMDoc::GetBackupPathName("/a.b/LIST").str());

    std::filesystem::create_directory(Native("a.b"));
    OpenedParts p;
    FillForm(p.doc->m_form, SamplePartItems());
    settings->WriteProfileInt("Input Setting", "Backup File", 0);
    ASSERT_TRUE(p.doc->OnSaveDocument(Path("a.b/LIST.OLD.MBD")));
    // No file before the first save: no backup.
    EXPECT_FALSE(std::filesystem::exists(Native("a.b/LIST.OLD.BBD")));
    const std::vector<uint8_t> first = Read("a.b/LIST.OLD.MBD");
    p.view->TakeDocumentRows();
    p.view->SetCellText("x", 0, 0);
    ASSERT_TRUE(p.doc->OnSaveDocument(Path("a.b/LIST.OLD.MBD")));
    EXPECT_EQ(first, Read("a.b/LIST.OLD.BBD"));
    EXPECT_NE(first, Read("a.b/LIST.OLD.MBD"));
    EXPECT_FALSE(std::filesystem::exists(Native("a.b/LIST.BBD")));
    EXPECT_FALSE(std::filesystem::exists(Native("a.BBD")));

    // Backups off: the old backup stays as it was.
    settings->WriteProfileInt("Input Setting", "Backup File", 1);
    p.view->SetCellText("y", 0, 0);
    ASSERT_TRUE(p.doc->OnSaveDocument(Path("a.b/LIST.OLD.MBD")));
    EXPECT_EQ(first, Read("a.b/LIST.OLD.BBD"));
}

TEST_F(PartsFileTest, MoreRowsThanTheLimitRaiseItAndKeepEveryRow)
{
    for (int nLimit : {5, 8}) {
        SCOPED_TRACE(nLimit);
        settings->WriteProfileInt("Input Setting", "Parts Maxmum Rows", nLimit);
        PartsFileBuilder b;
        b.Magic().Word(100).Text("F").Form(SamplePartItems()).Word(12).Word(6);
        for (int r = 0; r < 12; ++r) {
            b.bytes.Str(std::to_string(r));
            for (int c = 1; c < 6; ++c)
                b.Text("");
        }
        b.Word(0);
        Write("many.mbd", b.Bytes());
        OpenedParts p;
        ASSERT_TRUE(p.doc->OnOpenDocument(Path("many.mbd")));
        p.view->OnInitialUpdate();
        // Doubled until every row fits: once from 8, twice from 5.
        EXPECT_EQ(nLimit == 8 ? 16 : 20, p.view->GetRowLimit());
        for (int r = 0; r < 12; ++r)
            EXPECT_EQ(std::to_string(r), p.view->GetCellText(r, 0).str());
        ASSERT_TRUE(p.doc->OnSaveDocument(Path("many2.mbd")));
        EXPECT_EQ(b.Bytes(), Read("many2.mbd"));
    }
}

TEST_F(PartsFileTest, AZoomOfZeroReadsAs100)
{
    PartsFileBuilder b;
    b.Magic().Word(0).Text("F").Form(SamplePartItems()).Word(0).Word(6).Word(0);
    Write("zoom.mbd", b.Bytes());
    OpenedParts p;
    ASSERT_TRUE(p.doc->OnOpenDocument(Path("zoom.mbd")));
    p.view->OnInitialUpdate();
    EXPECT_EQ(100, p.doc->m_nZoom);
    EXPECT_EQ(100, p.view->GetMetrics().nZoom);
    EXPECT_EQ(200, p.view->GetColumnWidth(0));
    EXPECT_GT(p.view->GetMetrics().nRowHeight, 0);
}

TEST_F(PartsFileTest, ColourSettingsKeepTheLowByteOfEachNumber)
{
    settings->WriteProfileString("Color Setting", "Part Text", "255,0,0");
    settings->WriteProfileString("Color Setting", "Part Background", "300,0,0");
    EXPECT_EQ(RGB(255, 0, 0), CMorvelPMDoc::ReadColorSetting("Part Text"));
    EXPECT_EQ(RGB(44, 0, 0), CMorvelPMDoc::ReadColorSetting("Part Background"));
    OpenedParts p;
    EXPECT_EQ(RGB(255, 0, 0), p.doc->GetTextColor());
    EXPECT_EQ(RGB(44, 0, 0), p.doc->GetBackColor());
    // Missing or short: black text on white cells.
    settings->WriteProfileString("Color Setting", "Part Text", "12,34");
    EXPECT_EQ(RGB(0, 0, 0), CMorvelPMDoc::ReadColorSetting("Part Text"));
    settings->WriteProfileString("Color Setting", "Part Background", "");
    OpenedParts q;
    EXPECT_EQ(RGB(0, 0, 0), q.doc->GetTextColor());
    EXPECT_EQ(RGB(255, 255, 255), q.doc->GetBackColor());
}
