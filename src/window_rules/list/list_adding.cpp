#include "window_rules/list/list_adding.h"

#include <system_error>

#include "base/info_log.h"
#include "engine/read/picture_classify.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

int Add(PictureList& list, const fs::path& path, const std::string& sub_path,
        const ListAddState& state) {
  static const PictureList::Classifier classify = [](const fs::path& file) {
    return ClassifyPictureFile(file);
  };
  return list.Add(path, sub_path, classify, state.parse_file_format) ==
                 PictureList::AddResult::kAdded
             ? 1
             : 0;
}

// The thumbnail question for a number of pictures found, when it is to be asked.
void AskThumbnails(int found, ListAddQuestions& questions, ListAddState& state,
                   ListAddOutcome& outcome, bool& asked_no) {
  if (!state.thumbnails_on || state.skip_thumbnail_question || asked_no ||
      found <= kThumbnailQuestionAbove) {
    return;
  }
  switch (questions.AskThumbnails(found)) {
    case ThumbnailAnswer::kTurnOff:
      state.thumbnails_on = false;
      outcome.thumbnails_turned_off = true;
      break;
    case ThumbnailAnswer::kNeverAsk:
      state.skip_thumbnail_question = true;
      outcome.never_ask_stored = true;
      break;
    case ThumbnailAnswer::kKeep:
      asked_no = true;
      break;
  }
}

void AddScan(PictureList& list, const FolderScan& scan, const ListAddState& state,
             ListAddOutcome& outcome) {
  outcome.long_paths.insert(outcome.long_paths.end(), scan.notices.begin(), scan.notices.end());
  for (const ScannedPicture& picture : scan.pictures) {
    outcome.added += Add(list, picture.path, picture.source_sub_path, state);
  }
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

}  // namespace

std::string ThumbnailQuestionText(int found) {
  return FormatMessage(
      "当前加载的图片较多(%d张)，生成缩略图需要花费很多的时间。\n\n是否先取消显示缩略图，更快地加载图片？",
      found);
}

ListAddOutcome AddDroppedPaths(PictureList& list, const std::vector<fs::path>& paths,
                               ListAddQuestions& questions, ListAddState& state) {
  ListAddOutcome outcome;
  bool sub_folders_for_all = false;
  bool asked_no = false;
  for (const fs::path& path : paths) {
    if (!IsFolder(path)) {
      outcome.added += Add(list, path, "", state);
      continue;
    }
    if (IsFileSystemRoot(path)) {
      LogInfo(FormatMessage("暂不支持拖动根目录:[%s]", path.c_str()));
      continue;
    }
    FolderScan scan = ScanPictureFolder(path, false);
    if (scan.has_sub_folders &&
        (sub_folders_for_all || (sub_folders_for_all = questions.IncludeSubFolders(path)))) {
      scan = ScanPictureFolder(path, true);
    }
    AskThumbnails(static_cast<int>(scan.pictures.size()), questions, state, outcome, asked_no);
    if (scan.pictures.empty()) {
      LogInfo(FormatMessage("在文件夹中没有找到可处理的图片:\r\n%s", path.c_str()));
    }
    AddScan(list, scan, state, outcome);
  }
  return outcome;
}

ListAddOutcome AddChosenFolder(PictureList& list, const fs::path& folder,
                               const std::string& pattern, ListAddQuestions& questions,
                               ListAddState& state) {
  ListAddOutcome outcome;
  if (IsFileSystemRoot(folder)) {
    outcome.message =
        FormatMessage("暂不支持添加根目录：[%s]，请选择下一级文件夹。", folder.c_str());
    return outcome;
  }
  FolderScan scan = ScanPictureFolder(folder, false, pattern);
  if (scan.has_sub_folders && questions.IncludeSubFolders(folder)) {
    scan = ScanPictureFolder(folder, true, pattern);
  }
  bool asked_no = false;
  AskThumbnails(static_cast<int>(scan.pictures.size()), questions, state, outcome, asked_no);
  if (scan.pictures.empty()) {
    outcome.long_paths = std::move(scan.notices);
    outcome.message = FormatMessage("在[%s]中没有找到可处理的图片。", folder.c_str());
    return outcome;
  }
  AddScan(list, scan, state, outcome);
  return outcome;
}

ListAddOutcome AddChosenFiles(PictureList& list, const std::vector<fs::path>& files,
                              ListAddState& state) {
  ListAddOutcome outcome;
  for (const fs::path& file : files) outcome.added += Add(list, file, "", state);
  return outcome;
}

const std::vector<std::string>& FolderTypeChoices() {
  static const std::vector<std::string> kChoices = {
      "加载所有图片",      "JPG图片  (*.jpg)",  "PNG图片  (*.png)",
      "GIF图片  (*.gif)",  "BMP图片  (*.bmp)",  "JFIF图片 (*.jfif)",
      "TIF图片  (*.tif)",  "TBI图片  (*.tbi)",  "PSD图片  (*.psd)",
      "HEIC图片 (*.heic)", "AVIF图片 (*.avif)", "WEBP图片 (*.webp)"};
  return kChoices;
}

std::string FolderTypePattern(int choice) {
  static const char* const kPatterns[] = {"",       "*.jpg", "*.png", "*.gif", "*.bmp",
                                          "*.jfif", "*.tif", "*.tbi", "*.psd",
                                          "*.heic", "*.avif", "*.webp"};
  if (choice < 0 || choice >= static_cast<int>(std::size(kPatterns))) return "";
  return kPatterns[choice];
}

}  // namespace brindle
