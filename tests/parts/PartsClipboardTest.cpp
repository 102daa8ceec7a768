// Rows and blocks of cells of a parts list through the desktop clipboard in the format
// "Morvel PM Data": copy, cut and paste in the real parts window with their undo and redo,
// between two parts windows, and a clipboard whose content is damaged. The last test goes
// through a real X clipboard with another program (xclip) on either side; it runs only
// under an X display (QT_QPA_PLATFORM=xcb) and skips itself elsewhere.
#include "tests/parts/PartsWindowFixture.h"

#include "engine/parts/CPMObj.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"
#include "tests/parts/PartsTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/RealInput.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

enum { colName = 0, colSpec = 1, colQty = 2, colUnit = 3, colPrice = 4, colAmount = 5, colNote = 6 };

// The clipboard's bytes in the parts format.
std::vector<BYTE> ClipboardBytes()
{
    COleDataObject data;
    std::vector<BYTE> bytes;
    if (data.AttachClipboard())
        data.GetBytes(static_cast<CLIPFORMAT>(CMorvelPMView::GetDataFormat()), bytes);
    return bytes;
}

void PutOnClipboard(const std::vector<BYTE>& bytes)
{
    auto* pSource = new COleDataSource;
    pSource->CacheData(static_cast<CLIPFORMAT>(CMorvelPMView::GetDataFormat()), bytes);
    pSource->SetClipboard();
}

// One record of the clipboard format, written byte by byte: the four words, then 100
// strings (a length byte and the bytes; only the block's columns hold text).
void AppendRecord(ByteBuilder& b, bool bFirst, int nFirstCol, int nLastCol, int nRow, int nLastRow,
                  const std::vector<std::string>& texts)
{
    if (bFirst) {
        // A new class: 0xFFFF, the schema word, the name's length word and the name.
        b.Word(0xFFFF).Word(0).Word(6).Raw("CPMObj");
    } else {
        // The class again: 0x8000 | its index (1, the first object record's class).
        b.Word(0x8001);
    }
    b.Word(static_cast<uint16_t>(nFirstCol)).Word(static_cast<uint16_t>(nLastCol));
    b.Word(static_cast<uint16_t>(nRow)).Word(static_cast<uint16_t>(nLastRow));
    for (int c = 0; c < 100; ++c) {
        const bool bInBlock = c >= nFirstCol && c <= nLastCol;
        b.Str(bInBlock ? Sj(texts[static_cast<size_t>(c - nFirstCol)].c_str()) : std::string());
    }
}

class PartsClipboardTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        ASSERT_NE(nullptr, OpenSample());
    }
    void SelectBlock(int nCol1, int nRow1, int nCol2, int nRow2)
    {
        Click(nCol1, nRow1);
        m_pView->SetSelection(CMorvelView::selectBlock, CRect(nCol1, nRow1, nCol2, nRow2));
    }
    void SelectRows(int nFirst, int nLast)
    {
        Click(colName, nFirst);
        m_pView->SetSelection(CMorvelView::selectRows,
                              CRect(0, nFirst, m_pView->GetColumnCount() - 1, nLast));
    }
    // A user's drags and keys through the window system. The drags go through the middle
    // of cells and headers (near a header's edge a press resizes the column).
    CPoint Middle(int nCol, int nRow)
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return rc.CenterPoint();
    }
    void Drag(CPoint from, CPoint to)
    {
        RealInput::Drag(m_pView->GetClientWidget(), QPoint(from.x, from.y), QPoint(to.x, to.y));
        Pump();
    }
    void DragRowNumbers(int nFirst, int nLast)
    {
        const int x = m_pView->GetMetrics().nRowHeaderWidth / 2;
        Drag(CPoint(x, Middle(0, nFirst).y), CPoint(x, Middle(0, nLast).y));
    }
    void DragColumnTitles(int nFirst, int nLast)
    {
        const int y = m_pView->GetMetrics().nHeaderHeight / 2;
        Drag(CPoint(Middle(nFirst, 0).x, y), CPoint(Middle(nLast, 0).x, y));
    }
    std::pair<int, CRect> Selection() const { return {m_pView->GetSelectMode(), m_pView->GetSelection()}; }
    // The number of records on the clipboard (the list's count word); -1 for none.
    static int ClipboardRecords()
    {
        const std::vector<BYTE> bytes = ClipboardBytes();
        return bytes.size() < 2 ? -1 : bytes[0] | bytes[1] << 8;
    }
};

} // namespace

