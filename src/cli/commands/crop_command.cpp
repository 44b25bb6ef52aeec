#include <cstdio>
#include <filesystem>
#include <set>

#include "cli/tool_command.h"
#include "platform/files/file_write.h"
#include "tools/common/tool_source.h"
#include "tools/common/tool_target_name.h"
#include "tools/crop/crop_preview.h"
#include "tools/crop/crop_tool.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCropUsage =
    "用法: brindle-cli crop (--source DIR [--recursive] | FILE...) [--out DIR | --overwrite]\n"
    "                       [--keep-format] [--jobs N] [--keep-time] [KEY=VALUE ...]\n"
    "       brindle-cli crop --preview OUT.png (--source DIR | FILE...) [KEY=VALUE ...]\n"
    "\n"
    "  --source DIR      源图片文件夹 (jpg, png, gif, bmp, webp, heic, avif 按\n"
    "                    crop_load_format_option 选择: 1, 2, 4, 8, 256, 2048, 4096)\n"
    "  FILE...           源图片列表 (\"--\" 之后的参数都是文件)\n"
    "  --recursive       同时处理所有子文件夹里的图片\n"
    "  --out DIR         处理后保存到 DIR；源图片文件夹时不给出为 \"<源图片文件夹>_处理后\"\n"
    "  --overwrite       直接覆盖原图\n"
    "  --keep-format     图片格式保持不变\n"
    "  --jobs N          同时处理 N 张图片 (1 到处理器数)；不给出时逐张处理\n"
    "  --keep-time       处理后保留原图片的修改时间\n"
    "  --preview OUT     只生成裁剪预览图片 (OUT 以 .png 或 .jpg 结尾)，并在标准输出上\n"
    "                    每行输出一项状态栏文字\n"
    "  KEY=VALUE         设置项, 例如 crop_mode=2 crop_ratio_width=4 crop_ratio_height=3\n"
    "                    crop_align=0 crop_format=PNG crop_png8=1\n"
    "\n"
    "退出状态: 0 全部完成; 1 有图片读取失败或被跳过 (预览: 没有显示第一张图片); 2 参数错误或\n"
    "          拒绝处理; 3 被信号停止; 4 因错误中止。\n";

// The job as the window would hand it over: FILE arguments make the picture list (each path once),
// --source the folder; without either, crop_source_type says which of the two is empty.
bool MakeCropJob(const ToolArguments& parsed, CropJob& job) {
  if (!ApplyToolSettings(parsed, job.settings)) return false;
  job.workers = parsed.jobs.value_or(1);
  job.keep_time = parsed.keep_time;
  if (!parsed.files.empty()) job.settings.picture_list_source = true;
  if (parsed.source) job.settings.picture_list_source = false;
  std::set<std::string> added;
  for (const std::string& file : parsed.files) {
    if (added.insert(file).second) job.pictures.emplace_back(file);
  }
  job.source_folder = WithoutTrailingSeparators(parsed.source.value_or(""));
  job.include_sub_folders = parsed.recursive;
  job.keep_format = parsed.keep_format;
  job.save_mode = parsed.overwrite ? CropSaveMode::kOverwrite : CropSaveMode::kToFolder;
  if (parsed.out) {
    job.output_folder = *parsed.out;
  } else if (!parsed.overwrite && !job.settings.picture_list_source && !job.source_folder.empty()) {
    job.output_folder = DefaultOutputFolder(job.source_folder);
  }
  return true;
}

// Writes what the pane shows: its JPEG bytes, or their pixels as PNG.
bool WritePanePicture(const Pixels8& shown, const fs::path& out) {
  std::string error;
  if (WriteShownPixels(shown, out, error)) return true;
  PrintError("预览图片保存失败: " + out.string() + ": " + error);
  return false;
}

int RunCropPreview(const CropJob& job, const fs::path& out) {
  if (!job.settings.picture_list_source) {
    if (std::optional<Refusal> refusal = CheckSourceFolder(job.source_folder)) {
      PrintError(refusal->Text());
      return kExitRefused;
    }
  }
  std::unique_ptr<MagickEnvironment> magick = StartImageMagick();
  if (!magick) return kExitStartupFailed;
  Console console;
  ScanResult list = CropPreviewList(job);
  for (const LongPathNotice& notice : list.notices) PrintError(notice.message);
  CropPreview preview = GenerateCropPreview(job, list.paths, 0, /*forward=*/true, ReadyStatus());
  if (preview.message) PrintError(preview.message->text);
  if (preview.shown && !WritePanePicture(*preview.shown, out)) return kExitAborted;
  for (const std::string& text : preview.status) std::printf("%s\n", text.c_str());
  // Anything but the first picture of the list shown as it is means something was skipped.
  const bool first_shown = preview.shown && preview.current_index == 0 && !preview.message;
  return first_shown && list.notices.empty() ? kExitDone : kExitSomeFailed;
}

int RunCrop(const Arguments& args) {
  ToolArguments parsed;
  constexpr ToolOptions kCropOptions = {
      .overwrite = true, .keep_format = true, .list = true, .jobs = true, .keep_time = true};
  if (!ParseToolArguments(args, kCropOptions, parsed)) return kUsageError;
  CropJob job;
  if (!MakeCropJob(parsed, job)) return kExitRefused;
  if (parsed.preview) return RunCropPreview(job, *parsed.preview);

  RunList run_list;
  if (std::optional<Refusal> refusal = ValidateCropStart(job, run_list)) {
    PrintError(refusal->Text());
    return kExitRefused;
  }
  return RunToolOnConsole([&](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunCropJob(job, std::move(run_list), observer, stop);
  });
}

}  // namespace

constexpr Command kCropCommand{"crop", kCropUsage, &RunCrop};

}  // namespace brindle::cli
