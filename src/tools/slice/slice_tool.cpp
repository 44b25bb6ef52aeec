#include "tools/slice/slice_tool.h"

#include "base/info_log.h"
#include "engine/effects/resolution.h"
#include "tools/common/load_format_mask.h"
#include "tools/common/tool_picture_steps.h"
#include "tools/common/tool_source.h"
#include "tools/common/tool_target_name.h"
#include "tools/slice/slice_names.h"
#include "tools/slice/slice_palette.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

// The slice tool offers the boxes "jpg", "png", "gif", "bmp", "webp", "heic" and "avif" only.
LoadFormatMask LoadFormatsInUse(const SliceToolSettings& settings) {
  return settings.load_format_option & kToolLoadFormats;
}

// The number box of a direction's mode: empty, or a number below 1, refuses the start.
std::optional<Refusal> CheckDirectionBox(bool pixels, const std::optional<int>& count,
                                         const std::optional<int>& pixel_size,
                                         const char* count_box, const char* pixel_box) {
  const std::optional<int>& value = pixels ? pixel_size : count;
  const char* control = pixels ? pixel_box : count_box;
  if (!value) return HintRefusal(control, "请输入", "这里不能为空");
  if (*value < 1) return HintRefusal(control, "输入错误", "这里不能小于1", MessageIcon::kError);
  return std::nullopt;
}

SliceDirection DirectionOf(bool on, bool pixels, const std::optional<int>& count,
                           const std::optional<int>& pixel_size) {
  if (!on) return {};
  if (pixels) return {SliceMode::kPixels, pixel_size.value_or(0)};
  return {SliceMode::kEvenCount, count.value_or(0)};
}

// Whether a stop request ends the picture in progress.
bool StopSeen(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(); }

// Cuts the tile at column and row out of the picture and writes it to path.
bool WriteTile(MagickWand* picture, const SliceSpan& column, const SliceSpan& row,
               const PictureResolution& resolution, const SliceRunSettings& run,
               const fs::path& path, RunMessage& failure) {
  MagickWandPtr tile(MagickGetImageRegion(picture, column.length, row.length,
                                          static_cast<ssize_t>(column.start),
                                          static_cast<ssize_t>(row.start)));
  if (!tile) {
    failure = WriteFailure(TakeMagickError(picture), path);
    return false;
  }
  // A tile is a picture of its own, not a window on the picture's canvas.
  MagickSetImagePage(tile.get(), column.length, row.length, 0, 0);
  NormaliseResolution(tile.get(), resolution);
  if (run.format == ToolOutputFormat::kJpg) {
    return WriteToolJpeg(tile.get(), path, static_cast<std::size_t>(run.quality), failure);
  }
  MagickSetImageFormat(tile.get(), "PNG");
  return WriteToolPicture(tile.get(), path, failure);
}

}  // namespace

std::vector<Refusal> ValidateSliceStart(const SliceJob& job) {
  const SliceToolSettings& settings = job.settings;
  if (std::optional<Refusal> refusal = CheckSourceFolder(job.source_folder)) return {*refusal};
  if (LoadFormatsInUse(settings) == 0) {
    return {HintRefusal(kSliceJpgBox, "请选择", "加载的图片类型至少选择一项", MessageIcon::kWarning,
                        false)};
  }
  if (!settings.horizontal && !settings.vertical) {
    const char* text = "【水平划分】与【垂直划分】至少勾选一项";
    return {HintRefusal(kHorizontalBox, "看这里", text, MessageIcon::kWarning, false),
            HintRefusal(kVerticalBox, "看这里", text, MessageIcon::kWarning, false)};
  }
  if (settings.horizontal) {
    if (std::optional<Refusal> refusal = CheckDirectionBox(
            settings.horizontal_pixel, settings.horizontal_avg_value,
            settings.horizontal_pixel_value, kHorizontalAvgValueBox, kHorizontalPixelValueBox)) {
      return {*refusal};
    }
  }
  if (settings.vertical) {
    if (std::optional<Refusal> refusal = CheckDirectionBox(
            settings.vertical_pixel, settings.vertical_avg_value, settings.vertical_pixel_value,
            kVerticalAvgValueBox, kVerticalPixelValueBox)) {
      return {*refusal};
    }
  }
  return {};
}

SliceDirection SliceRowsOf(const SliceToolSettings& settings) {
  return DirectionOf(settings.horizontal, settings.horizontal_pixel, settings.horizontal_avg_value,
                     settings.horizontal_pixel_value);
}

SliceDirection SliceColumnsOf(const SliceToolSettings& settings) {
  return DirectionOf(settings.vertical, settings.vertical_pixel, settings.vertical_avg_value,
                     settings.vertical_pixel_value);
}

