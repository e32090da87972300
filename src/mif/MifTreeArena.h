// MifTreeArena: the memory of one parsed statement tree. Objects, props, their lists and string
// heads are carved one after the other out of a few large blocks and are all freed at once, with
// the tree, instead of one heap allocation each.
//
// Nothing is freed on its own: the arena holds what the tree holds, plus the unused tail of each
// block (at most an eighth of a block, larger requests get a block of their own). The arena sits
// at the front of its first block, followed by a head of a size its creator chose, so that the
// arena can be found again from the head (the tree's root lives there).
#pragma once

#include <cstddef>
#include <new>
#include <utility>

class MifTreeArena {
public:
    static constexpr size_t kAlignment = 8;

    // A new arena whose head has `headSize` bytes; null when there is no memory.
    static MifTreeArena* Create(size_t headSize);
    // Frees every block, the one that holds the arena and its head included.
    static void Destroy(MifTreeArena* arena);
    MifTreeArena(const MifTreeArena&) = delete;
    MifTreeArena& operator=(const MifTreeArena&) = delete;

    void* GetHead() { return reinterpret_cast<char*>(this) + HeadOffset(); }
    static MifTreeArena* FromHead(void* head)
    {
        return reinterpret_cast<MifTreeArena*>(static_cast<char*>(head) - HeadOffset());
    }

    // `size` bytes aligned to kAlignment; throws std::bad_alloc when there is no memory.
    void* Allocate(size_t size)
    {
        size = RoundUp(size);
        if (size <= static_cast<size_t>(mEnd - mNext)) {
            void* p = mNext;
            mNext += size;
            return p;
        }
        return AllocateSlow(size);
    }
    template <class T, class... Args>
    T* New(Args&&... args)
    {
        static_assert(alignof(T) <= kAlignment, "the arena aligns to 8 bytes");
        return ::new (Allocate(sizeof(T))) T(std::forward<Args>(args)...);
    }
    // Bytes of all blocks, headers included.
    size_t GetSize() const { return mSize; }

private:
    struct Block {
        Block* next;
        size_t size;  // bytes of the block, this header included
    };
    static constexpr size_t kFirstBlock = 4096;
    static constexpr size_t kLargestBlock = 65536;  // below the size that malloc maps on its own
    static constexpr size_t kBlockHeader = (sizeof(Block) + kAlignment - 1) & ~(kAlignment - 1);
    static constexpr size_t kOwnBlock = kLargestBlock / 8;  // larger requests get a block of their own
    static constexpr size_t RoundUp(size_t size) { return (size + kAlignment - 1) & ~(kAlignment - 1); }
    static constexpr size_t HeadOffset() { return RoundUp(sizeof(MifTreeArena)); }

    explicit MifTreeArena(Block* first);
    ~MifTreeArena() = default;
    void* AllocateSlow(size_t size);
    static Block* NewBlock(size_t size);

    Block* mBlocks;           // the newest block first; the last one holds the arena
    char* mNext;              // free bytes of the current block
    char* mEnd;
    size_t mBlockSize;        // of the current block
    size_t mSize;
};
