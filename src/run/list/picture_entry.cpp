#include "run/list/picture_entry.h"

#include <algorithm>
#include <cctype>

#include "base/info_log.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

std::string LowerCaseExtension(const fs::path& path) {
  std::string name = path.filename().string();
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

int AddDegrees(int rotation, int degrees) {
  rotation += degrees;
  if (rotation >= 360) rotation -= 360;
  return rotation;
}

}  // namespace

void ApplyOrientationCommand(PictureEntry& entry, OrientationCommand command) {
  bool flipped = entry.flip != FlipState::kNone;
  switch (command) {
    case OrientationCommand::kRotateRight:
      // A mirrored picture turns the other way round once mirrored back, so the rotation that
      // looks like a right turn is a left one underneath.
      entry.rotation = AddDegrees(entry.rotation, flipped ? 270 : 90);
      break;
    case OrientationCommand::kRotateLeft:
      entry.rotation = AddDegrees(entry.rotation, flipped ? 90 : 270);
      break;
    case OrientationCommand::kFlipHorizontally:
      // Mirroring left-to-right is mirroring top-to-bottom plus a half turn.
      entry.flip = flipped ? FlipState::kNone : FlipState::kByHorizontalFlip;
      entry.rotation = AddDegrees(entry.rotation, 180);
      break;
    case OrientationCommand::kFlipVertically:
      entry.flip = flipped ? FlipState::kNone : FlipState::kByVerticalFlip;
      break;
  }
  entry.thumbnail_done = false;
}

PictureClass PictureClassByExtension(const fs::path& path) {
  std::string extension = LowerCaseExtension(path);
  if (extension == "jpg" || extension == "jpeg" || extension == "jfif") {
    return PictureClass::kJpeg;
  }
  if (extension == "png") return PictureClass::kPng;
  if (extension == "gif") return PictureClass::kGif;
  if (extension == "bmp") return PictureClass::kBmp;
  if (extension == "psd") return PictureClass::kPsd;
  if (extension == "tif" || extension == "tiff") return PictureClass::kTiff;
  if (extension == "heic" || extension == "heif") return PictureClass::kHeif;
  if (extension == "avif") return PictureClass::kAvif;
  if (extension == "webp") return PictureClass::kWebp;
  return PictureClass::kCannotOpen;
}

PictureClass ChoosePictureClass(const fs::path& path, const PictureList::Classifier& classify,
                                bool parse_file_format) {
  if (!parse_file_format) {
    if (PictureClass by_extension = PictureClassByExtension(path); IsPictureFormat(by_extension)) {
      return by_extension;
    }
  }
  return classify(path);
}

PictureList::PictureList() {
  paths_.max_load_factor(0.75f);
  paths_.rehash(8192);
}

PictureList::AddResult PictureList::Add(const fs::path& path, const std::string& source_sub_path,
                                        const Classifier& classify, bool parse_file_format) {
  if (Contains(path)) return AddResult::kAlreadyPresent;
  int sequence = sequence_counter_++;
  PictureClass content_class = ChoosePictureClass(path, classify, parse_file_format);
  if (!IsPictureFormat(content_class)) {
    // A refused path gives its number back, so the numbers stay dense.
    --sequence_counter_;
    const char* format = content_class == PictureClass::kCannotOpen ? "图片读取失败:\r\n%s"
                         : content_class == PictureClass::kAnimatedGif  ? "不支持gif动画图片:\r\n%s"
                         : content_class == PictureClass::kAnimatedWebp ? "不支持webp动画图片:\r\n%s"
                         : content_class == PictureClass::kHeifSequence ? "不支持heif图片序列:\r\n%s"
                                                                        : "无法识别的图片:\r\n%s";
    LogInfo(FormatMessage(format, path.c_str()));
    return AddResult::kRefused;
  }
  PictureEntry entry;
  entry.name = path.filename().string();
  entry.path = path;
  entry.source_sub_path = source_sub_path;
  entry.sequence = sequence;
  entry.content_class = content_class;
  entries_.push_back(std::move(entry));
  paths_.insert(path.string());
  return AddResult::kAdded;
}

void PictureList::Remove(std::vector<std::size_t> indices) {
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  while (!indices.empty() && indices.back() >= entries_.size()) indices.pop_back();
  if (indices.empty()) return;
  if (indices.size() == entries_.size()) {
    RemoveAll();
    return;
  }
  // One pass that keeps the others in order, whatever the number removed.
  std::size_t kept = 0;
  auto next = indices.begin();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (next != indices.end() && *next == i) {
      paths_.erase(entries_[i].path.string());
      ++next;
    } else {
      if (kept != i) entries_[kept] = std::move(entries_[i]);
      ++kept;
    }
  }
  entries_.resize(kept);
}

void PictureList::RemoveRange(std::size_t first, std::size_t end) {
  end = std::min(end, entries_.size());
  if (first >= end) return;
  if (first == 0 && end == entries_.size()) {
    RemoveAll();
    return;
  }
  for (std::size_t i = first; i < end; ++i) paths_.erase(entries_[i].path.string());
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(first),
                 entries_.begin() + static_cast<std::ptrdiff_t>(end));
}

void PictureList::RemoveAll() {
  entries_.clear();
  paths_.clear();
  sequence_counter_ = 0;
}

bool PictureList::Contains(const fs::path& path) const { return paths_.count(path.string()) != 0; }

}  // namespace brindle
