#pragma once
// Naming the file a picture is saved as in the target folder: the source's name with ".jpg" (or the
// extension of the recipe's output format), and
// "(2)", "(3)", ... before the extension while a file or folder of that name exists. With two
// workers the name is chosen and the file created empty under one lock, so the other worker sees it
// as taken.

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "run/list/picture_entry.h"

namespace brindle {

// Held while a target name is chosen and reserved; one per run, shared by its workers.
using OutputNameLock = std::mutex;

// The target folder as names are built on it: the folder text with a "/" at the end.
std::string TargetFolderString(const std::string& folder_text);

// The first free name for entry in target_folder (under its source sub-path when keep_structure).
// A name longer than the program's 259-byte paths (GBK) is never used: the picture is refused with
// a line in the information log and nullopt is returned.
std::optional<std::filesystem::path> ChooseTargetName(const PictureEntry& entry,
                                                      const std::string& target_folder,
                                                      bool keep_structure,
                                                      std::string_view extension = ".jpg");

// A target name chosen and created as an empty file, so that no other worker takes it. Unless
// Keep() is called, the empty file is removed again when the reservation ends (the picture failed),
// but only while it is still the empty file made here: a file written over it in the meantime
// stays.
class TargetReservation {
 public:
  // Chooses and creates the file under lock; nullopt when no name can be used (logged).
  static std::optional<TargetReservation> Reserve(const PictureEntry& entry,
                                                  const std::string& target_folder,
                                                  bool keep_structure, OutputNameLock& lock,
                                                  std::string_view extension = ".jpg");
  // The same with another naming rule: choose gives the first free name, or none.
  static std::optional<TargetReservation> Reserve(
      const std::function<std::optional<std::filesystem::path>()>& choose, OutputNameLock& lock);

  TargetReservation(TargetReservation&& other) noexcept;
  TargetReservation& operator=(TargetReservation&& other) noexcept;
  TargetReservation(const TargetReservation&) = delete;
  TargetReservation& operator=(const TargetReservation&) = delete;
  ~TargetReservation();

  const std::filesystem::path& path() const { return path_; }

  // The picture was written: the file stays.
  void Keep() { owned_ = false; }

  // Removes the reserved file now if it is still the empty file made here; true when removed.
  bool Discard();

 private:
  TargetReservation(std::filesystem::path path, bool owned, dev_t device, ino_t inode);

  std::filesystem::path path_;
  bool owned_ = false;  // whether the empty file was made here and is not yet kept or discarded
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

}  // namespace brindle
