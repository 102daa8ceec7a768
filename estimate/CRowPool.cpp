#include "estimate/CRowPool.h"

#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t n, std::size_t unit)
{
    return (n + unit - 1) / unit * unit;
}

} // namespace

CRowPool::CRowPool(std::size_t nSlotSize, std::size_t nBlockSize)
    : m_nSlotSize(RoundUp(nSlotSize < sizeof(CFreeSlot) ? sizeof(CFreeSlot) : nSlotSize, 64)),
      m_nBlockSize(RoundUp(nBlockSize < m_nSlotSize ? m_nSlotSize : nBlockSize, kHugePage))
{
}

CRowPool::~CRowPool()
{
    for (const CBlock& block : m_blocks)
        munmap(block.pBegin, block.nSize);
}

void* CRowPool::Allocate()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pFree != nullptr) {
        CFreeSlot* pSlot = m_pFree;
        m_pFree = pSlot->pNext;
        return pSlot;
    }
    if (m_pNext == nullptr || static_cast<std::size_t>(m_pEnd - m_pNext) < m_nSlotSize) {
        // A new block on a huge-page boundary: mapped with room to spare, the ends cut off.
        const std::size_t nMapped = m_nBlockSize + kHugePage;
        void* pMapped = mmap(nullptr, nMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pMapped == MAP_FAILED)
            throw std::bad_alloc();
        char* pRaw = static_cast<char*>(pMapped);
        char* pBlock = reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::size_t>(pRaw), kHugePage));
        if (pBlock > pRaw)
            munmap(pRaw, static_cast<std::size_t>(pBlock - pRaw));
        char* pBlockEnd = pBlock + m_nBlockSize;
        if (pRaw + nMapped > pBlockEnd)
            munmap(pBlockEnd, static_cast<std::size_t>(pRaw + nMapped - pBlockEnd));
#ifdef MADV_HUGEPAGE
        madvise(pBlock, m_nBlockSize, MADV_HUGEPAGE); // a hint: without huge pages all still works
#endif
        m_blocks.push_back(CBlock{pBlock, m_nBlockSize});
        m_pNext = pBlock;
        m_pEnd = pBlockEnd;
    }
    void* pSlot = m_pNext;
    m_pNext += m_nSlotSize;
    return pSlot;
}

void CRowPool::Free(void* p) noexcept
{
    if (p == nullptr)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    CFreeSlot* pSlot = static_cast<CFreeSlot*>(p);
    pSlot->pNext = m_pFree;
    m_pFree = pSlot;
}

std::size_t CRowPool::GetBlockCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_blocks.size();
}

bool CRowPool::Owns(const void* p) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const char* pc = static_cast<const char*>(p);
    for (const CBlock& block : m_blocks) {
        if (pc >= block.pBegin && pc < block.pBegin + block.nSize)
            return true;
    }
    return false;
}
