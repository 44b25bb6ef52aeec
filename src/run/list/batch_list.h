#pragma once
// Filling the picture list of a main batch from files and folders, as named (brindle-cli's
// arguments, a desktop program started with paths), and the number of workers for it.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "run/list/picture_entry.h"

namespace brindle {

struct BatchListFill {
  int skipped = 0;  // pictures refused (logged) and paths too long for the program
  // What to tell the user besides the log: paths left out and folders without pictures, in order.
  std::vector<std::string> notices;
};

// Adds each path in order: a file as it is (its content decides its type), a folder's pictures in
// scan order (its sub-folders' too with recursive). A path already in the list is left alone.
BatchListFill AddPathsToList(PictureList& list, const std::vector<std::filesystem::path>& paths,
                             bool recursive);

// The worker count of a run over the list: the thread model (1: one; 2: as this machine's memory
// and processors and the first pictures' file sizes allow).
int BatchThreadCount(int thread_model, const PictureList& list);

}  // namespace brindle
