#include "run/list/picture_scan.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <utility>

#include "base/info_log.h"
#include "platform/text/text_encoding.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

enum class EntryKind { kFolder, kFile };

// The names in a folder in byte order; the file system's own order differs between runs and
// machines. An unreadable folder has no names.
std::vector<std::string> SortedNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string LongPathMessage(EntryKind kind, int length, const fs::path& path) {
  const char* format =
      kind == EntryKind::kFolder
          ? "软件因下列原因意外退出：\n文件夹路径长度大于 %d 个字符！\n\n当前文件夹路径长度：%d "
            "个字符\n%s\n\n解决方案：修改文件夹路径长度，使其长度不超过 %d "
            "个字符。\n\n提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。"
          : "软件因下列原因意外退出：\n文件路径长度大于 %d 个字符！\n\n当前文件路径长度：%d "
            "个字符\n%s\n\n解决方案：修改文件路径长度，使其长度不超过 %d "
            "个字符。\n\n提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。";
  return FormatMessage(format, kMaxPathBytes, length, path.c_str(), kMaxPathBytes);
}

// Appends path to the result, or a notice when the path is too long for the program.
void Take(EntryKind kind, const fs::path& path, ScanResult& result) {
  std::size_t length = GbkLength(path.string());
  if (length > static_cast<std::size_t>(kMaxPathBytes)) {
    result.notices.push_back({path, LongPathMessage(kind, static_cast<int>(length), path)});
    return;
  }
  result.paths.push_back(path);
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  // Only regular files (or links to them): opening a pipe or device named like a picture would
  // hang or read forever.
  return fs::is_regular_file(path, ec);
}

template <typename Accept>
ScanResult ListMatchingFiles(const fs::path& folder, Accept accept) {
  ScanResult result;
  for (const std::string& name : SortedNames(folder)) {
    if (!accept(name)) continue;
    fs::path path = folder / name;
    if (!IsRegularFile(path)) continue;
    Take(EntryKind::kFile, path, result);
  }
  return result;
}

using FolderId = std::pair<dev_t, ino_t>;

bool FolderIdOf(const fs::path& folder, FolderId& id) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  id = {info.st_dev, info.st_ino};
  return true;
}

void WalkSubFolders(const fs::path& folder, bool recursive, std::set<FolderId>& seen,
                    ScanResult& result) {
  for (const std::string& name : SortedNames(folder)) {
    if (name.empty() || name[0] == '.') continue;
    fs::path path = folder / name;
    FolderId id;
    if (!FolderIdOf(path, id)) continue;
    // A link back to a folder already walked would make the walk endless.
    if (!seen.insert(id).second) continue;
    std::size_t before = result.paths.size();
    Take(EntryKind::kFolder, path, result);
    if (recursive && result.paths.size() > before) WalkSubFolders(path, true, seen, result);
  }
}

// The folder without trailing separators ("/pics/Holiday/" is "/pics/Holiday").
fs::path WithoutTrailingSeparator(const fs::path& folder) {
  std::string text = folder.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return fs::path(text);
}

// The name that a chosen folder gives its pictures' sub-paths. "." and ".." (as typed on a command
// line) are no names of their own: they stand for the folder they lead to, whose name is used.
std::string ChosenFolderName(const fs::path& folder) {
  fs::path named = folder;
  if (folder.filename() == "." || folder.filename() == "..") {
    std::error_code ec;
    fs::path absolute = fs::absolute(folder, ec);
    if (!ec) named = WithoutTrailingSeparator(absolute.lexically_normal());
  }
  return IsFileSystemRoot(named) ? std::string() : named.filename().string();
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  std::string_view tail = text.substr(text.size() - suffix.size());
  return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

bool HasPictureExtension(std::string_view name) {
  static constexpr std::array<std::string_view, 14> kExtensions = {
      ".jpg", ".jpeg", ".png",  ".bmp",  ".gif",  ".jfif", ".tif",
      ".tiff", ".psd", ".tbi", ".heic", ".heif", ".avif", ".webp"};
  return std::any_of(kExtensions.begin(), kExtensions.end(), [&](std::string_view extension) {
    return EndsWithIgnoringCase(name, extension);
  });
}

bool IsFileSystemRoot(const fs::path& folder) {
  std::string text = folder.string();
  return !text.empty() && text.find_first_not_of('/') == std::string::npos;
}

ScanResult ListSubFolders(const fs::path& folder, bool recursive) {
  ScanResult result;
  std::set<FolderId> seen;
  FolderId id;
  if (FolderIdOf(folder, id)) seen.insert(id);
  WalkSubFolders(folder, recursive, seen, result);
  return result;
}

ScanResult ListPictureFiles(const fs::path& folder) {
  return ListMatchingFiles(folder,
                           [](const std::string& name) { return HasPictureExtension(name); });
}

ScanResult ListFiles(const fs::path& folder, std::string_view pattern) {
  // As on the system the patterns come from, "*.*" takes names without a dot as well.
  if (pattern.empty() || pattern == "*.*" || pattern == "*") {
    return ListMatchingFiles(folder, [](const std::string&) { return true; });
  }
  std::string wanted(pattern);
  return ListMatchingFiles(folder, [&](const std::string& name) {
    return ::fnmatch(wanted.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
  });
}

FolderScan ScanPictureFolder(const fs::path& chosen, bool include_sub_folders,
                             std::string_view pattern) {
  fs::path folder = WithoutTrailingSeparator(chosen);
  std::string folder_name = ChosenFolderName(folder);

  FolderScan scan;
  auto add_files = [&](const fs::path& where, const std::string& sub_path) {
    ScanResult files = pattern.empty() ? ListPictureFiles(where) : ListFiles(where, pattern);
    for (fs::path& path : files.paths) scan.pictures.push_back({std::move(path), sub_path});
    for (LongPathNotice& notice : files.notices) scan.notices.push_back(std::move(notice));
  };

  add_files(folder, folder_name);
  ScanResult sub_folders = ListSubFolders(folder, include_sub_folders);
  scan.has_sub_folders = !sub_folders.paths.empty();
  if (!include_sub_folders) return scan;

  for (LongPathNotice& notice : sub_folders.notices) scan.notices.push_back(std::move(notice));
  for (const fs::path& sub_folder : sub_folders.paths) {
    std::string relative = sub_folder.lexically_relative(folder).generic_string();
    add_files(sub_folder, folder_name.empty() ? relative : folder_name + "/" + relative);
  }
  return scan;
}

}  // namespace brindle
