#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <new>

namespace plugkit {

// Lock-free ring for exactly one producer thread and one consumer thread. Holds up to
// Capacity entries (one slot stays free to tell full from empty); a push onto a full ring is
// dropped. The writer publishes its index with release after writing the entry, the reader
// acquires it before reading, so entries never tear.
template <typename T, std::size_t Capacity>
class SpscRing {
  static_assert(Capacity > 0);
  static constexpr std::size_t kSlots = Capacity + 1;

 public:
  static constexpr std::size_t capacity() { return Capacity; }

  // [producer thread] False when the ring is full (the entry is dropped).
  bool Push(const T& entry) {
    const std::size_t write = write_.load(std::memory_order_relaxed);
    const std::size_t next = Advance(write);
    if (next == read_.load(std::memory_order_acquire)) return false;
    slots_[write] = entry;
    write_.store(next, std::memory_order_release);
    return true;
  }

  // [consumer thread] False when the ring is empty.
  bool Pop(T& entry) {
    const std::size_t read = read_.load(std::memory_order_relaxed);
    if (read == write_.load(std::memory_order_acquire)) return false;
    entry = slots_[read];
    read_.store(Advance(read), std::memory_order_release);
    return true;
  }

  // [thread-safe] A snapshot; exact only on the consumer side.
  std::size_t Size() const {
    const std::size_t write = write_.load(std::memory_order_acquire);
    const std::size_t read = read_.load(std::memory_order_acquire);
    return write >= read ? write - read : write + kSlots - read;
  }
  bool Empty() const { return Size() == 0; }

 private:
  static constexpr std::size_t Advance(std::size_t i) { return i + 1 == kSlots ? 0 : i + 1; }

  // Separate cache lines so producer and consumer don't fight over one.
  alignas(64) std::atomic<std::size_t> write_{0};
  alignas(64) std::atomic<std::size_t> read_{0};
  std::array<T, kSlots> slots_{};
};

}  // namespace plugkit