TEST_F(PartsClipboardTest, ModifierKeysLeaveTheSelectionToTheClipboardAndRowKeys)
{
    const int nLastCol = m_pView->GetColumnCount() - 1;
    const auto before = AllCells();
    const std::string strName1 = Cell(1, colName);
    ASSERT_EQ(5, m_pDoc->GetRowsInUse());

    // Four rows by their numbers: Ctrl+C puts all four on the clipboard, Ctrl+V at a cell
    // inserts all four there.
    DragRowNumbers(0, 3);
    const auto rows = std::make_pair(1, CRect(0, 0, nLastCol, 3));
    ASSERT_EQ(rows, Selection());
    Keys(Qt::ControlModifier, Qt::Key_C);
    EXPECT_EQ(rows, Selection());
    EXPECT_EQ(4, ClipboardRecords());
    Click(colName, 5);
    Keys(Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ(9, m_pDoc->GetRowsInUse());
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(Cell(r, colName), Cell(5 + r, colName)) << r;

    // Two rows: Ctrl+X cuts both, Ctrl+Del deletes both, Ctrl+Ins inserts two, Alt+Del
    // clears both.
    DragRowNumbers(5, 6);
    Keys(Qt::ControlModifier, Qt::Key_X);
    EXPECT_EQ(2, ClipboardRecords());
    EXPECT_EQ(7, m_pDoc->GetRowsInUse());
    DragRowNumbers(5, 6);
    Keys(Qt::ControlModifier, Qt::Key_Delete);
    EXPECT_EQ(before, AllCells());
    DragRowNumbers(1, 2);
    Keys(Qt::ControlModifier, Qt::Key_Insert);
    EXPECT_EQ(7, m_pDoc->GetRowsInUse());
    EXPECT_EQ("", Cell(2, colName));
    EXPECT_EQ(strName1, Cell(3, colName));
    DragRowNumbers(3, 4);
    Keys(Qt::AltModifier, Qt::Key_Delete);
    for (int r = 3; r <= 4; ++r)
        for (int c = 0; c <= nLastCol; ++c)
            EXPECT_EQ("", Cell(r, c)) << r << "," << c;

    // A block of 2 x 2 cells and two whole columns: Ctrl+C takes every row of either.
    Drag(Middle(colSpec, 5), Middle(colQty, 6));
    const auto block = std::make_pair(20, CRect(colSpec, 5, colQty, 6));
    ASSERT_EQ(block, Selection());
    Keys(Qt::ControlModifier, Qt::Key_C);
    EXPECT_EQ(block, Selection());
    EXPECT_EQ(2, ClipboardRecords());
    DragColumnTitles(colName, colSpec);
    const auto columns = std::make_pair(10, CRect(colName, 0, colSpec, m_pView->GetRowLimit() - 1));
    ASSERT_EQ(columns, Selection());
    Keys(Qt::ControlModifier, Qt::Key_C);
    EXPECT_EQ(columns, Selection());
    EXPECT_EQ(m_pDoc->GetRowsInUse(), ClipboardRecords());
}

TEST_F(PartsClipboardTest, TheClipboardFormatIsTheRecordListByteForByte)
{
    SelectBlock(colQty, 1, colUnit, 2);
    Command(ID_EDIT_COPY);
    ByteBuilder b;
    b.Word(2); // the list's count
    AppendRecord(b, true, colQty, colUnit, 1, 2, {"12.750000", "m3"});
    AppendRecord(b, false, colQty, colUnit, 2, 2, {"48.000000", "枚"});
    EXPECT_EQ(b.Bytes(), ClipboardBytes());
}

TEST_F(PartsClipboardTest, CopiedCellsPasteAsABlockAtTheCurrentCellAndUndoEmptiesThemAgain)
{
    const auto before = AllCells();
    std::vector<std::string> copied;
    for (int r = 1; r <= 3; ++r)
        for (int c = colQty; c <= colPrice; ++c)
            copied.push_back(Cell(r, c));
    SelectBlock(colQty, 1, colPrice, 3);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO));
    // Rows 10..12 lie past the used rows: the paste makes them used.
    Click(colName, 10);
    Command(ID_EDIT_PASTE);
    size_t i = 0;
    for (int r = 10; r <= 12; ++r)
        for (int c = colName; c <= colQty; ++c)
            EXPECT_EQ(copied[i++], Cell(r, c)) << r << "," << c;
    EXPECT_EQ(13, m_pDoc->GetRowsInUse());
    EXPECT_EQ(1, Enabled(ID_EDIT_UNDO));
    Command(ID_EDIT_UNDO);
    for (int r = 10; r <= 12; ++r)
        for (int c = colName; c <= colQty; ++c)
            EXPECT_EQ("", Cell(r, c)) << r << "," << c;
    const auto after = AllCells();
    ASSERT_GE(after.size(), before.size());
    EXPECT_EQ(before,
              std::vector<std::string>(after.begin(), after.begin() + static_cast<long>(before.size())));
}

