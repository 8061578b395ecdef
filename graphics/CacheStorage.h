#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace plugkit::gfx {

// 64-bit FNV-1a of `name` followed by "-%.1fx" of the scale (for example "bg.png-2.0x").
std::uint64_t CacheKeyHash(std::string_view name, double scale);

// A process-wide store of values keyed by (name, scale), shared by every graphics context.
// Contexts hold a reference while they live; when the last one goes the store is emptied.
// Entries form a flat list scanned linearly: a process holds a few dozen at most.
// The lock is recursive because a bitmap load holds it while rescaling, which caches too.
template <typename T>
class CacheStorage {
 public:
  struct Entry {
    std::uint64_t hash;
    std::string name;
    double scale;
    std::unique_ptr<T> value;
  };

  std::recursive_mutex& Mutex() { return mutex_; }

  // [main-thread] One more or one fewer graphics context.
  void Retain() {
    std::lock_guard lock(mutex_);
    ++references_;
  }
  void Release() {
    std::vector<Entry> dropped;
    {
      std::lock_guard lock(mutex_);
      if (references_ > 0 && --references_ == 0) dropped.swap(entries_);
    }
  }
  int References() {
    std::lock_guard lock(mutex_);
    return references_;
  }

  // The following need the lock held by the caller for their lookup-and-insert to be atomic.
  T* Find(std::string_view name, double scale) const {
    std::uint64_t hash = CacheKeyHash(name, scale);
    for (const Entry& entry : entries_) {
      if (entry.hash == hash && entry.scale == scale && entry.name == name) {
        return entry.value.get();
      }
    }
    return nullptr;
  }
  T* Add(std::string name, double scale, std::unique_ptr<T> value) {
    std::uint64_t hash = CacheKeyHash(name, scale);
    entries_.push_back({hash, std::move(name), scale, std::move(value)});
    return entries_.back().value.get();
  }
  // Removes the entry holding `value`, destroying it; false when none holds it.
  bool Remove(const T* value) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->value.get() == value) {
        entries_.erase(it);
        return true;
      }
    }
    return false;
  }
  std::size_t Size() const { return entries_.size(); }

 private:
  std::recursive_mutex mutex_;
  int references_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace plugkit::gfx
