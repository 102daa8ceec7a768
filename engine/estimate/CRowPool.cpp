#include "engine/estimate/CRowPool.h"

#include <algorithm>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace {

std::size_t RoundUp(std::size_t n, std::size_t unit)
{
    return (n + unit - 1) / unit * unit;
}

// The blocks emptied after holding many slots, of every pool of the process: still mapped,
// their pages the kernel's to take (MADV_FREE), the latest last. A pool that needs a block
// takes one of its size from here before it maps one.
struct CSpareBlocks {
    std::mutex mutex;
    std::vector<std::pair<char*, std::size_t>> blocks; // where each begins, its size
};

CSpareBlocks& SpareBlocks()
{
    // Never destroyed: pools made for the whole process give blocks back while it ends.
    static CSpareBlocks& spare = *new CSpareBlocks;
    return spare;
}

// A spare block of nSize bytes, or null.
char* TakeSpareBlock(std::size_t nSize)
{
    CSpareBlocks& spare = SpareBlocks();
    std::lock_guard<std::mutex> lock(spare.mutex);
    for (auto it = spare.blocks.end(); it != spare.blocks.begin();) {
        --it;
        if (it->second == nSize) {
            char* pBegin = it->first;
            spare.blocks.erase(it);
            return pBegin;
        }
    }
    return nullptr;
}

// How many bytes from pBegin on are in memory, page after page, up to nSize (0 where the
// kernel cannot tell).
std::size_t ResidentBytes(char* pBegin, std::size_t nSize)
{
    const std::size_t nPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> pages((nSize + nPage - 1) / nPage);
    if (mincore(pBegin, nSize, pages.data()) != 0)
        return 0;
    const auto itMissing =
        std::find_if(pages.begin(), pages.end(), [](unsigned char c) { return (c & 1) == 0; });
    return std::min(nSize, static_cast<std::size_t>(itMissing - pages.begin()) * nPage);
}

// Gives the pages of an unused block to the kernel and keeps the block mapped as a spare;
// where the kernel cannot take pages lazily, the block is unmapped.
void SpareBlock(char* pBegin, std::size_t nSize)
{
#ifdef MADV_FREE
    if (madvise(pBegin, nSize, MADV_FREE) == 0) {
        CSpareBlocks& spare = SpareBlocks();
        std::lock_guard<std::mutex> lock(spare.mutex);
        spare.blocks.emplace_back(pBegin, nSize);
        return;
    }
#endif
    munmap(pBegin, nSize);
}

} // namespace

CRowPool::CRowPool(std::size_t nSlotSize, std::size_t nBlockSize, std::size_t nAlignment)
    : m_nSlotSize(RoundUp(std::max(nSlotSize, sizeof(CFreeSlot)), std::max(nAlignment, alignof(CFreeSlot)))),
      m_nBlockSize(RoundUp(nBlockSize < m_nSlotSize ? m_nSlotSize : nBlockSize, POPULATE_RUN))
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
        char* pBegin = TakeSpareBlock(m_nBlockSize);
        const bool bSpare = pBegin != nullptr;
        if (!bSpare) {
            void* pMapped =
                mmap(nullptr, m_nBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (pMapped == MAP_FAILED)
                throw std::bad_alloc();
            pBegin = static_cast<char*>(pMapped);
        }
        auto* pNew = new CBlock{pBegin, m_nBlockSize};
        m_blocks.insert(
            std::upper_bound(m_blocks.begin(), m_blocks.end(), pNew,
                             [](const CBlock* a, const CBlock* b) { return a->pBegin < b->pBegin; }),
            pNew);
        m_pCutBlock = pNew;
        m_pNext = m_pMade = pNew->pBegin;
        m_pEnd = pNew->pBegin + m_nBlockSize;
        // A spare block's pages up to the first one the kernel has taken need no making.
        if (bSpare)
            m_pMade += ResidentBytes(pBegin, m_nBlockSize) / POPULATE_RUN * POPULATE_RUN;
    }
    void* pSlot = m_pNext;
    m_pNext += m_nSlotSize;
    // The pages the slot reaches into are made ahead with those after them, in one call: a
    // hint; where it is not understood, each page comes with its first touch. In a spare
    // block the pages the kernel has not taken yet are there already and cost no fault.
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
    // Many slots gone at once (an estimate closed): the block's pages go back to the kernel
    // and the block is kept as a spare for the next estimate's rows.
    if (pBlock->nPeak >= SPARE_AFTER_SLOTS) {
        Release(pBlock, true);
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

void CRowPool::Release(CBlock* pBlock, bool bSpare)
{
    if (bSpare)
        SpareBlock(pBlock->pBegin, pBlock->nSize);
    else
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

void CRowPool::ReleaseSpareBlocks()
{
    CSpareBlocks& spare = SpareBlocks();
    std::lock_guard<std::mutex> lock(spare.mutex);
    for (const auto& [pBegin, nSize] : spare.blocks)
        munmap(pBegin, nSize);
    spare.blocks.clear();
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
