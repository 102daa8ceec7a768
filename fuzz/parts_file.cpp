// Parts-list files (".MBD"), read as the parts document reads them. What a user relies on:
// - a file that does not read leaves the document as it was: no rows, no form, no print
//   layouts, zoom 100;
// - a file that reads has a sane shape: at most 100 columns, the rows in use all present,
//   a row limit that holds them and a usable zoom;
// - a list that reads writes out, and what was written reads back and writes out to the
//   same bytes (nothing lost or changed by a second round).
#include "estimate/CGridRow.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    auto pDoc = NewDocument();
    if (!Load(*pDoc, data, size)) {
        PARTS_CHECK(pDoc->m_aRows.empty());
        PARTS_CHECK(pDoc->m_nRowsInUse == 0 && pDoc->m_nRowsRead == 0);
        PARTS_CHECK(pDoc->m_form.GetCount() == 0);
        PARTS_CHECK(pDoc->m_aPrintForms.GetSize() == 0);
        PARTS_CHECK(pDoc->m_nZoom == 100);
        return 0;
    }
    PARTS_CHECK(pDoc->GetColumnCount() <= CMorvelPMDoc::MAX_COLUMNS);
    PARTS_CHECK(static_cast<size_t>(pDoc->m_nRowsInUse) == pDoc->m_aRows.size());
    PARTS_CHECK(pDoc->m_nRowsInUse <= pDoc->m_nRowLimit);
    PARTS_CHECK(pDoc->m_nZoom >= CMorvelPMDoc::MIN_ZOOM && pDoc->m_nZoom <= CMorvelPMDoc::MAX_ZOOM);

    const std::vector<BYTE> first = Store(*pDoc);
    auto pAgain = NewDocument();
    PARTS_CHECK(Load(*pAgain, first.data(), first.size()));
    PARTS_CHECK(pAgain->m_nRowsInUse == pDoc->m_nRowsInUse);
    for (int r = 0; r < pDoc->m_nRowsInUse; ++r) {
        for (int c = 0; c < pDoc->GetColumnCount(); ++c)
            PARTS_CHECK(pAgain->GetRow(r)->m_strCell[c] == pDoc->GetRow(r)->m_strCell[c]);
    }
    PARTS_CHECK(Store(*pAgain) == first);
    return 0;
}
