#pragma once
// How many workers a main batch run uses: one, or two when the machine has the memory and the
// processors for it and the pictures are not too large.

#include <cstdint>
#include <optional>
#include <vector>

namespace brindle {

struct MachineFacts {
  std::optional<std::uint64_t> available_memory;  // bytes; nullopt when it cannot be read
  unsigned processors = 1;
};

// Available memory (MemAvailable of /proc/meminfo) and the processor count of this machine.
MachineFacts ReadMachineFacts();

// thread_model is the stored preference (1: one worker; 2: decided by the facts; anything else is
// read as 2). leading_file_sizes are the byte sizes of the first (up to five) pictures of the list.
int DecideThreadCount(int thread_model, const MachineFacts& facts, std::size_t entry_count,
                      const std::vector<std::uint64_t>& leading_file_sizes);

}  // namespace brindle
