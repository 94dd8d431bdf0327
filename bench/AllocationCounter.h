// Counts heap allocations made by the calling thread while counting is on (global new/delete and malloc replaced).
#pragma once
#include <cstdint>

namespace bench {

struct AllocationCounts {
    std::uint64_t news = 0;     // operator new and new[], every form
    std::uint64_t mallocs = 0;  // malloc, calloc, realloc and the aligned forms, from any library
    std::uint64_t Total() const { return news + mallocs; }
};

// Counting is per thread: the renderer's worker threads allocate on their own and are not the game's.
void StartCounting();
void StopCounting();
// What the calling thread allocated while counting was on, since the last reset.
AllocationCounts CountedAllocations();
void ResetCounts();

}  // namespace bench
