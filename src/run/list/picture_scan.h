#pragma once
// Walking folders for pictures, shared by the picture list and the tool windows. Names within a
// folder come in byte order, so a scan gives the same result on every run. A path too long for the
// program's 259-byte paths (counted in GBK) is left out with a message for the user; the scan goes
// on.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The longest path, in GBK bytes, that the program handles.
constexpr int kMaxPathBytes = 259;

// A path left out of a scan because it is too long: the message to show (caption
// kLongPathCaption, error icon) and the path, which the desktop program shows in the file manager.
struct LongPathNotice {
  std::filesystem::path path;
  std::string message;
};

inline constexpr const char* kLongPathCaption = "提示";

struct ScanResult {
  std::vector<std::filesystem::path> paths;
  std::vector<LongPathNotice> notices;
};

// The folders inside folder whose names do not begin with "."; with recursive, each followed at
// once by the folders inside it. A folder reached again through a link is not walked twice.
ScanResult ListSubFolders(const std::filesystem::path& folder, bool recursive);

// The files directly in folder whose names end in one of the picture extensions (".jpg", ".jpeg",
// ".png", ".bmp", ".gif", ".jfif", ".tif", ".tiff", ".psd", ".tbi", ".heic", ".heif", ".avif",
// ".webp"; any letter case).
ScanResult ListPictureFiles(const std::filesystem::path& folder);

// The files directly in folder whose names match pattern ("*" and "?" wildcards, any letter case).
// "*.*", "*" or an empty pattern match every file, with or without a dot.
ScanResult ListFiles(const std::filesystem::path& folder, std::string_view pattern = "*.*");

// True for the names ListPictureFiles takes.
bool HasPictureExtension(std::string_view name);

// True for the file-system root, which is never added as a folder.
bool IsFileSystemRoot(const std::filesystem::path& folder);

// A picture found by ScanPictureFolder, with its folder relative to the chosen folder's parent
// ("Holiday/day1" for a file in /pics/Holiday/day1 when /pics/Holiday was chosen).
struct ScannedPicture {
  std::filesystem::path path;
  std::string source_sub_path;
};

struct FolderScan {
  std::vector<ScannedPicture> pictures;
  std::vector<LongPathNotice> notices;
  bool has_sub_folders = false;  // whether folder has sub-folders at all (whether to ask)
};

// Scans a chosen folder for pictures: its own files, then, with include_sub_folders, the files of
// every sub-folder at any depth, a folder before the folders inside it. An empty pattern takes
// every picture extension; otherwise only the files matching pattern ("*.jpg").
FolderScan ScanPictureFolder(const std::filesystem::path& folder, bool include_sub_folders,
                             std::string_view pattern = {});

}  // namespace brindle
