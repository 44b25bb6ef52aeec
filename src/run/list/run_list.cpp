#include "run/list/run_list.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "base/info_log.h"

namespace brindle {

namespace fs = std::filesystem;

int MakeFolder(const fs::path& folder) {
  if (::mkdir(folder.c_str(), 0777) == 0) return 0;
  int error_number = errno;
  std::error_code ec;
  if (error_number == EEXIST && fs::is_directory(folder, ec)) return 0;
  return error_number;
}

std::optional<Refusal> MakeOutputFolder(const fs::path& folder) {
  const int error_number = MakeFolder(folder);
  if (error_number == 0) return std::nullopt;
  Refusal refusal;
  refusal.kind = RefusalKind::kFailure;
  refusal.message = FormatMessage("创建文件夹 %s 失败，错误码：%d", folder.c_str(), error_number);
  refusal.caption = "错误";
  refusal.icon = MessageIcon::kError;
  refusal.take_focus = false;
  return refusal;
}

namespace {

RunMessage FolderFailure(const char* format, const fs::path& folder, int error_number) {
  return {FormatMessage(format, folder.c_str(), error_number), "错误", MessageIcon::kError};
}

void AddFiles(const RunListRequest& request, const fs::path& folder,
              const std::string& relative_folder, RunList& list) {
  ScanResult files = ListFiles(folder, request.pattern);
  for (fs::path& path : files.paths) {
    if (request.accepts && !request.accepts(path.filename().string())) continue;
    list.pictures.push_back({std::move(path), relative_folder, {}});
  }
  for (LongPathNotice& notice : files.notices) list.notices.push_back(std::move(notice));
}

}  // namespace

RunList BuildRunList(const RunListRequest& request, const std::atomic<bool>& stop_requested) {
  RunList list;
  const fs::path& source = request.source_folder;
  AddFiles(request, source, "", list);

  if (request.output_folder) {
    std::error_code ec;
    if (!fs::is_directory(*request.output_folder, ec)) {
      if (int error_number = MakeFolder(*request.output_folder)) {
        list.failure = FolderFailure("任务中止！\n\n创建文件夹 %s 失败，错误码：%d",
                                     *request.output_folder, error_number);
        return list;
      }
    }
  }
  if (!request.include_sub_folders) return list;

  ScanResult sub_folders = ListSubFolders(source, /*recursive=*/true);
  for (LongPathNotice& notice : sub_folders.notices) list.notices.push_back(std::move(notice));
  for (const fs::path& sub_folder : sub_folders.paths) {
    if (stop_requested.load()) break;
    std::string relative = "/";
    relative += sub_folder.lexically_relative(source).generic_string();
    AddFiles(request, sub_folder, relative, list);
    if (!request.output_folder) continue;
    fs::path mirror = request.output_folder->string() + relative;
    if (int error_number = MakeFolder(mirror)) {
      list.failure =
          FolderFailure("任务中止！\n\n创建子文件夹 %s 失败，错误码：%d", mirror, error_number);
      return list;
    }
  }
  return list;
}

std::optional<RunMessage> MakeMirrorFolders(const fs::path& source_folder,
                                            const fs::path& output_folder,
                                            const std::atomic<bool>& stop_requested) {
  ScanResult sub_folders = ListSubFolders(source_folder, /*recursive=*/true);
  for (const fs::path& sub_folder : sub_folders.paths) {
    if (stop_requested.load()) break;
    fs::path mirror = output_folder.string() + "/" +
                      sub_folder.lexically_relative(source_folder).generic_string();
    if (int error_number = MakeFolder(mirror)) {
      return FolderFailure("任务中止！\n\n创建子文件夹 %s 失败，错误码：%d", mirror, error_number);
    }
  }
  return std::nullopt;
}

}  // namespace brindle
