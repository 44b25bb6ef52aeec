#pragma once
// Adding pictures to the main list by drop, by the folder chooser and by the file chooser: which
// questions are asked, what is logged and what is told. The window answers the questions and shows
// the messages; the rules are here.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "run/list/picture_entry.h"
#include "run/list/picture_scan.h"

namespace brindle {

enum class ThumbnailAnswer { kTurnOff, kNeverAsk, kKeep };

inline constexpr int kThumbnailQuestionAbove = 2000;

// "当前加载的图片较多(%d张)，..." for the number of pictures found.
std::string ThumbnailQuestionText(int found);

class ListAddQuestions {
 public:
  virtual ~ListAddQuestions() = default;
  // "是否需要加载所有子文件夹中的图片？"
  virtual bool IncludeSubFolders(const std::filesystem::path& folder) = 0;
  // ThumbnailQuestionText(found), answered Yes, "不再提示" or "否(&N)".
  virtual ThumbnailAnswer AskThumbnails(int found) = 0;
};

// What adding needs to know and may change, kept by the window between adds.
struct ListAddState {
  bool thumbnails_on = true;
  bool parse_file_format = true;
  bool skip_thumbnail_question = false;  // stored "不再提示", or answered so in this run
};

struct ListAddOutcome {
  int added = 0;
  bool thumbnails_turned_off = false;  // the answer turned them off (store and switch views)
  bool never_ask_stored = false;       // "不再提示" was answered (store the preference)
  std::vector<LongPathNotice> long_paths;  // each told once; the file manager opened once
  std::optional<std::string> message;      // a box for the chooser routes
};

// Dropped files and folders, in order.
ListAddOutcome AddDroppedPaths(PictureList& list, const std::vector<std::filesystem::path>& paths,
                               ListAddQuestions& questions, ListAddState& state);

// A folder from the folder chooser; pattern is "" for every picture type or one type ("*.jpg").
ListAddOutcome AddChosenFolder(PictureList& list, const std::filesystem::path& folder,
                               const std::string& pattern, ListAddQuestions& questions,
                               ListAddState& state);

// Files from the file chooser.
ListAddOutcome AddChosenFiles(PictureList& list, const std::vector<std::filesystem::path>& files,
                              ListAddState& state);

// The folder chooser's type box: its texts, and the scan pattern of each entry.
const std::vector<std::string>& FolderTypeChoices();
std::string FolderTypePattern(int choice);

}  // namespace brindle