TEST_F(PartsClipboardTest, PasteOverTheUsedRowsAndItsUndo)
{
    const auto before = AllCells();
    SelectBlock(colName, 3, colSpec, 4);
    Command(ID_EDIT_COPY);
    Click(colName, 0);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Cell(3, colName), Cell(0, colName));
    EXPECT_EQ(Cell(4, colSpec), Cell(1, colSpec));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Cell(3, colName), Cell(0, colName));
}

TEST_F(PartsClipboardTest, ARedoPastesWhatThePasteHadEvenWhenTheClipboardChangedSince)
{
    Click(colName, 1);
    Command(ID_EDIT_COPY);
    const std::vector<BYTE> second = ClipboardBytes();
    const std::string first = Cell(0, colName);
    Click(colName, 0);
    Command(ID_EDIT_COPY);
    Click(colName, 3);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(first, Cell(3, colName));
    Command(ID_EDIT_UNDO);
    // Another copy of the program puts something else on the clipboard meanwhile: the redo
    // is the paste that was undone.
    PutOnClipboard(second);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(first, Cell(3, colName));
}

TEST_F(PartsClipboardTest, CutCellsEmptiesThemAndUndoRedoAlternate)
{
    const auto before = AllCells();
    SelectBlock(colSpec, 3, colQty, 4);
    Command(ID_EDIT_CUT);
    EXPECT_EQ("", Cell(3, colSpec));
    EXPECT_EQ("", Cell(4, colQty));
    EXPECT_FALSE(ClipboardBytes().empty());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
    Command(ID_EDIT_REDO);
    EXPECT_EQ("", Cell(3, colSpec));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
}

TEST_F(PartsClipboardTest, RowsCutAndPastedElsewhereMoveAndUndoTakesThemBack)
{
    const auto before = AllCells();
    const std::string strRow2 = Cell(2, colName), strRow3 = Cell(3, colName);
    SelectRows(2, 3);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(3, m_pDoc->GetRowsInUse());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
    // Copy rows 2..3 and paste them as rows at row 0: two rows are inserted there.
    SelectRows(2, 3);
    Command(ID_EDIT_COPY);
    Click(colQty, 0);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(7, m_pDoc->GetRowsInUse());
    EXPECT_EQ(strRow2, Cell(0, colName));
    EXPECT_EQ(strRow3, Cell(1, colName));
    EXPECT_EQ(strRow2, Cell(4, colName));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
}

TEST_F(PartsClipboardTest, TwoCellsTileOverASelectedRange)
{
    SelectBlock(colName, 0, colSpec, 0);
    Command(ID_EDIT_COPY);
    const std::string a = Cell(0, colName), b = Cell(0, colSpec);
    SelectBlock(colQty, 6, colNote, 8);
    Command(ID_EDIT_PASTE);
    for (int r = 6; r <= 8; ++r) {
        EXPECT_EQ(a, Cell(r, colQty));
        EXPECT_EQ(b, Cell(r, colUnit));
        EXPECT_EQ(a, Cell(r, colPrice));
        EXPECT_EQ(b, Cell(r, colAmount));
        EXPECT_EQ(a, Cell(r, colNote));
    }
    Command(ID_EDIT_UNDO);
    EXPECT_EQ("", Cell(7, colQty));
}

TEST_F(PartsClipboardTest, RowsGoFromOneWindowToAnother)
{
    SelectRows(0, 1);
    Command(ID_EDIT_COPY);
    const std::vector<std::string> first = {Cell(0, colName), Cell(1, colName)};
    std::filesystem::copy_file(m_dir.NativeFile("WORK/部材処理.MBD"), m_dir.NativeFile("WORK/other.MBD"));
    auto* pOther = dynamic_cast<CMorvelPMDoc*>(m_pApp->OpenDocumentFile(WorkFile("other.MBD")));
    ASSERT_NE(nullptr, pOther);
    ASSERT_NE(m_pDoc, pOther);
    m_pDoc = pOther;
    m_pView = pOther->GetPartsView();
    Pump();
    Click(colName, 4);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(7, pOther->GetRowsInUse());
    EXPECT_EQ(first[0], Cell(4, colName));
    EXPECT_EQ(first[1], Cell(5, colName));
}

