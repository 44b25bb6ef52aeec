#include "platform/magick/pixel_memory_pool.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include <wand/MagickWand.h>

namespace brindle {
namespace {

// Smaller buffers come from the allocator's own heap, which reuses them anyway.
constexpr std::size_t kPooledFrom = std::size_t{4} << 20;
// What the pool may keep: the pictures of one crop preview (the crop, its encoding, its frame and
// the part of the background it is laid on).
constexpr std::size_t kKeptBytesAtMost = std::size_t{256} << 20;
constexpr std::size_t kKeptBuffersAtMost = 4;

struct Buffer {
  void* address = nullptr;
  std::size_t size = 0;
};

struct Pool {
  std::mutex lock;
  std::unordered_map<void*, std::size_t> in_use;  // pooled-size buffers handed out
  std::vector<Buffer> kept;                       // oldest first
  std::size_t kept_bytes = 0;

  void FreeOldestWhileOver(std::size_t bytes, std::size_t count) {
    while (!kept.empty() && (kept_bytes > bytes || kept.size() > count)) {
      std::free(kept.front().address);
      kept_bytes -= kept.front().size;
      kept.erase(kept.begin());
    }
  }
};

// Never destroyed: ImageMagick may give buffers back while the program ends.
Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

void* Acquire(std::size_t size, std::size_t alignment) {
  Pool& pool = ThePool();
  if (size >= kPooledFrom) {
    std::lock_guard<std::mutex> guard(pool.lock);
    // The smallest kept buffer that fits without wasting more than half the request.
    auto best = pool.kept.end();
    for (auto it = pool.kept.begin(); it != pool.kept.end(); ++it) {
      if (it->size >= size && it->size - size <= size / 2 &&
          (best == pool.kept.end() || it->size < best->size)) {
        best = it;
      }
    }
    if (best != pool.kept.end()) {
      Buffer buffer = *best;
      pool.kept.erase(best);
      pool.kept_bytes -= buffer.size;
      pool.in_use.emplace(buffer.address, buffer.size);
      return buffer.address;
    }
  }
  void* address = nullptr;
  if (posix_memalign(&address, std::max(alignment, sizeof(void*)),
                     std::max<std::size_t>(size, 1)) != 0) {
    return nullptr;
  }
  if (size >= kPooledFrom) {
    std::lock_guard<std::mutex> guard(pool.lock);
    pool.in_use.emplace(address, size);
  }
  return address;
}

void Relinquish(void* address) {
  if (address == nullptr) return;
  Pool& pool = ThePool();
  {
    std::lock_guard<std::mutex> guard(pool.lock);
    auto it = pool.in_use.find(address);
    if (it != pool.in_use.end()) {
      const std::size_t size = it->second;
      pool.in_use.erase(it);
      if (size <= kKeptBytesAtMost) {
        pool.kept.push_back({address, size});
        pool.kept_bytes += size;
        pool.FreeOldestWhileOver(kKeptBytesAtMost, kKeptBuffersAtMost);
        return;
      }
    }
  }
  std::free(address);
}

}  // namespace

void UsePixelMemoryPool() { SetMagickAlignedMemoryMethods(Acquire, Relinquish); }

void ReleasePixelMemoryPool() {
  Pool& pool = ThePool();
  std::lock_guard<std::mutex> guard(pool.lock);
  pool.FreeOldestWhileOver(0, 0);
}

}  // namespace brindle
