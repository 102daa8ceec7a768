// Parts-list files (".MBD"), read as the parts document reads them. What a user relies on:
// - a file that does not read leaves the document it was read into as it was (a document
//   holding the sample list: its rows, form, print layouts and zoom);
// - a file that reads has a sane shape: at most 100 columns, the rows in use all present,
//   a row limit that holds them and a usable zoom;
// - a list that reads writes out, and what was written reads back and writes out to the
//   same bytes (nothing lost or changed by a second round). A list stored without columns
//   has rows that were never written (null), which read as empty cells.
#include "engine/estimate/CGridRow.h"
#include "fuzz/support/FuzzSupport.h"
#include "parts/CMorvelPMDoc.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CUserException.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

#define PARTS_CHECK(cond)                                                                                    \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond);                \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

std::unique_ptr<CMorvelPMDoc> NewDocument()
{
    auto pDoc = std::make_unique<CMorvelPMDoc>();
    pDoc->m_bAutoDelete = FALSE;
    return pDoc;
}

// Reads bytes into the document; false when the read failed.
bool Load(CMorvelPMDoc& doc, const uint8_t* data, size_t size)
{
    std::vector<BYTE> buffer(data, data + size);
    try {
        CMemFile file(buffer.data(), static_cast<UINT>(buffer.size()));
        CArchive ar(&file, CArchive::load, 4096);
        doc.Serialize(ar);
        ar.Close();
    } catch (CUserException&) {
        return false;
    } catch (CException&) {
        return false;
    }
    return true;
}

std::vector<BYTE> Store(CMorvelPMDoc& doc)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        doc.Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

const CString& CellText(const CMorvelPMDoc& doc, int nRow, int nCol)
{
    static const CString s_strEmpty;
    const CGridRow* pRow = doc.GetRow(nRow);
    return pRow != nullptr ? pRow->m_strCell[nCol] : s_strEmpty;
}

// The document's whole state as bytes: the file it writes and the counts beside it.
std::vector<BYTE> State(CMorvelPMDoc& doc)
{
    std::vector<BYTE> bytes = Store(doc);
    for (int n : {doc.GetRowsInUse(), doc.m_nRowsRead, doc.GetRowLimit(), doc.m_nZoom, doc.GetRowArraySize()})
        bytes.insert(bytes.end(), reinterpret_cast<const BYTE*>(&n), reinterpret_cast<const BYTE*>(&n + 1));
    return bytes;
}

const std::vector<uint8_t>& SampleList()
{
    static const std::vector<uint8_t> s_bytes =
        FuzzReadNativeFile(std::string(MORVEL_SOURCE_DIR) + "/samples/WORK/部材処理.MBD");
    return s_bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    auto pDoc = NewDocument();
    PARTS_CHECK(Load(*pDoc, SampleList().data(), SampleList().size()));
    const std::vector<BYTE> before = State(*pDoc);
    if (!Load(*pDoc, data, size)) {
        PARTS_CHECK(State(*pDoc) == before);
        return 0;
    }
    PARTS_CHECK(pDoc->GetColumnCount() <= CMorvelPMDoc::MAX_COLUMNS);
    PARTS_CHECK(pDoc->GetRowsInUse() == pDoc->GetRowArraySize());
    PARTS_CHECK(pDoc->GetRowsInUse() <= pDoc->GetRowLimit());
    PARTS_CHECK(pDoc->m_nZoom >= CMorvelPMDoc::MIN_ZOOM && pDoc->m_nZoom <= CMorvelPMDoc::MAX_ZOOM);

    const std::vector<BYTE> first = Store(*pDoc);
    auto pAgain = NewDocument();
    PARTS_CHECK(Load(*pAgain, first.data(), first.size()));
    PARTS_CHECK(pAgain->GetRowsInUse() == pDoc->GetRowsInUse());
    for (int r = 0; r < pDoc->GetRowsInUse(); ++r) {
        for (int c = 0; c < pDoc->GetColumnCount(); ++c)
            PARTS_CHECK(CellText(*pAgain, r, c) == CellText(*pDoc, r, c));
    }
    PARTS_CHECK(Store(*pAgain) == first);
    return 0;
}
