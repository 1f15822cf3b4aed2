// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Allocator of the line store's large blocks: big blocks are aligned and
// marked for huge pages, so that loading a file of many megabytes takes few
// page faults. Elements are default-initialised: growing a block does not
// fill it with zeros first. Allocation failure throws std::bad_alloc.

#include <cstddef>
#include <new>
#include <utility>

namespace tovix::detail {

void* AllocateBlock(size_t bytes);
void FreeBlock(void* block) noexcept;

template <class T>
struct BlockAllocator {
    using value_type = T;
    BlockAllocator() = default;
    template <class U>
    BlockAllocator(const BlockAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(AllocateBlock(n * sizeof(T))); }
    void deallocate(T* p, size_t) noexcept { FreeBlock(p); }
    template <class U>
    void construct(U* p) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const BlockAllocator<U>&) const {
        return true;
    }
};

struct BlockDeleter {
    void operator()(char* block) const noexcept { FreeBlock(block); }
};

}  // namespace tovix::detail
