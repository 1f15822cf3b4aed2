// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BlockAllocator.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>

namespace tovix::detail {
namespace {

constexpr size_t kHugePage = 2 * 1024 * 1024;
constexpr size_t kHugeBlockMinimum = 2 * kHugePage;

}  // namespace

void* AllocateBlock(size_t bytes) {
    void* block = nullptr;
    if (bytes >= kHugeBlockMinimum) {
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        block = std::aligned_alloc(kHugePage, rounded);
#if defined(MADV_HUGEPAGE)
        if (block) {
            ::madvise(block, rounded, MADV_HUGEPAGE);
        }
#endif
    } else {
        block = std::malloc(std::max<size_t>(bytes, 1));
    }
    if (!block) {
        throw std::bad_alloc();
    }
    return block;
}

void FreeBlock(void* block) noexcept {
    std::free(block);
}

}  // namespace tovix::detail
