#include "mif/MifTreeArena.h"

#include <algorithm>
#include <cstdlib>

MifTreeArena* MifTreeArena::Create(size_t headSize)
{
    size_t used = kBlockHeader + HeadOffset() + RoundUp(headSize);
    Block* first = NewBlock(std::max(kFirstBlock, used));
    if (!first) return nullptr;
    auto* arena = new (reinterpret_cast<char*>(first) + kBlockHeader) MifTreeArena(first);
    arena->mNext = reinterpret_cast<char*>(first) + used;
    return arena;
}

MifTreeArena::MifTreeArena(Block* first)
    : mBlocks(first),
      mNext(reinterpret_cast<char*>(first) + first->size),
      mEnd(reinterpret_cast<char*>(first) + first->size),
      mBlockSize(first->size),
      mSize(first->size)
{
}

void MifTreeArena::Destroy(MifTreeArena* arena)
{
    if (!arena) return;
    // The arena lives in one of its blocks: take the list before the first block goes.
    Block* block = arena->mBlocks;
    arena->~MifTreeArena();
    while (block) {
        Block* next = block->next;
        std::free(block);
        block = next;
    }
}

MifTreeArena::Block* MifTreeArena::NewBlock(size_t size)
{
    auto* block = static_cast<Block*>(std::malloc(size));
    if (!block) return nullptr;
    block->next = nullptr;
    block->size = size;
    return block;
}

void* MifTreeArena::AllocateSlow(size_t size)
{
    if (size > kOwnBlock) {
        // A block of its own, behind the current one, which stays current: its tail is still used.
        if (size > static_cast<size_t>(-1) - kBlockHeader) throw std::bad_alloc();
        Block* block = NewBlock(kBlockHeader + size);
        if (!block) throw std::bad_alloc();
        block->next = mBlocks->next;
        mBlocks->next = block;
        mSize += block->size;
        return reinterpret_cast<char*>(block) + kBlockHeader;
    }
    // The tail of the current block (less than kOwnBlock bytes) stays unused.
    size_t blockSize = std::max(std::min(mBlockSize * 2, kLargestBlock), kBlockHeader + size);
    Block* block = NewBlock(blockSize);
    if (!block) throw std::bad_alloc();
    block->next = mBlocks;
    mBlocks = block;
    mBlockSize = blockSize;
    mSize += blockSize;
    mNext = reinterpret_cast<char*>(block) + kBlockHeader + size;
    mEnd = reinterpret_cast<char*>(block) + blockSize;
    return reinterpret_cast<char*>(block) + kBlockHeader;
}
