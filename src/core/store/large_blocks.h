#pragma once

#include <cstddef>
#include <new>

namespace dw {

// Blocks of a megabyte or more come in whole large pages (2 MiB), aligned to them, and the
// system is asked to back them so: filling a fresh block then costs a page fault per large
// page instead of one per 4 KiB, and page faults are most of what loading a large table
// costs. Smaller blocks come from the heap as usual.
constexpr std::size_t kLargeBlock = std::size_t{1} << 20;
void* allocateLargeBlock(std::size_t size); // throws std::bad_alloc
void freeLargeBlock(void* block, std::size_t size) noexcept;

// The same as an allocator, for the containers that hold a loaded table.
template <typename T> struct LargeBlockAllocator {
    using value_type = T;
    LargeBlockAllocator() = default;
    template <typename U> LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        const std::size_t size = n * sizeof(T);
        if (size < kLargeBlock)
            return static_cast<T*>(::operator new(size));
        return static_cast<T*>(allocateLargeBlock(size));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        const std::size_t size = n * sizeof(T);
        if (size < kLargeBlock)
            ::operator delete(p);
        else
            freeLargeBlock(p, size);
    }
    template <typename U> bool operator==(const LargeBlockAllocator<U>&) const noexcept {
        return true;
    }
};

} // namespace dw
