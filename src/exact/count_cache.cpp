// Buckets of four entries, each bucket guarded by one of a few thousand spin locks: the threads of
// a count rarely meet on one bucket, and a lock is held for a few comparisons only. The whole
// table is reserved at once but the system gives it memory page by page, and the table starts
// small and doubles, so that a small count touches few pages.
#include "exact/count_cache.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>

#include "exact/search_state_key.h"

namespace jobshop {

namespace {

bool sameKey(const std::uint64_t* stored, std::span<const std::uint64_t> key) {
  return std::memcmp(stored, key.data(), key.size_bytes()) == 0;
}

}  // namespace

CountCache::CountCache(std::size_t memoryBytes, int keyWords, int payloadWords)
    : keyWords_(static_cast<std::size_t>(keyWords)),
      stride_(keyWords_ + 3 + static_cast<std::size_t>(payloadWords)),
      maxBuckets_(std::bit_floor(std::max<std::size_t>(
          kFirstBuckets, memoryBytes / (stride_ * sizeof(std::uint64_t) * kSlots)))),
      mask_(std::min(kFirstBuckets, maxBuckets_) - 1),
      table_(static_cast<std::uint64_t*>(
                 std::calloc(maxBuckets_ * kSlots * stride_, sizeof(std::uint64_t))),
             std::free),
      locks_(new std::atomic_flag[kLocks]) {
  if (!table_) throw std::bad_alloc();
  for (std::size_t k = 0; k < kLocks; ++k) locks_[k].clear();
}

void CountCache::lock(std::size_t bucket) {
  std::atomic_flag& flag = locks_[bucket % kLocks];
  while (flag.test_and_set(std::memory_order_acquire)) {
    while (flag.test(std::memory_order_relaxed)) {
    }
  }
}

void CountCache::unlock(std::size_t bucket) {
  locks_[bucket % kLocks].clear(std::memory_order_release);
}

bool CountCache::find(std::span<const std::uint64_t> key, std::uint64_t hash,
                      unsigned __int128& count, CountCacheStats& stats,
                      std::span<std::uint64_t> payload) {
  ++stats.lookups;
  const std::size_t bucket = hash & mask_.load(std::memory_order_relaxed);
  bool found = false;
  lock(bucket);
  for (std::size_t k = 0; k < kSlots && !found; ++k) {
    const std::uint64_t* s = slot(bucket, k);
    if (s[keyWords_ + 2] != 0 && sameKey(s, key)) {
      count = (static_cast<unsigned __int128>(s[keyWords_ + 1]) << 64) | s[keyWords_];
      if (!payload.empty()) std::memcpy(payload.data(), s + keyWords_ + 3, payload.size_bytes());
      found = true;
    }
  }
  unlock(bucket);
  if (found) ++stats.hits;
  return found;
}

void CountCache::store(std::span<const std::uint64_t> key, std::uint64_t hash,
                       unsigned __int128 count, std::uint64_t work, CountCacheStats& stats,
                       std::span<const std::uint64_t> payload) {
  ++stats.stores;
  const std::size_t bucket = hash & mask_.load(std::memory_order_relaxed);
  lock(bucket);
  // The same key (stored meanwhile by another thread), else an empty entry, else the least work.
  std::uint64_t* target = nullptr;
  for (std::size_t k = 0; k < kSlots; ++k) {
    std::uint64_t* s = slot(bucket, k);
    if (s[keyWords_ + 2] != 0 && sameKey(s, key)) {
      target = s;
      break;
    }
    if (target == nullptr || s[keyWords_ + 2] < target[keyWords_ + 2]) target = s;
  }
  const bool replacing = target[keyWords_ + 2] != 0 && !sameKey(target, key);
  std::memcpy(target, key.data(), key.size_bytes());
  target[keyWords_] = static_cast<std::uint64_t>(count);
  target[keyWords_ + 1] = static_cast<std::uint64_t>(count >> 64);
  target[keyWords_ + 2] = std::max<std::uint64_t>(work, 1);
  if (!payload.empty()) std::memcpy(target + keyWords_ + 3, payload.data(), payload.size_bytes());
  unlock(bucket);
  if (replacing) ++stats.evictions;
}

void CountCache::noteStores(std::size_t stores) {
  if (stores == 0) return;
  const std::size_t stored = stores_.fetch_add(stores) + stores;
  if (2 * stored < capacity() || mask_.load() + 1 >= maxBuckets_) return;
  if (growing_.exchange(true)) return;
  grow();
  growing_.store(false);
}

// Buckets b and b + old share a lock (old is a multiple of kLocks); each entry of b whose hash
// now names b + old moves there. Lookups meanwhile may miss an entry not yet moved, no more.
void CountCache::grow() {
  const std::size_t old = mask_.load() + 1;
  mask_.store(2 * old - 1);
  for (std::size_t b = 0; b < old; ++b) {
    lock(b);
    for (std::size_t k = 0; k < kSlots; ++k) {
      std::uint64_t* from = slot(b, k);
      if (from[keyWords_ + 2] == 0) continue;
      const std::uint64_t hash = stateKeyHash({from, keyWords_});
      if ((hash & (2 * old - 1)) == b) continue;
      std::uint64_t* to = slot(b + old, 0);
      for (std::size_t t = 1; t < kSlots; ++t) {
        if (slot(b + old, t)[keyWords_ + 2] < to[keyWords_ + 2]) to = slot(b + old, t);
      }
      if (to[keyWords_ + 2] < from[keyWords_ + 2])
        std::memcpy(to, from, stride_ * sizeof(std::uint64_t));
      std::fill(from, from + stride_, 0);
    }
    unlock(b);
  }
}

}  // namespace jobshop
