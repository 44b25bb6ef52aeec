#include "tools/crop/crop_tool.h"

#include <system_error>

#include "base/info_log.h"
#include "engine/write/write_over_source.h"
#include "tools/common/tool_picture_steps.h"
#include "tools/common/tool_source.h"
#include "tools/common/tool_target_name.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

// A PNG-8 failure shows at most this much of the target path.
constexpr std::size_t kShownTargetBytes = 259;

std::optional<Refusal> CheckSource(const CropJob& job) {
  if (job.settings.picture_list_source) {
    if (job.pictures.empty()) {
      return HintRefusal(kCropAddButton, "请先添加图片", "当前源图片列表为空");
    }
    return std::nullopt;
  }
  if (std::optional<Refusal> refusal = CheckSourceFolder(job.source_folder)) return refusal;
  if ((job.settings.load_format_option & kToolLoadFormats) == 0) {
    return HintRefusal(kCropJpgBox, "请选择", "加载的图片类型至少选择一项", MessageIcon::kWarning,
                       false);
  }
  return std::nullopt;
}

// The ratio boxes: each must hold a number of at least 1.
std::optional<Refusal> CheckRatioBox(const std::optional<int>& box, const char* control) {
  if (!box) return HintRefusal(control, "请输入", "这里不能为空");
  if (*box < 1) return HintRefusal(control, "这里不能小于 1", "请重新输入");
  return std::nullopt;
}

std::optional<Refusal> CheckParameters(const CropToolSettings& s) {
  switch (s.mode) {
    case kCropFixedSize:
      if (!s.fixed_width && !s.fixed_height) {
        return HintRefusal(kCropWidthBox, "请输入", "宽与高至少填写一项");
      }
      break;
    case kCropPercentage:
      if (!s.percent_width && !s.percent_height) {
        return HintRefusal(kCropWidthBox, "请输入", "宽与高至少填写一项");
      }
      break;
    case kCropRatio:
      if (auto refusal = CheckRatioBox(s.ratio_width, kCropRatioWidthBox)) return refusal;
      if (auto refusal = CheckRatioBox(s.ratio_height, kCropRatioHeightBox)) return refusal;
      break;
    case kCropTrimSides: {
      const bool none = s.side_in_percent ? !s.side_percent_left && !s.side_percent_right &&
                                                !s.side_percent_top && !s.side_percent_bottom
                                          : !s.side_fixed_left && !s.side_fixed_right &&
                                                !s.side_fixed_top && !s.side_fixed_bottom;
      if (none) return HintRefusal(kCropLeftBox, "请输入", "左、右、上、下至少填写一项");
      break;
    }
    default:
      break;
  }
  return std::nullopt;
}

std::optional<Refusal> CheckSaveMode(const CropJob& job) {
  if (job.save_mode == CropSaveMode::kNone) {
    return HintRefusal(kCropSaveToFolderOption, "请选择", "请选择图片处理后保存的方式",
                       MessageIcon::kWarning, false);
  }
  if (job.save_mode == CropSaveMode::kToFolder && job.output_folder.empty()) {
    return HintRefusal(kCropOutputButton, "请选择", "请选择图片处理后保存到的位置",
                       MessageIcon::kWarning, false);
  }
  return std::nullopt;
}

RunListRequest FolderRequest(const CropJob& job) {
  RunListRequest request;
  request.source_folder = WithoutTrailingSeparators(job.source_folder);
  request.include_sub_folders = job.include_sub_folders;
  request.pattern = "*.*";
  const LoadFormatMask mask = job.settings.load_format_option & kToolLoadFormats;
  request.accepts = [mask](std::string_view name) { return MaskSelectsFile(mask, name); };
  return request;
}

}  // namespace

