// The parts grid's clipboard content ("Morvel PM Data"), read as a paste reads it. What a
// user relies on:
// - content that is refused leaves the exchange list as it was (a paste changes nothing);
// - content that is taken forms one block: every record a row of it, in order, with
//   columns inside the 100 cells, first <= last;
// - what was taken, put on the clipboard again, reads back to the same records and bytes.
#include "engine/parts/CPMObj.h"
#include "fuzz/support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzMessageBoxes boxes;
    CPMObjList list;
    auto* pKept = new CPMObj;
    pKept->m_strCell[0] = "kept";
    list.AddTail(pKept);
    if (!list.LoadExchangeBytes(data, size)) {
        FUZZ_CHECK(list.GetCount() == 1 && list.GetHead() == pKept);
        return 0;
    }
    FUZZ_CHECK(!list.IsEmpty());
    const CRect rcBlock = list.GetBlock();
    FUZZ_CHECK(rcBlock.left >= 0 && rcBlock.left <= rcBlock.right && rcBlock.right < CPMObj::MAX_COLUMNS);
    FUZZ_CHECK(rcBlock.bottom - rcBlock.top + 1 == static_cast<LONG>(list.GetCount()));
    int nRow = rcBlock.top;
    POSITION pos = list.GetHeadPosition();
    while (pos != nullptr) {
        const CPMObj* pObj = list.GetNext(pos);
        FUZZ_CHECK(pObj->m_nRow == nRow++);
        FUZZ_CHECK(pObj->m_nFirstCol == rcBlock.left && pObj->m_nLastCol == rcBlock.right);
    }
    const std::vector<BYTE> stored = list.StoreExchangeBytes();
    CPMObjList again;
    FUZZ_CHECK(again.LoadExchangeBytes(stored.data(), stored.size()));
    FUZZ_CHECK(again.GetCount() == list.GetCount());
    POSITION a = list.GetHeadPosition(), b = again.GetHeadPosition();
    while (a != nullptr) {
        const CPMObj* pA = list.GetNext(a);
        const CPMObj* pB = again.GetNext(b);
        for (int c = 0; c < CPMObj::MAX_COLUMNS; ++c)
            FUZZ_CHECK(pA->m_strCell[c] == pB->m_strCell[c]);
    }
    FUZZ_CHECK(again.StoreExchangeBytes() == stored);
    return 0;
}
