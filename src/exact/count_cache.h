// The counts of completions already known, shared by the threads of a count: a table that grows by
// doubling up to the memory limit and then replaces entries, the least worked-for first. A count
// looked up is either found under its whole key or not found, so a lost entry costs time only.
// An entry may carry a payload of a fixed number of words beside its count (the orders its
// completions realise), found and lost with it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace jobshop {

struct CountCacheStats {
  std::int64_t lookups = 0;
  std::int64_t hits = 0;
  std::int64_t stores = 0;
  std::int64_t evictions = 0;  // entries replaced by another key

  void add(const CountCacheStats& other) {
    lookups += other.lookups;
    hits += other.hits;
    stores += other.stores;
    evictions += other.evictions;
  }
};

class CountCache {
 public:
  // A table of at most memoryBytes for keys of keyWords 64-bit words, each entry with a payload of
  // payloadWords words.
  CountCache(std::size_t memoryBytes, int keyWords, int payloadWords = 0);

  // The count stored under key, when there is one, and its payload into payload (payloadWords
  // words, or empty when the table has none).
  bool find(std::span<const std::uint64_t> key, std::uint64_t hash, unsigned __int128& count,
            CountCacheStats& stats, std::span<std::uint64_t> payload = {});
  // Stores count and its payload under key; work (the nodes its count took) decides which entry a
  // full bucket gives up.
  void store(std::span<const std::uint64_t> key, std::uint64_t hash, unsigned __int128 count,
             std::uint64_t work, CountCacheStats& stats,
             std::span<const std::uint64_t> payload = {});

  // Entries and bytes in use now, and at most.
  // Tells the table of stores made since the last call: once it has taken half as many stores
  // as it holds entries, it doubles, while it may, before its fullest buckets start replacing.
  void noteStores(std::size_t stores);

  std::size_t capacity() const { return (mask_.load() + 1) * kSlots; }
  std::size_t bytes() const { return capacity() * stride_ * sizeof(std::uint64_t); }
  std::size_t maxBytes() const { return maxBuckets_ * kSlots * stride_ * sizeof(std::uint64_t); }

 private:
  static constexpr std::size_t kSlots = 4;  // entries of one bucket
  // A power of two no larger than the first table, so that the two buckets a doubling splits one
  // into share its lock.
  static constexpr std::size_t kLocks = 4096;
  static constexpr std::size_t kFirstBuckets = 1 << 14;

  // Slot layout: key words, count low, count high, work (0: empty), payload.
  std::uint64_t* slot(std::size_t bucket, std::size_t k) {
    return table_.get() + (bucket * kSlots + k) * stride_;
  }
  void lock(std::size_t bucket);
  void unlock(std::size_t bucket);
  void grow();

  std::size_t keyWords_;
  std::size_t stride_;
  std::size_t maxBuckets_;         // a power of two
  std::atomic<std::size_t> mask_;  // buckets in use - 1
  std::atomic<std::size_t> stores_{0};
  std::atomic<bool> growing_{false};
  // Zeroed by the system page by page as entries are first written, so a large limit costs
  // memory only as the table fills.
  std::unique_ptr<std::uint64_t[], void (*)(void*)> table_;
  std::unique_ptr<std::atomic_flag[]> locks_;
};

}  // namespace jobshop
