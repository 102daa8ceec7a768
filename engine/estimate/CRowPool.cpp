#include "engine/estimate/CRowPool.h"

#include <algorithm>
#include <malloc.h>
#include <new>
#include <sys/mman.h>

namespace {

std::size_t RoundUp(std::size_t n, std::size_t unit)
{
    return (n + unit - 1) / unit * unit;
}

} // namespace

CRowPool::CRowPool(std::size_t nSlotSize, std::size_t nBlockSize, std::size_t nAlignment, EHeap eHeap)
    : m_nSlotSize(RoundUp(std::max(nSlotSize, sizeof(CFreeSlot)), std::max(nAlignment, alignof(CFreeSlot)))),
      m_nBlockSize(RoundUp(nBlockSize < m_nSlotSize ? m_nSlotSize : nBlockSize, POPULATE_RUN)), m_eHeap(eHeap)
{
}

CRowPool::~CRowPool()
{
    for (CBlock* pBlock : m_blocks) {
        munmap(pBlock->pBegin, pBlock->nSize);
        delete pBlock;
    }
}

CRowPool::CBlock* CRowPool::FindBlock(const void* p) const
{
    const char* pc = static_cast<const char*>(p);
    // The last block that begins at or before p.
    auto it = std::upper_bound(m_blocks.begin(), m_blocks.end(), pc,
                               [](const char* pAt, const CBlock* pBlock) { return pAt < pBlock->pBegin; });
    if (it == m_blocks.begin())
        return nullptr;
    CBlock* pBlock = *--it;
    return pc < pBlock->pBegin + pBlock->nSize ? pBlock : nullptr;
}

void* CRowPool::Allocate()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // Slots given back first, the latest block's first.
    while (!m_withFree.empty()) {
        CBlock* pBlock = m_withFree.back();
        if (pBlock->pFree == nullptr) {
            pBlock->bWithFree = false;
            m_withFree.pop_back();
            continue;
        }
        CFreeSlot* pSlot = pBlock->pFree;
        pBlock->pFree = pSlot->pNext;
        pBlock->nPeak = std::max(pBlock->nPeak, ++pBlock->nInUse);
        return pSlot;
    }
    if (m_pCutBlock == nullptr || static_cast<std::size_t>(m_pEnd - m_pNext) < m_nSlotSize) {
        void* pMapped = mmap(nullptr, m_nBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pMapped == MAP_FAILED)
            throw std::bad_alloc();
        auto* pNew = new CBlock{static_cast<char*>(pMapped), m_nBlockSize};
        m_blocks.insert(
            std::upper_bound(m_blocks.begin(), m_blocks.end(), pNew,
                             [](const CBlock* a, const CBlock* b) { return a->pBegin < b->pBegin; }),
            pNew);
        m_pCutBlock = pNew;
        m_pNext = m_pMade = pNew->pBegin;
        m_pEnd = pNew->pBegin + m_nBlockSize;
    }
    void* pSlot = m_pNext;
    m_pNext += m_nSlotSize;
    // The pages the slot reaches into are made ahead with those after them, in one call: a
    // hint; where it is not understood, each page comes with its first touch.
    if (m_pNext > m_pMade) {
        char* pMadeTo = m_pMade + RoundUp(static_cast<std::size_t>(m_pNext - m_pMade), POPULATE_RUN);
#ifdef MADV_POPULATE_WRITE
        madvise(m_pMade, static_cast<std::size_t>(pMadeTo - m_pMade), MADV_POPULATE_WRITE);
#endif
        m_pMade = pMadeTo;
    }
    m_pCutBlock->nPeak = std::max(m_pCutBlock->nPeak, ++m_pCutBlock->nInUse);
    return pSlot;
}

void CRowPool::Free(void* p) noexcept
{
    if (p == nullptr)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    CBlock* pBlock = FindBlock(p);
    if (pBlock == nullptr)
        return; // not a slot of this pool
    CFreeSlot* pSlot = static_cast<CFreeSlot*>(p);
    pSlot->pNext = pBlock->pFree;
    pBlock->pFree = pSlot;
    if (!pBlock->bWithFree) {
        pBlock->bWithFree = true;
        m_withFree.push_back(pBlock);
    }
    if (--pBlock->nInUse > 0)
        return;
    // Many slots gone at once (an estimate closed): the block goes back to the system, and
    // the rows' texts have left free pages in the heap.
    if (pBlock->nPeak >= TRIM_AFTER_SLOTS) {
        if (m_eHeap == EHeap::trimWhenEmptied)
            malloc_trim(0);
        Release(pBlock);
        return;
    }
    pBlock->nPeak = 0;
    // Otherwise an unused block goes back to the system when another unused one is kept
    // already: a few rows made and deleted again and again do not map a block each time.
    for (CBlock* pOther : m_blocks) {
        if (pOther != pBlock && pOther->nInUse == 0) {
            Release(pBlock);
            return;
        }
    }
}

void CRowPool::Release(CBlock* pBlock)
{
    munmap(pBlock->pBegin, pBlock->nSize);
    m_blocks.erase(std::find(m_blocks.begin(), m_blocks.end(), pBlock));
    if (pBlock->bWithFree)
        m_withFree.erase(std::find(m_withFree.begin(), m_withFree.end(), pBlock));
    if (pBlock == m_pCutBlock) {
        m_pCutBlock = nullptr;
        m_pNext = m_pEnd = m_pMade = nullptr;
    }
    delete pBlock;
}

std::size_t CRowPool::GetBlockCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_blocks.size();
}

bool CRowPool::Owns(const void* p) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return FindBlock(p) != nullptr;
}