std::optional<Refusal> ValidateCropStart(const CropJob& job, RunList& run_list) {
  if (auto refusal = CheckSource(job)) return refusal;
  if (auto refusal = CheckParameters(job.settings)) return refusal;
  if (auto refusal = CheckSaveMode(job)) return refusal;
  if (job.save_mode == CropSaveMode::kToFolder) {
    if (auto refusal = MakeOutputFolder(job.output_folder)) return refusal;
  }

  run_list = RunList();
  if (job.settings.picture_list_source) {
    for (const fs::path& picture : job.pictures) run_list.pictures.push_back({picture, "", {}});
    return std::nullopt;
  }
  const std::atomic<bool> no_stop{false};
  run_list = BuildRunList(FolderRequest(job), no_stop);
  if (run_list.pictures.empty()) {
    Refusal refusal =
        HintRefusal(kSourceButton, "请重新选择", "没有可裁剪的图片", MessageIcon::kWarning, false);
    refusal.message =
        FormatMessage("文件夹 %s 中没有可裁剪的图片，请重新选择。", job.source_folder.c_str());
    refusal.caption = "提示";
    return refusal;
  }
  return std::nullopt;
}

fs::path CropTargetPath(const fs::path& folder, std::string_view file_name, const CropJob& job) {
  const std::string name = NameWithoutLastExtension(file_name);
  std::string extension;
  if (job.keep_format) {
    extension = std::string(file_name.substr(name.size()));
  } else {
    extension = job.settings.format == ToolOutputFormat::kPng ? ".png" : ".jpg";
  }
  return FirstFreeName(folder / (name + extension), extension);
}

PictureResult CropOnePicture(const fs::path& source, const fs::path& target, const CropJob& job) {
  std::optional<std::string> refusal;
  MagickWandPtr wand = CropPicture(source, job.settings, nullptr, &refusal);
  if (refusal) return PictureResult::Failed(WriteFailure(*refusal, target));
  if (!wand) return PictureResult::Unreadable();
  MagickWand* picture = wand.get();
  const std::string format = PictureFormat(picture);
  const CropToolSettings& settings = job.settings;
  RunMessage failure;

  if (job.save_mode == CropSaveMode::kOverwrite || job.keep_format) {
    // The picture stays in its own format; a JPEG is saved at full quality so that cropping costs
    // as little as possible.
    if (format == "JPEG") {
      MagickSetImageCompression(picture, JPEGCompression);
      MagickSetImageCompressionQuality(picture, 100);
    }
    if (!WriteToolPicture(picture, target, failure)) return PictureResult::Failed(failure);
    return PictureResult::Written();
  }

  const bool to_png = settings.format == ToolOutputFormat::kPng;
  if ((!to_png || !settings.transparent) && !FlattenOntoWhite(picture, format, true)) {
    return StepRefused(picture, target);
  }
  const bool written =
      to_png ? WriteToolPng(picture, target, settings.png8, settings.png8_color_count,
                            kShownTargetBytes, failure)
             : WriteToolJpeg(picture, target, static_cast<std::size_t>(settings.quality), failure);
  if (!written) return PictureResult::Failed(failure);
  return PictureResult::Written();
}

RunOutcome RunCropJob(const CropJob& job, RunList run_list, RunObserver& observer,
                      const std::atomic<bool>& stop_requested) {
  const bool overwrite = job.save_mode == CropSaveMode::kOverwrite;
  const bool folder_mode = !job.settings.picture_list_source;
  const fs::path output = WithoutTrailingSeparators(job.output_folder);

  ToolJob tool_job;
  if (folder_mode) tool_job.run_list = FolderRequest(job);
  if (folder_mode && !overwrite) tool_job.run_list.output_folder = output;
  tool_job.prepared_list = std::move(run_list);
  tool_job.folder_to_open = overwrite ? WithoutTrailingSeparators(job.source_folder) : output;
  tool_job.target = [&](const ToolPicture& picture) {
    // Overwriting replaces the file itself, also where the source is a link to it.
    return overwrite ? FileBehindLink(picture.path)
                     : CropTargetPath(output.string() + picture.relative_folder,
                                      picture.path.filename().string(), job);
  };
  tool_job.new_names = !overwrite;
  tool_job.work = [&](const ToolPicture& picture) {
    return CropOnePicture(picture.path, picture.target, job);
  };
  tool_job.workers = job.workers;
  tool_job.keep_time = job.keep_time;
  return RunToolJob(tool_job, observer, stop_requested);
}

}  // namespace brindle
