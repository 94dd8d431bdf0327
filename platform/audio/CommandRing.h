// A fixed ring of commands from one thread to another: posting and taking never wait nor allocate.
#pragma once
#include <array>
#include <atomic>
#include <cstddef>

// One producer and one consumer. Entries between the consumer's position and the producer's are
// pending: the producer may still read them (to answer what it has asked for), the consumer reads
// them once and moves on.
template <class T, std::size_t N>
class CommandRing {
    static_assert((N & (N - 1)) == 0, "a power of two");

public:
    // Producer: false when full (the command is not posted).
    bool Post(const T& command)
    {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) == N) return false;
        slots_[head % N] = command;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Consumer: the oldest pending command, if any.
    bool Take(T& command)
    {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire)) return false;
        command = slots_[tail % N];
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Producer: visits the pending commands from the newest back until `f` returns true.
    template <class F>
    bool FindPending(F f) const
    {
        const std::size_t head = head_.load(std::memory_order_relaxed), tail = tail_.load(std::memory_order_acquire);
        for (std::size_t i = head; i != tail; --i) {
            if (f(slots_[(i - 1) % N])) return true;
        }
        return false;
    }

private:
    std::array<T, N> slots_{};
    std::atomic<std::size_t> head_{0};  // next to post
    std::atomic<std::size_t> tail_{0};  // next to take
};