TEST_F(PartsClipboardTest, DamagedClipboardContentChangesNothing)
{
    const auto before = AllCells();
    const int nRows = m_pDoc->GetRowsInUse();
    const auto tryPaste = [&](const std::vector<BYTE>& bytes, int nMode) {
        PutOnClipboard(bytes);
        CMorvelPMView::SetCopyMode(nMode);
        Click(colName, 1);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(before, AllCells());
        EXPECT_EQ(nRows, m_pDoc->GetRowsInUse());
    };
    for (int nMode : {CMorvelPMView::copyCells, CMorvelPMView::copyRows}) {
        SCOPED_TRACE(nMode);
        {
            ByteBuilder b; // first column after the last
            b.Word(1);
            AppendRecord(b, true, 3, 2, 0, 0, {});
            tryPaste(b.Bytes(), nMode);
        }
        {
            ByteBuilder b; // a last column beyond the 100 cells
            b.Word(1);
            AppendRecord(b, true, 98, 99, 0, 0, {"a", "b"});
            auto bytes = b.Bytes();
            bytes[2 + 2 + 2 + 2 + 6 + 2] = 200; // the last column word's low byte
            tryPaste(bytes, nMode);
        }
        {
            ByteBuilder b; // a block claiming 60000 rows with one record
            b.Word(1);
            AppendRecord(b, true, 0, 1, 0, 60000, {"a", "b"});
            tryPaste(b.Bytes(), nMode);
        }
        {
            ByteBuilder b; // a count of three records, one present
            b.Word(3);
            AppendRecord(b, true, 0, 0, 0, 2, {"a"});
            tryPaste(b.Bytes(), nMode);
        }
        tryPaste({0xFF}, nMode);
    }
}

// ---------------------------------------------------------------------------------------
// The desktop's X clipboard, with another program on the other side.

namespace {

bool HaveXclip()
{
    return std::system("command -v xclip >/dev/null 2>&1") == 0;
}

const char* const kMime = "application/x-morvel-Morvel PM Data";

} // namespace

TEST_F(PartsClipboardTest, ThroughTheXClipboardWithAnotherProgram)
{
    if (QGuiApplication::platformName() != "xcb" || std::getenv("DISPLAY") == nullptr || !HaveXclip())
        GTEST_SKIP() << "needs an X display (QT_QPA_PLATFORM=xcb) and xclip";
    // Our copy, read by another program from the X server.
    SelectBlock(colName, 0, colQty, 1);
    Command(ID_EDIT_COPY);
    Pump();
    const std::vector<BYTE> ours = ClipboardBytes();
    ASSERT_FALSE(ours.empty());
    const std::string outFile = m_dir.NativeFile("from_x.bin");
    // xclip asks the X server, which asks this program's clipboard owner: the event loop
    // runs while it waits.
    std::string command = std::string("(xclip -selection clipboard -o -t '") + kMime + "' > " + outFile +
                          "; touch " + outFile + ".done) &";
    ASSERT_EQ(0, std::system(command.c_str()));
    ASSERT_TRUE(
        WaitUntil([&] { return std::filesystem::exists(outFile + ".done"); }, "xclip to read the clipboard"));
    EXPECT_EQ(std::vector<uint8_t>(ours.begin(), ours.end()), ReadNativeFile(outFile));

    // Another program's clipboard (the bytes of a two-row block), pasted here.
    ByteBuilder b;
    b.Word(2);
    AppendRecord(b, true, 0, 1, 0, 1, {"外部1", "X"});
    AppendRecord(b, false, 0, 1, 1, 1, {"外部2", "Y"});
    WriteNativeFile(m_dir.NativeFile("to_x.bin"), b.Bytes());
    // xclip serves the selection until this program has read it once, then ends.
    command = std::string("xclip -loops 1 -selection clipboard -i -t '") + kMime + "' " +
              m_dir.NativeFile("to_x.bin") + " >/dev/null 2>&1";
    ASSERT_EQ(0, std::system(command.c_str()));
    // Until the X server's news that xclip took the selection has arrived, the toolkit still
    // answers a paste from its own copy.
    ASSERT_TRUE(WaitUntil([] { return !QGuiApplication::clipboard()->ownsClipboard(); },
                          "xclip to take the clipboard"));
    Pump();
    CMorvelPMView::SetCopyMode(CMorvelPMView::copyCells);
    Click(colSpec, 7);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ("外部1", Cell(7, colSpec));
    EXPECT_EQ("Y", Cell(8, colQty));
}

TEST_F(PartsClipboardTest, ACellTypedAfterAPasteIsNotWrittenOverByTheUndoOfThePaste)
{
    SelectBlock(colQty, 1, colUnit, 2);
    Keys(Qt::ControlModifier, Qt::Key_C);
    Click(colQty, 3);
    Keys(Qt::ControlModifier, Qt::Key_V);
    ASSERT_EQ(Cell(1, colQty), Cell(3, colQty));
    ASSERT_EQ(1, Enabled(ID_EDIT_UNDO));

    // Typing is the command undo takes back now: the pasted text comes back, the rest of
    // the paste stays.
    Click(colQty, 3);
    Type("77");
    EditorKey(VK_RETURN);
    const std::string typed = Cell(3, colQty);
    ASSERT_NE(Cell(1, colQty), typed);
    EXPECT_EQ(1, Enabled(ID_EDIT_UNDO));
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(Cell(1, colQty), Cell(3, colQty));
    EXPECT_EQ(Cell(2, colUnit), Cell(4, colUnit)) << "the rest of the paste stays too";
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO));
}
