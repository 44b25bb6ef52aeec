#include "run/batch/thread_count.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace brindle {

namespace {
constexpr std::uint64_t kOneGiB = 1073741824ULL;
constexpr std::uint64_t kMemoryPerWorker = 524288000ULL;  // 500 MiB
constexpr std::uint64_t kLargePicture = 52428800ULL;      // 50 MiB
constexpr std::size_t kPicturesLookedAt = 5;
}  // namespace

MachineFacts ReadMachineFacts() {
  MachineFacts facts;
  facts.processors = std::max(1u, std::thread::hardware_concurrency());
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream fields(line);
    std::string name;
    std::uint64_t kilobytes = 0;
    if (fields >> name >> kilobytes && name == "MemAvailable:") {
      facts.available_memory = kilobytes * 1024;
      break;
    }
  }
  return facts;
}

int DecideThreadCount(int thread_model, const MachineFacts& facts, std::size_t entry_count,
                      const std::vector<std::uint64_t>& leading_file_sizes) {
  if (thread_model == 1) return 1;
  if (!facts.available_memory) return 1;
  std::uint64_t available = *facts.available_memory;
  std::uint64_t n = available > kOneGiB ? 2 : available / kMemoryPerWorker;
  if (n == 0) return 1;
  if (n >= facts.processors) return 1;
  n = std::min<std::uint64_t>(n, entry_count);
  if (n != 2) return 1;
  for (std::size_t i = 0; i < leading_file_sizes.size() && i < kPicturesLookedAt; ++i) {
    if (leading_file_sizes[i] > kLargePicture) return 1;
  }
  return 2;
}

}  // namespace brindle
