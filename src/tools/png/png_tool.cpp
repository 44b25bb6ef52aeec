#include "tools/png/png_tool.h"

#include "engine/write/write_over_source.h"
#include "tools/common/tool_picture_steps.h"
#include "tools/common/tool_source.h"
#include "tools/common/tool_target_name.h"
#include "tools/png/png_tool_resize.h"

namespace brindle {

namespace fs = std::filesystem;

const char* const kPngToolHelpText =
    "【图片缩小】：\n当原图尺寸大于设置的值时，会将原图的尺寸缩小到设置的值。如果原图尺寸小于设置的"
    "值时,"
    "图片尺寸保持不变。\n\n【图片放大】：\n当原图尺寸小于设置的值时，会将原图的尺寸放大到设置的"
    "值。如果原图尺寸大于设置的值时,"
    "图片尺寸保持不变。\n\n【图片缩放】：\n当原图尺寸小于设置的值时，"
    "会将原图的尺寸放大到设置的值。如果原图尺寸大于设置的值时,"
    "会将原图的尺寸缩小到设置的值。\n\n\n提"
    "示：如果想压缩PNG图片，请保持勾选【PNG-8】选项。\n　　　如果原图已经是PNG-"
    "8格式，将无法再进一步"
    "压缩。\n\n注意：图片处理后将采用PNG格式保存。";

namespace {

// A PNG-8 failure shows at most this much of the target path.
constexpr std::size_t kShownTargetBytes = 259;

}  // namespace

std::optional<Refusal> ValidatePngStart(const PngJob& job) {
  if (std::optional<Refusal> refusal = CheckSourceFolder(job.source_folder)) return refusal;
  if (job.settings.zoom) {
    Refusal refusal;
    refusal.control = kZoomValueBox;
    if (!job.settings.zoom_value) {
      refusal.hint_title = "请输入";
      refusal.hint_text = "这里不能为空";
      refusal.icon = MessageIcon::kWarning;
      return refusal;
    }
    if (*job.settings.zoom_value < 1) {
      refusal.hint_title = "输入错误";
      refusal.hint_text = "这里不能小于1";
      refusal.icon = MessageIcon::kError;
      return refusal;
    }
  }
  if (job.save_mode == PngSaveMode::kNone) {
    Refusal refusal;
    refusal.control = kSaveToFolderOption;
    refusal.hint_title = "请选择";
    refusal.hint_text = "请选择图片处理后保存的方式";
    refusal.icon = MessageIcon::kWarning;
    refusal.take_focus = false;
    return refusal;
  }
  return std::nullopt;
}

PngRunSettings PngRunSettingsOf(const PngJob& job) {
  const PngToolSettings& settings = job.settings;
  PngRunSettings run;
  if (settings.zoom && settings.zoom_value) {
    run.zoom = PngZoom{settings.zoom_kind, settings.zoom_side, *settings.zoom_value,
                       settings.zoom_keep_proportions};
  }
  run.black_white = settings.black_white;
  run.overwrite = job.save_mode == PngSaveMode::kOverwrite;
  run.transparent = settings.transparent;
  run.png8 = settings.png8;
  run.color_count = settings.png8_color_count;
  return run;
}

fs::path PngTargetPath(const fs::path& folder, std::string_view file_name) {
  return FirstFreeName(folder / (NameWithoutLastExtension(file_name) + ".png"), ".png");
}

PictureResult ProcessPngPicture(const fs::path& source, const fs::path& target,
                                const PngRunSettings& run) {
  MagickWandPtr wand = ReadToolPicture(source);
  if (!wand) return PictureResult::Unreadable();
  MagickWand* picture = wand.get();

  if (run.zoom || !run.transparent) {
    const std::string format = PictureFormat(picture);
    if (format == "PSD" || format == "TIFF") UseFirstImage(picture);
    if (run.zoom && !ApplyPngZoom(picture, *run.zoom)) return StepRefused(picture, target);
    if (!run.transparent && !FlattenOntoWhite(picture, format, true)) {
      return StepRefused(picture, target);
    }
  }
  if (run.black_white && MagickTransformImageColorspace(picture, GRAYColorspace) == MagickFalse) {
    return StepRefused(picture, target);
  }

  RunMessage failure;
  if (!WriteToolPng(picture, target, run.png8, run.color_count, kShownTargetBytes, failure)) {
    return PictureResult::Failed(failure);
  }
  return PictureResult::Written();
}

RunOutcome RunPngJob(const PngJob& job, RunObserver& observer,
                     const std::atomic<bool>& stop_requested) {
  const PngRunSettings run = PngRunSettingsOf(job);
  const fs::path source = WithoutTrailingSeparators(job.source_folder);
  fs::path output;
  if (!run.overwrite) {
    output = WithoutTrailingSeparators(job.output_folder.empty() ? DefaultOutputFolder(source)
                                                                 : job.output_folder);
  }

  ToolJob tool_job;
  tool_job.run_list.source_folder = source;
  tool_job.run_list.include_sub_folders = job.include_sub_folders;
  tool_job.run_list.pattern = "*.png";
  if (!run.overwrite) tool_job.run_list.output_folder = output;
  tool_job.folder_to_open = run.overwrite ? source : output;
  tool_job.target = [&](const ToolPicture& picture) {
    // Overwriting replaces the file itself, also where the source is a link to it.
    return run.overwrite ? FileBehindLink(picture.path)
                         : PngTargetPath(output.string() + picture.relative_folder,
                                         picture.path.filename().string());
  };
  tool_job.new_names = !run.overwrite;
  tool_job.work = [&](const ToolPicture& picture) {
    return ProcessPngPicture(picture.path, picture.target, run);
  };
  tool_job.workers = job.workers;
  tool_job.keep_time = job.keep_time;
  return RunToolJob(tool_job, observer, stop_requested);
}

}  // namespace brindle
