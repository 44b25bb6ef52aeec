#include "tools/convert/convert_tool.h"

#include "base/info_log.h"
#include "engine/write/output_encoding.h"
#include "png8/png8.h"
#include "tools/common/tool_picture_steps.h"
#include "tools/common/tool_source.h"
#include "tools/common/tool_target_name.h"

namespace brindle {

namespace fs = std::filesystem;

std::optional<Refusal> ValidateConvertStart(const ConvertJob& job) {
  if (std::optional<Refusal> refusal = CheckSourceFolder(job.source_folder)) return refusal;
  if (job.settings.load_format_option == 0) {
    Refusal refusal;
    refusal.control = kLoadFormatLabel;
    refusal.hint_title = "请选择";
    refusal.hint_text = "原格式请至少选择一项";
    refusal.icon = MessageIcon::kWarning;
    refusal.take_focus = false;
    return refusal;
  }
  return std::nullopt;
}

ConvertRunSettings ConvertRunSettingsOf(const ConvertToolSettings& settings) {
  ConvertRunSettings run;
  static_cast<ToolEncoding&>(run) =
      ToolEncodingOf(settings.format, settings.quality, settings.transparent, settings.png8,
                     settings.png8_color_count);
  run.keep_extension = settings.keep_extension;
  return run;
}

fs::path ConvertTargetPath(const fs::path& folder, std::string_view file_name,
                           const ConvertRunSettings& run) {
  std::string name;
  if (!run.keep_extension) {
    name = NameWithoutLastExtension(file_name) + run.extension;
  } else if (EndsWithIgnoringCase(file_name, run.extension)) {
    name = std::string(file_name);
  } else {
    name = std::string(file_name) + run.extension;
  }
  return FirstFreeName(folder / name, run.extension);
}

PictureResult ConvertPicture(const fs::path& source, const fs::path& target,
                             const ConvertRunSettings& run) {
  MagickWandPtr wand = ReadToolPicture(source);
  if (!wand) return PictureResult::Unreadable();
  MagickWand* picture = wand.get();

  double x_resolution = 0;
  double y_resolution = 0;
  MagickGetImageResolution(picture, &x_resolution, &y_resolution);
  const std::string format = PictureFormat(picture);
  if (format == "GIF" || format == "PSD" || format == "TIFF") UseFirstImage(picture);

  const std::size_t width = MagickGetImageWidth(picture);
  const std::size_t height = MagickGetImageHeight(picture);
  PixelWandPtr white = MakePixelWand("#ffffff");
  if (format == "BMP") {
    MagickSetImageAlphaChannel(picture, DeactivateAlphaChannel);
    MagickSetImageBackgroundColor(picture, white.get());
    if (MagickExtentImage(picture, width, height, 0, 0) == MagickFalse) {
      return StepRefused(picture, target);
    }
  }

  const ColorspaceType colorspace = MagickGetImageColorspace(picture);
  if (colorspace == CMYKColorspace &&
      MagickTransformImageColorspace(picture, sRGBColorspace) == MagickFalse) {
    return StepRefused(picture, target);
  }

  const bool to_png = run.format == ToolOutputFormat::kPng;
  // WebP and AVIF carry transparency as PNG does and keep it; JPEG has none.
  const bool to_web_format =
      run.format == ToolOutputFormat::kWebp || run.format == ToolOutputFormat::kAvif;
  if ((!to_png || !run.keep_transparency) && !to_web_format &&
      MagickGetImageAlphaChannel(picture) != MagickFalse) {
    MagickSetImageBackgroundColor(picture, white.get());
    if (MagickExtentImage(picture, width, height, 0, 0) == MagickFalse) {
      return StepRefused(picture, target);
    }
    if (format == "PNG" || format == "PSD") {
      MagickSetImageAlphaChannel(picture, DeactivateAlphaChannel);
    }
  }

  if (x_resolution == 0 && y_resolution == 0) {
    MagickSetImageUnits(picture, PixelsPerInchResolution);
    MagickSetImageResolution(picture, 72, 72);
  }

  RunMessage failure;
  if (to_png) {
    MagickSetImageFormat(picture, "PNG");
    if (run.png8) {
      if ((format == "HEIC" || format == "AVIF") && colorspace != RGBColorspace && colorspace != sRGBColorspace &&
          MagickTransformImageColorspace(picture, sRGBColorspace) == MagickFalse) {
        return StepRefused(picture, target);
      }
      if (!WritePng8File(picture, run.color_count, target)) {
        return PictureResult::Failed(Png8WriteFailure(target, 0));
      }
      return PictureResult::Written();
    }
  } else if (to_web_format) {
    MagickSetImageFormat(picture, run.format == ToolOutputFormat::kWebp ? "WEBP" : "AVIF");
    SetEncoderQuality(picture, static_cast<std::size_t>(run.quality));
  } else {
    MagickSetImageFormat(picture, "JPEG");
    const std::size_t quality = static_cast<std::size_t>(run.quality);
    // A JPEG keeps its own quality unless the slider asks for less: a conversion never makes a
    // picture larger for no gain.
    if (format != "JPEG" || quality < MagickGetImageCompressionQuality(picture)) {
      MagickSetImageCompression(picture, JPEGCompression);
      MagickSetImageCompressionQuality(picture, quality);
    } else {
      MagickSetImageCompression(picture, NoCompression);
    }
  }
  if (!WriteToolPicture(picture, target, failure)) return PictureResult::Failed(failure);
  return PictureResult::Written();
}

RunOutcome RunConvertJob(const ConvertJob& job, RunObserver& observer,
                         const std::atomic<bool>& stop_requested) {
  const ConvertRunSettings run = ConvertRunSettingsOf(job.settings);
  const fs::path source = WithoutTrailingSeparators(job.source_folder);
  const fs::path output = WithoutTrailingSeparators(
      job.output_folder.empty() ? DefaultOutputFolder(source) : job.output_folder);
  const LoadFormatMask mask = job.settings.load_format_option;

  ToolJob tool_job;
  tool_job.run_list.source_folder = source;
  tool_job.run_list.include_sub_folders = job.include_sub_folders;
  tool_job.run_list.pattern = "*.*";
  tool_job.run_list.accepts = [mask](std::string_view name) { return MaskSelectsFile(mask, name); };
  tool_job.run_list.output_folder = output;
  tool_job.folder_to_open = output;
  tool_job.target = [&](const ToolPicture& picture) {
    return ConvertTargetPath(output.string() + picture.relative_folder,
                             picture.path.filename().string(), run);
  };
  tool_job.new_names = true;
  tool_job.work = [&](const ToolPicture& picture) {
    return ConvertPicture(picture.path, picture.target, run);
  };
  tool_job.workers = job.workers;
  tool_job.keep_time = job.keep_time;
  return RunToolJob(tool_job, observer, stop_requested);
}

std::string KeepExtensionLabel(ToolOutputFormat format) {
  // The extension without its dot: "jpg", "png", "webp", "avif".
  const std::string extension = ToolEncodingOf(format, kDefaultToolQuality, false, false,
                                               kDefaultPng8ColorCount)
                                    .extension.substr(1);
  return std::string("新的文件名保留原文件名的扩展名部分，举例：123.bmp 转换成 ") + extension +
         " 后新的文件名：123.bmp." + extension;
}

}  // namespace brindle
