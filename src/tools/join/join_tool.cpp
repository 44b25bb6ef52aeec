#include "tools/join/join_tool.h"

#include <system_error>

#include "base/info_log.h"
#include "platform/magick/magick_environment.h"
#include "tools/common/tool_picture_steps.h"
#include "tools/common/tool_source.h"
#include "tools/join/join_compose.h"
#include "tools/join/join_groups.h"
#include "tools/join/join_jpeg_limit.h"
#include "tools/join/join_save.h"
#include "tools/join/join_target_name.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

// How joining one list of pictures ended: written, refused for JPEG, nothing composed or a failed
// write (or a step ImageMagick refused, which fails the same way); with the pictures logged on the
// way.
struct JoinResult {
  bool written = false;
  bool nothing_composed = false;
  JpegSideCheck jpeg;
  bool png_too_large = false;
  long long width = 0;  // the planned size
  long long height = 0;
  int troubled = 0;
  std::optional<RunMessage> failure;
};

// Joins one list of pictures into target.
JoinResult JoinInto(const std::vector<fs::path>& pictures, const fs::path& target,
                    const JoinToolSettings& settings) {
  JoinResult result;
  const JoinPlan plan = PlanJoin(pictures, settings);
  result.width = plan.Width();
  result.height = plan.Height();
  // The canvas size is known from the headers: a picture too large for its format is refused
  // before anything is decoded.
  if (settings.format == ToolOutputFormat::kJpg) {
    result.jpeg = CheckJpegSides(plan.Width(), plan.Height());
  } else {
    result.png_too_large = PngTooLarge(plan.Width(), plan.Height());
  }
  if (result.jpeg.excess != JpegSideExcess::kNone || result.png_too_large) {
    result.troubled = plan.UnsizedCount();
    return result;
  }
  LargerMagickSides larger_sides;  // for the canvas until it is written
  JoinedPicture joined = ComposePlannedJoin(pictures, plan);
  result.troubled = joined.troubled;
  if (joined.refusal) {
    result.failure = WriteFailure(*joined.refusal, target);
    return result;
  }
  if (!joined.wand) {
    result.nothing_composed = true;
    return result;
  }
  RunMessage failure;
  if (!SaveJoinedPicture(joined.wand.get(), target, settings, failure)) {
    result.failure = failure;
    return result;
  }
  result.written = true;
  return result;
}

RunOutcome RunFolderMode(const JoinJob& job, const fs::path& output, RunObserver& observer,
                         const std::atomic<bool>& stop_requested, RunOutcome outcome) {
  const LoadFormatMask mask = JoinLoadFormats(job.settings);
  const char* extension = JoinExtension(job.settings.format);
  JoinGroupList list = ListJoinGroups(WithoutTrailingSeparators(job.source_folder), mask);
  for (const LongPathNotice& notice : list.notices) observer.OnLeftOut(notice);
  outcome.left_out = static_cast<int>(list.notices.size());
  if (list.groups.empty()) {
    outcome.end = RunEnd::kNothingFound;
    outcome.message = NothingFoundMessage();
    return outcome;
  }
  const int count = static_cast<int>(list.groups.size());
  outcome.total = count;
  observer.OnRunListReady(count);
  for (int index = 0; index < count && !stop_requested.load(); ++index) {
    observer.OnPictureStarted(index, count);
    const fs::path& group = list.groups[static_cast<std::size_t>(index)];
    ScanResult pictures = ListGroupPictures(group, mask);
    for (const LongPathNotice& notice : pictures.notices) observer.OnLeftOut(notice);
    outcome.left_out += static_cast<int>(pictures.notices.size());
    if (stop_requested.load()) break;
    if (pictures.paths.size() < 2) continue;
    const fs::path target = JoinGroupTargetPath(output, group, extension);
    JoinResult result = JoinInto(pictures.paths, target, job.settings);
    outcome.failed += result.troubled;
    if (result.jpeg.excess != JpegSideExcess::kNone) {
      LogInfo(GroupJpegRefusal(group, result.jpeg));
      ++outcome.failed;
    } else if (result.png_too_large) {
      LogInfo(GroupPngRefusal(group, result.width, result.height));
      ++outcome.failed;
    } else if (result.nothing_composed) {
      LogInfo(FormatMessage(kEmptyGroupMessage, group.c_str()));
      ++outcome.failed;
    } else if (result.failure) {
      outcome.end = RunEnd::kAborted;
      outcome.message = result.failure;
      return outcome;
    } else {
      ++outcome.written;
    }
  }
  if (stop_requested.load()) {
    outcome.end = RunEnd::kStopped;
    outcome.message = StoppedMessage();
  }
  return outcome;
}

