#include "bench/HeapCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long long> liveDelta{0};
std::atomic<long long> peakDelta{0};

void* allocate(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  if (counting.load(std::memory_order_relaxed)) {
    auto bytes = static_cast<long long>(malloc_usable_size(p));
    long long live = liveDelta.fetch_add(bytes) + bytes;
    long long peak = peakDelta.load();
    while (live > peak && !peakDelta.compare_exchange_weak(peak, live)) {
    }
  }
  return p;
}

void release(void* p) noexcept {
  if (!p) return;
  if (counting.load(std::memory_order_relaxed)) {
    liveDelta.fetch_sub(static_cast<long long>(malloc_usable_size(p)));
  }
  std::free(p);
}

}  // namespace

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }

namespace heapcounter {

void start() {
  liveDelta = 0;
  peakDelta = 0;
  counting = true;
}
void stop() { counting = false; }
long long liveBytes() { return liveDelta.load(); }
long long peakBytes() { return peakDelta.load(); }

}  // namespace heapcounter
