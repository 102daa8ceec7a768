// CSV text read into a parts list ("入力(&I)"), a file saved as UTF-8 among it. What a user
// relies on:
// - one new row per line, inserted at the current row (the rows below move down whole);
// - no cell holds a line break or a double quote that was not doubled inside quotes;
// - text written by the CSV output reads back into the same cells.
#include "app/CsvText.h"
#include "engine/estimate/CGridRow.h"
#include "fuzz/support/FuzzSupport.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsImport.h"

#include <memory>
#include <string_view>

namespace {

// Text columns only, so that what is read is kept as it was read.
void TextForm(CPartFormFile& form, int nItems)
{
    for (int i = 0; i < nItems; ++i) {
        form.GetItem(i, 0) = "c";
        form.GetItem(i, 1) = "x";
        form.GetItem(i, 2) = "10";
    }
    form.SetCount(nItems);
}

struct CTextList {
    CTextList()
    {
        doc.m_bAutoDelete = FALSE;
        view = new CMorvelPMView;
        doc.AddView(view);
        TextForm(doc.m_form, 6);
        view->TakeDocumentRows();
    }
    ~CTextList()
    {
        doc.RemoveView(view);
        delete view;
    }
    CMorvelPMDoc doc;
    CMorvelPMView* view;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzMessageBoxes boxes;
    // The file's bytes as the CSV input reads them: Shift-JIS, or UTF-8 made code page 932.
    const CsvText::CFileText file =
        CsvText::DecodeFile(std::string_view(reinterpret_cast<const char*>(data), size));
    // A refused file's bytes are read all the same: cells that came another way (a paste, a
    // file of another form) can hold any bytes, and the output must give them back.
    const std::string_view text = file.IsRead() ? std::string_view(file.text)
                                                : std::string_view(reinterpret_cast<const char*>(data), size);
    CTextList list;
    list.view->SetCellText("above", 0, 0);
    list.view->SetCellText("below", 1, 0);
    const std::vector<int> mapping = {0, 1, 2, 3, 4, 27};
    const int nRows = PartsImport::InsertCsvRows(*list.view, 1, text, mapping);
    FUZZ_CHECK(nRows >= 0);
    FUZZ_CHECK(list.doc.GetRowsInUse() == 2 + nRows);
    FUZZ_CHECK(list.view->GetCellText(0, 0) == "above");
    FUZZ_CHECK(list.view->GetCellText(1 + nRows, 0) == "below");
    for (int r = 1; r <= nRows; ++r) {
        for (int c = 0; c < 6; ++c) {
            const CString strCell = list.view->GetCellText(r, c);
            FUZZ_CHECK(strCell.Find('\r') < 0 && strCell.Find('\n') < 0);
        }
    }
    // Written out and read again: the same cells.
    const std::string written = PartsImport::WriteCsv(*list.view, std::vector<BOOL>(6, TRUE));
    CTextList back;
    const std::vector<int> identity = {0, 1, 2, 3, 4, 5};
    const int nBack = PartsImport::InsertCsvRows(*back.view, 0, written, identity);
    FUZZ_CHECK(nBack == list.doc.GetRowsInUse());
    for (int r = 0; r < nBack; ++r) {
        for (int c = 0; c < 6; ++c) {
            CString strWritten = list.view->GetCellText(r, c);
            strWritten.TrimRight(' ');
            strWritten.TrimLeft(' ');
            FUZZ_CHECK(back.view->GetCellText(r, c) == strWritten);
        }
    }
    return 0;
}