void SettleSliceRadios(SliceToolSettings& settings) {
  settings.horizontal_avg = !settings.horizontal_pixel;
  settings.vertical_avg = !settings.vertical_pixel;
}

SliceRunSettings SliceRunSettingsOf(const SliceToolSettings& settings) {
  SliceRunSettings run;
  static_cast<ToolEncoding&>(run) =
      ToolEncodingOf(settings.format, settings.quality, settings.transparent, settings.png8,
                     settings.png8_color_count);
  run.rows = SliceRowsOf(settings);
  run.columns = SliceColumnsOf(settings);
  run.sub_folder = settings.save_subfolder_by_file_name;
  run.html = settings.save_html;
  return run;
}

PictureResult SlicePicture(const ToolPicture& picture, const fs::path& output_folder,
                           const SliceRunSettings& run, SlicePage& page,
                           const std::atomic<bool>* stop) {
  const std::string base = NameWithoutLastExtension(picture.path.filename().string());
  const fs::path tile_folder =
      SliceTileFolder(output_folder, picture.relative_folder, base, run.sub_folder);
  // The tile sub-folder is made before the picture is read.
  if (run.sub_folder) {
    if (int error_number = MakeFolder(tile_folder)) {
      return PictureResult::Failed({FormatMessage("任务中止！\n\n创建子文件夹 %s 失败，错误码：%d",
                                                  tile_folder.c_str(), error_number),
                                    "错误", MessageIcon::kError});
    }
  }
  fs::path page_path;
  if (run.html) {
    page_path = SlicePagePath(output_folder, picture.relative_folder, base);
    page.Begin(base + run.extension);
  }

  MagickWandPtr wand = ReadToolPicture(picture.path);
  if (!wand) return PictureResult::Unreadable();
  // The first image of a multi-image file is the picture (an animated GIF's first frame, the
  // merged picture of a PSD), whatever the reader left current.
  UseFirstImage(wand.get());
  const std::vector<SliceSpan> rows = SliceSpans(MagickGetImageHeight(wand.get()), run.rows);
  const std::vector<SliceSpan> columns = SliceSpans(MagickGetImageWidth(wand.get()), run.columns);
  const long long total = static_cast<long long>(rows.size() * columns.size());
  // Without its flattening no tile can be written: it fails as the first tile's write would.
  if (!FlattenOntoWhite(wand.get(), PictureFormat(wand.get()), !run.keep_transparency)) {
    return StepRefused(wand.get(), SliceTilePath(tile_folder, base, 1, total, run.extension));
  }
  const PictureResolution resolution = ReadPictureResolution(wand.get());
  if (run.png8 && !MakePalettePicture(wand, run.color_count)) {
    return PictureResult::Failed(PalettePictureFailure(picture.path));
  }

  long long number = 0;
  for (const SliceSpan& row : rows) {
    if (StopSeen(stop)) return PictureResult::Stopped();
    if (run.html) page.BeginRow();
    for (const SliceSpan& column : columns) {
      if (StopSeen(stop)) return PictureResult::Stopped();
      const fs::path path = SliceTilePath(tile_folder, base, ++number, total, run.extension);
      RunMessage failure;
      if (!WriteTile(wand.get(), column, row, resolution, run, path, failure)) {
        return PictureResult::Failed(failure);
      }
      if (run.html) page.AddTile(path, column.length, row.length);
    }
    if (run.html) page.EndRow();
  }
  if (run.html) {
    page.End();
    if (std::optional<RunMessage> failure = page.Write(page_path)) {
      return PictureResult::Failed(*failure);
    }
  }
  return PictureResult::Written();
}

RunOutcome RunSliceJob(const SliceJob& job, RunObserver& observer,
                       const std::atomic<bool>& stop_requested) {
  const SliceRunSettings run = SliceRunSettingsOf(job.settings);
  const fs::path source = WithoutTrailingSeparators(job.source_folder);
  const fs::path output = WithoutTrailingSeparators(
      job.output_folder.empty() ? DefaultOutputFolder(source) : job.output_folder);
  const LoadFormatMask mask = LoadFormatsInUse(job.settings);

  ToolJob tool_job;
  tool_job.run_list.source_folder = source;
  tool_job.run_list.include_sub_folders = job.include_sub_folders;
  tool_job.run_list.pattern = "*.*";
  tool_job.run_list.accepts = [mask](std::string_view name) { return MaskSelectsFile(mask, name); };
  tool_job.run_list.output_folder = output;
  tool_job.folder_to_open = output;
  // One page buffer for the whole run.
  SlicePage page;
  const std::atomic<bool>* stop = job.finish_picture_on_stop ? nullptr : &stop_requested;
  tool_job.work = [&](const ToolPicture& picture) {
    return SlicePicture(picture, output, run, page, stop);
  };
  return RunToolJob(tool_job, observer, stop_requested);
}

}  // namespace brindle
