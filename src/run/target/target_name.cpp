#include "run/target/target_name.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "base/info_log.h"
#include "platform/text/text_encoding.h"
#include "run/list/picture_scan.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// The source's name without its last extension: "archive.tar.gif" gives "archive.tar", a name
// without a dot stays whole.
std::string Stem(const PictureEntry& entry) {
  std::string name = entry.path.filename().string();
  std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string Candidate(const std::string& folder, const PictureEntry& entry, bool keep_structure,
                      const std::string& stem, int number, std::string_view extension) {
  std::string text = folder;
  // A picture added as a single file has no sub-path and goes straight into the folder.
  if (keep_structure && !entry.source_sub_path.empty()) text += entry.source_sub_path + "/";
  text += stem;
  if (number >= 2) {
    text += '(';
    text += std::to_string(number);
    text += ')';
  }
  text += extension;
  return text;
}

bool NameTaken(const std::string& candidate) {
  std::error_code ec;
  // A dangling link counts as taken too: writing through it would land somewhere else.
  return fs::symlink_status(candidate, ec).type() != fs::file_type::not_found;
}

}  // namespace

std::string TargetFolderString(const std::string& folder_text) {
  if (!folder_text.empty() && folder_text.back() == '/') return folder_text;
  return folder_text + "/";
}

std::optional<fs::path> ChooseTargetName(const PictureEntry& entry,
                                         const std::string& target_folder, bool keep_structure,
                                         std::string_view extension) {
  std::string folder = TargetFolderString(target_folder);
  std::string stem = Stem(entry);
  for (int number = 1;; ++number) {
    std::string candidate = Candidate(folder, entry, keep_structure, stem, number, extension);
    if (GbkLength(candidate) > static_cast<std::size_t>(kMaxPathBytes)) {
      std::string reason = FormatMessage("文件路径长度大于 %d 个字符！", kMaxPathBytes);
      LogInfo(FormatMessage("图片处理后保存失败：\r\n%s\r\n源图片：%s\r\n保存到：%s",
                            reason.c_str(), entry.path.c_str(), candidate.c_str()));
      return std::nullopt;
    }
    if (!NameTaken(candidate)) return fs::path(candidate);
  }
}

std::optional<TargetReservation> TargetReservation::Reserve(const PictureEntry& entry,
                                                            const std::string& target_folder,
                                                            bool keep_structure,
                                                            OutputNameLock& lock,
                                                            std::string_view extension) {
  return Reserve(
      [&] { return ChooseTargetName(entry, target_folder, keep_structure, extension); }, lock);
}

std::optional<TargetReservation> TargetReservation::Reserve(
    const std::function<std::optional<fs::path>()>& choose, OutputNameLock& lock) {
  std::lock_guard<OutputNameLock> guard(lock);
  for (;;) {
    std::optional<fs::path> path = choose();
    if (!path) return std::nullopt;
    // Exclusive creation: should anything else take the name between the check and here, the
    // next name is chosen instead of sharing this one.
    int fd = ::open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      // The folder cannot take the file; writing the picture will fail and say so.
      return TargetReservation(std::move(*path), false, 0, 0);
    }
    struct stat info {};
    bool known = ::fstat(fd, &info) == 0;
    ::close(fd);
    return TargetReservation(std::move(*path), known, info.st_dev, info.st_ino);
  }
}

TargetReservation::TargetReservation(fs::path path, bool owned, dev_t device, ino_t inode)
    : path_(std::move(path)), owned_(owned), device_(device), inode_(inode) {}

TargetReservation::TargetReservation(TargetReservation&& other) noexcept
    : path_(std::move(other.path_)),
      owned_(std::exchange(other.owned_, false)),
      device_(other.device_),
      inode_(other.inode_) {}

TargetReservation& TargetReservation::operator=(TargetReservation&& other) noexcept {
  if (this != &other) {
    Discard();
    path_ = std::move(other.path_);
    owned_ = std::exchange(other.owned_, false);
    device_ = other.device_;
    inode_ = other.inode_;
  }
  return *this;
}

TargetReservation::~TargetReservation() { Discard(); }

bool TargetReservation::Discard() {
  if (!owned_) return false;
  owned_ = false;
  struct stat info {};
  if (::lstat(path_.c_str(), &info) != 0) return false;
  bool still_ours =
      S_ISREG(info.st_mode) && info.st_dev == device_ && info.st_ino == inode_ && info.st_size == 0;
  return still_ours && ::unlink(path_.c_str()) == 0;
}

}  // namespace brindle
