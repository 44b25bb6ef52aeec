#pragma once
// The pictures of the main list: what each entry remembers, the list that refuses a path it already
// holds, and the per-picture rotate and flip commands.
//
// The list itself is not locked: the owner keeps readers (the thumbnail worker) away while it
// changes.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/read/picture_classify.h"

namespace brindle {

// How a picture is mirrored after it is rotated. Any flipped state means: mirror top-to-bottom
// after rotating; the two flipped states only remember which command led there.
enum class FlipState : int { kNone = 0, kByHorizontalFlip = 1, kByVerticalFlip = 2 };

struct PictureEntry {
  std::string name;             // the last path component, e.g. "photo.png"
  std::filesystem::path path;   // the full path
  std::string source_sub_path;  // "Holiday/day1" for a file found in a scanned folder, else ""
  int sequence = 0;             // running number given when the entry was made
  int icon_index = -1;          // the thumbnail's place in the list's image list; -1 for none
  int rotation = 0;             // clockwise degrees: 0, 90, 180 or 270
  bool thumbnail_done = false;  // cleared to ask the thumbnail worker for a new one
  FlipState flip = FlipState::kNone;
  PictureClass content_class = PictureClass::kCannotOpen;  // decides the type icon
};

enum class OrientationCommand { kRotateRight, kRotateLeft, kFlipHorizontally, kFlipVertically };

// Applies one toolbar command to an entry and asks for a new thumbnail.
void ApplyOrientationCommand(PictureEntry& entry, OrientationCommand command);

class PictureList {
 public:
  // Reads a file's contents and returns its content class (one of the values above).
  using Classifier = std::function<PictureClass(const std::filesystem::path&)>;

  enum class AddResult { kAdded, kAlreadyPresent, kRefused };

  PictureList();

  // Adds one picture at the end. A path already in the list is left alone. With parse_file_format
  // off a known extension decides the type; otherwise the classifier reads the file, and a file it
  // cannot use is refused with a line in the information log.
  AddResult Add(const std::filesystem::path& path, const std::string& source_sub_path,
                const Classifier& classify, bool parse_file_format);

  // Removes the entries at the given indices (any order, repeats ignored). Removing every entry
  // is RemoveAll.
  void Remove(std::vector<std::size_t> indices);
  // Removes the entries first to end - 1 in one step (as the list's views remove a run of rows).
  void RemoveRange(std::size_t first, std::size_t end);
  // Empties the list and starts the running numbers again from 0.
  void RemoveAll();

  bool Contains(const std::filesystem::path& path) const;
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const PictureEntry& operator[](std::size_t index) const { return entries_[index]; }
  PictureEntry& operator[](std::size_t index) { return entries_[index]; }
  const std::vector<PictureEntry>& entries() const { return entries_; }

 private:
  std::vector<PictureEntry> entries_;
  std::unordered_set<std::string> paths_;
  int sequence_counter_ = 0;
};

// The type a known extension stands for ("jpg", "jpeg", "jfif", "png", "gif", "bmp", "psd", "tif",
// "tiff", "heic", "heif", "avif", "webp", any letter case); kCannotOpen for any other extension.
PictureClass PictureClassByExtension(const std::filesystem::path& path);

// The content class as the list decides it: by extension when parse_file_format is off and the
// extension is known, else by the classifier.
PictureClass ChoosePictureClass(const std::filesystem::path& path,
                                const PictureList::Classifier& classify, bool parse_file_format);

}  // namespace brindle
