#include "core/store/large_blocks.h"

#include <cstdint>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#endif

namespace dw {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

std::size_t inLargePages(std::size_t size) {
    return (size + kLargePage - 1) / kLargePage * kLargePage;
}

} // namespace

// The block comes from the heap like any other, so that everything that counts or limits
// the heap sees it: with a large page of slack, and the heap's own pointer kept just before
// the aligned start. The slack is never touched, so it costs no memory.
void* allocateLargeBlock(std::size_t size) {
    if (size > static_cast<std::size_t>(-1) - 3 * kLargePage)
        throw std::bad_alloc();
    const std::size_t length = inLargePages(size);
    void* const heap = ::operator new(length + kLargePage + sizeof(void*));
    const auto start = reinterpret_cast<std::uintptr_t>(heap) + sizeof(void*);
    const std::uintptr_t aligned = (start + kLargePage - 1) & ~(kLargePage - 1);
    std::memcpy(reinterpret_cast<void*>(aligned - sizeof(void*)), &heap, sizeof heap);
#ifdef MADV_HUGEPAGE
    ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(aligned);
}

void freeLargeBlock(void* block, std::size_t) noexcept {
    if (!block)
        return;
    void* heap = nullptr;
    std::memcpy(&heap, static_cast<char*>(block) - sizeof(void*), sizeof heap);
    ::operator delete(heap);
}

} // namespace dw
