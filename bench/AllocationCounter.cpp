#include "bench/AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);
}

namespace {

// Initial-exec thread locals: reading them never allocates, so malloc itself may use them.
thread_local bool counting = false;
thread_local bench::AllocationCounts counts;

void* AllocateOrThrow(std::size_t size)
{
    if (counting) ++counts.news;
    if (void* p = __libc_malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t alignment)
{
    if (counting) ++counts.news;
    if (void* p = __libc_memalign(static_cast<std::size_t>(alignment), size ? size : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

namespace bench {

void StartCounting()
{
    counting = true;
}

void StopCounting()
{
    counting = false;
}

AllocationCounts CountedAllocations()
{
    return counts;
}

void ResetCounts()
{
    counts = AllocationCounts();
}

}  // namespace bench

extern "C" {

void* malloc(std::size_t size)
{
    if (counting) ++counts.mallocs;
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    if (counting) ++counts.mallocs;
    return __libc_calloc(count, size);
}

void* realloc(void* p, std::size_t size)
{
    if (counting && size) ++counts.mallocs;
    return __libc_realloc(p, size);
}

void* memalign(std::size_t alignment, std::size_t size)
{
    if (counting) ++counts.mallocs;
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    if (counting) ++counts.mallocs;
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size)
{
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return 22;  // EINVAL
    if (counting) ++counts.mallocs;
    void* p = __libc_memalign(alignment, size);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}

void free(void* p)
{
    __libc_free(p);
}

}  // extern "C"

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (counting) ++counts.news;
    return __libc_malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (counting) ++counts.news;
    return __libc_malloc(size ? size : 1);
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return AllocateAlignedOrThrow(size, alignment);
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return AllocateAlignedOrThrow(size, alignment);
}

void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    if (counting) ++counts.news;
    return __libc_memalign(static_cast<std::size_t>(alignment), size ? size : 1);
}

void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    if (counting) ++counts.news;
    return __libc_memalign(static_cast<std::size_t>(alignment), size ? size : 1);
}

void operator delete(void* p) noexcept { __libc_free(p); }
void operator delete[](void* p) noexcept { __libc_free(p); }
void operator delete(void* p, std::size_t) noexcept { __libc_free(p); }
void operator delete[](void* p, std::size_t) noexcept { __libc_free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { __libc_free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { __libc_free(p); }
void operator delete(void* p, std::align_val_t) noexcept { __libc_free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { __libc_free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { __libc_free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { __libc_free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { __libc_free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { __libc_free(p); }