RunOutcome RunListMode(const JoinJob& job, const fs::path& output, RunOutcome outcome) {
  outcome.total = 1;
  if (job.pictures.empty()) {
    outcome.end = RunEnd::kNothingFound;
    outcome.message = NothingFoundMessage();
    return outcome;
  }
  const fs::path target =
      JoinListTargetPath(output, job.pictures.front(), JoinExtension(job.settings.format));
  JoinResult result;
  if (job.pictures.size() < 2) {
    result.nothing_composed = true;
  } else {
    result = JoinInto(job.pictures, target, job.settings);
  }
  outcome.failed += result.troubled;
  if (result.jpeg.excess != JpegSideExcess::kNone) {
    outcome.end = RunEnd::kAborted;
    outcome.message = ListJpegRefusal(result.jpeg);
  } else if (result.png_too_large) {
    ++outcome.failed;
    outcome.end = RunEnd::kAborted;
    outcome.message = ListPngRefusal(result.width, result.height);
  } else if (result.nothing_composed) {
    LogInfo(kEmptyListMessage);
    ++outcome.failed;
  } else if (result.failure) {
    outcome.end = RunEnd::kAborted;
    outcome.message = result.failure;
  } else {
    outcome.written = 1;
  }
  return outcome;
}

}  // namespace

LoadFormatMask JoinLoadFormats(const JoinToolSettings& settings) {
  return settings.load_format_option & kToolLoadFormats;
}

RunMessage NothingToJoinMessage(const fs::path& folder) {
  return {FormatMessage("文件夹 %s 中没有可拼接的图片，请重新选择。", folder.c_str()), "提示",
          MessageIcon::kWarning};
}

std::optional<Refusal> ValidateJoinStart(const JoinJob& job) {
  const JoinToolSettings& settings = job.settings;
  if (!settings.picture_list_source) {
    if (std::optional<Refusal> refusal = CheckSourceFolder(job.source_folder)) return refusal;
    const LoadFormatMask mask = JoinLoadFormats(settings);
    if (mask == 0) return HintRefusal(kJoinJpgBox, "请选择", "加载的图片类型至少选择一项");
    const fs::path source = WithoutTrailingSeparators(job.source_folder);
    if (ListJoinGroups(source, mask).groups.empty()) {
      Refusal refusal = HintRefusal(kSourceButton, "请重新选择", "没有可拼接的图片");
      RunMessage message = NothingToJoinMessage(source);
      refusal.message = message.text;
      refusal.caption = message.caption;
      return refusal;
    }
  } else if (job.pictures.size() < 2) {
    return HintRefusal(kJoinAddButton, "请先添加图片", "图片数量不能少于2张");
  }
  if (job.output_folder.empty()) {
    return HintRefusal(kJoinOutputButton, "请选择", "请选择图片拼接后保存到的位置");
  }
  if (std::optional<Refusal> refusal = MakeOutputFolder(job.output_folder)) return refusal;
  if (settings.side_policy == JoinSidePolicy::kCustom) {
    if (!settings.custom_length) return HintRefusal(kJoinCustomLengthBox, "请输入", "这里不能为空");
    if (*settings.custom_length < 1) {
      return HintRefusal(kJoinCustomLengthBox, "输入错误", "这里不能小于1", MessageIcon::kError);
    }
  }
  return std::nullopt;
}

RunOutcome RunJoinJob(const JoinJob& job, RunObserver& observer,
                      const std::atomic<bool>& stop_requested) {
  RunOutcome outcome;
  const fs::path output = WithoutTrailingSeparators(job.output_folder);
  outcome.folder_to_open = output;
  if (!job.settings.picture_list_source) {
    return RunFolderMode(job, output, observer, stop_requested, outcome);
  }
  outcome = RunListMode(job, output, outcome);
  // The one picture of a list is always finished; a stop asked for meanwhile still ends the run as
  // stopped.
  if (stop_requested.load()) {
    outcome.end = RunEnd::kStopped;
    outcome.message = StoppedMessage();
  }
  return outcome;
}

}  // namespace brindle
