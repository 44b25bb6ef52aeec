#pragma once
// Several workers take the pictures of a list one by one; each chooses its output name in the
// list's order, so that the names are those one worker would give.

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace brindle {

class NameTurns {
 public:
  // Runs choose for the picture at index once every picture before it has had its turn, and then
  // lets the next one go (also when choose throws). Every index taken from the list must have its
  // turn, in any order, or those after it wait for ever.
  template <typename Choose>
  auto Take(std::size_t index, Choose&& choose) {
    std::unique_lock<std::mutex> lock(lock_);
    turn_.wait(lock, [&] { return next_ == index; });
    struct Pass {
      NameTurns& turns;
      ~Pass() {
        ++turns.next_;
        turns.turn_.notify_all();
      }
    } pass{*this};
    return choose();
  }

 private:
  std::mutex lock_;
  std::condition_variable turn_;
  std::size_t next_ = 0;
};

}  // namespace brindle
