#include "tools/crop_preview.h"

#include "base/info_log.h"
#include "platform/file_stamp.h"
#include "png8/png8.h"
#include "tools/checkerboard.h"
#include "tools/crop_geometry.h"
#include "tools/tool_picture_steps.h"
#include "tools/tool_source.h"

namespace brindle {

namespace fs = std::filesystem;

const char* const kCropPreviewHelpText =
    "图片裁剪预览时，最多会从【源图片文件夹】中加载 32 "
    "张图片。\n\n可以按键盘方向键来切换图片，查看不同的图片裁剪效果。\n\n提示：如果按方向键不能切换"
    "图片，请先用鼠标点击一下图片预览区。\n\n注意：如果勾选了【PNG-"
    "8】选项，生成预览图片将需要更多的"
    "时间。";

namespace {

constexpr double kCutAwayBrightness = -60;  // what is cut away is shown this much darker
constexpr const char* kFrameColour = "#CCCCCC";

bool HasAlpha(MagickWand* wand) { return MagickGetImageAlphaChannel(wand) != MagickFalse; }

// A picture with an alpha channel is shown over the checkerboard. false when ImageMagick refuses.
bool ShowTransparency(MagickWand* picture) {
  return !HasAlpha(picture) || LayOverCheckerboard(picture);
}

// The picture encoded as it is set up and decoded again; unchanged when the decoding fails.
void ThroughEncoding(MagickWandPtr& picture, const std::string& bytes) {
  MagickWandPtr decoded = MakeMagickWand();
  if (ReadPictureBytes(decoded.get(), bytes, nullptr)) picture = std::move(decoded);
}

// What the run would write of the cropped picture, as far as it shows: JPEG's loss, white behind
// transparency, the PNG-8 palette. false when ImageMagick refuses a step; a failed PNG-8 is told
// in message and the picture shown without its palette.
bool SimulateOutput(const CropJob& job, const fs::path& path, MagickWandPtr& cropped,
                    std::optional<RunMessage>& message) {
  const CropToolSettings& settings = job.settings;
  const bool converted = job.save_mode == CropSaveMode::kToFolder && !job.keep_format;
  const bool to_png = settings.format == ToolOutputFormat::kPng;
  const std::string format = PictureFormat(cropped.get());
  if (converted && !to_png) {
    if (!FlattenOntoWhite(cropped.get(), format, true)) return false;
    MagickSetImageFormat(cropped.get(), "JPEG");
    MagickSetImageCompression(cropped.get(), JPEGCompression);
    MagickSetImageCompressionQuality(cropped.get(), static_cast<std::size_t>(settings.quality));
    std::string jpeg;
    if (!EncodePictureBlob(cropped.get(), jpeg, nullptr)) return false;
    ThroughEncoding(cropped, jpeg);
  } else if (converted && !settings.transparent) {
    if (!FlattenOntoWhite(cropped.get(), format, true)) return false;
  } else if (!ShowTransparency(cropped.get())) {
    return false;
  }
  if (!converted || !to_png || !settings.png8) return true;
  std::string png8;
  if (!EncodePng8(cropped.get(), settings.png8_color_count, png8)) {
    message =
        RunMessage{FormatMessage("转换成 PNG-8 格式时发生错误。\n\n图片地址：%s", path.c_str()),
                   "预览", MessageIcon::kError};
    return true;
  }
  ThroughEncoding(cropped, png8);
  return true;
}

// The preview of one picture: the cropped part as the run would write it, framed, laid over the
// background (already darkened). false when ImageMagick refuses a step.
bool DrawPreview(const CropJob& job, const fs::path& path, const CropGeometry& geometry,
                 MagickWandPtr& cropped, MagickWand* background,
                 std::optional<RunMessage>& message) {
  if (!SimulateOutput(job, path, cropped, message)) return false;

  // The frame goes round a side only while the framed picture is still narrower than the
  // background, so a rectangle that keeps a whole side shows no frame there.
  const std::size_t background_width = MagickGetImageWidth(background);
  const std::size_t background_height = MagickGetImageHeight(background);
  const std::size_t frame_x = MagickGetImageWidth(cropped.get()) + 2 < background_width ? 1 : 0;
  const std::size_t frame_y = MagickGetImageHeight(cropped.get()) + 2 < background_height ? 1 : 0;
  PixelWandPtr frame = MakePixelWand(kFrameColour);
  return MagickBorderImage(cropped.get(), frame.get(), frame_x, frame_y) != MagickFalse &&
         MagickCompositeImage(background, cropped.get(), OverCompositeOp,
                              static_cast<ssize_t>(geometry.left),
                              static_cast<ssize_t>(geometry.top)) != MagickFalse;
}

// The background the kept rectangle is shown on: the picture (a BMP without its alpha channel)
// over the checkerboard where it is transparent, darkened. Null when ImageMagick refuses a step.
MagickWandPtr DarkenedBackground(MagickWand* source) {
  MagickWandPtr background(CloneMagickWand(source));
  if (!background) return nullptr;
  if (PictureFormat(background.get()) == "BMP") {
    MagickSetImageAlphaChannel(background.get(), DeactivateAlphaChannel);
  }
  if (!ShowTransparency(background.get()) ||
      MagickBrightnessContrastImage(background.get(), kCutAwayBrightness, 0) == MagickFalse) {
    return nullptr;
  }
  return background;
}

// The order in which pictures are tried: from current to the end and round from the start, or
// from current down to the first and round from the last.
std::vector<int> TryOrder(int current, int count, bool forward) {
  std::vector<int> order;
  for (int step = 0; step < count; ++step) {
    order.push_back(forward ? (current + step) % count : (current - step + count) % count);
  }
  return order;
}

// Null when ImageMagick refuses even this; the pane is then cleared.
MagickWandPtr WhiteDot() {
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr white = MakePixelWand("#FFFFFF");
  if (MagickNewImage(wand.get(), 1, 1, white.get()) == MagickFalse) return nullptr;
  return wand;
}

}  // namespace

CropStatusTexts ReadyStatus() { return {"就绪...", "", ""}; }

ScanResult CropPreviewList(const CropJob& job) {
  ScanResult list;
  if (job.settings.picture_list_source) {
    list.paths = job.pictures;
    return list;
  }
  const LoadFormatMask mask = job.settings.load_format_option & kBasicLoadFormats;
  auto add_files = [&](const fs::path& folder) {
    ScanResult files = ListFiles(folder, "*.*");
    for (LongPathNotice& notice : files.notices) list.notices.push_back(std::move(notice));
    for (fs::path& path : files.paths) {
      if (list.paths.size() >= kMaxCropPreviewPictures) return;
      if (MaskSelectsFile(mask, path.filename().string())) list.paths.push_back(std::move(path));
    }
  };
  const fs::path source = WithoutTrailingSeparators(job.source_folder);
  add_files(source);
  if (list.paths.size() >= kMaxCropPreviewPictures || !job.include_sub_folders) return list;
  ScanResult sub_folders = ListSubFolders(source, /*recursive=*/true);
  for (LongPathNotice& notice : sub_folders.notices) list.notices.push_back(std::move(notice));
  for (const fs::path& folder : sub_folders.paths) {
    if (list.paths.size() >= kMaxCropPreviewPictures) break;
    add_files(folder);
  }
  return list;
}

int SteppedPreviewIndex(int index, int count, bool forward) {
  if (count <= 0) return 0;
  if (forward) return index + 1 >= count ? 0 : index + 1;
  return index <= 0 ? count - 1 : index - 1;
}

struct CropPreviewMaker::Kept {
  FileStamp stamp;
  MagickWandPtr source;      // as the geometry step reads it
  MagickWandPtr background;  // DarkenedBackground of it
};

CropPreviewMaker::CropPreviewMaker() = default;
CropPreviewMaker::~CropPreviewMaker() = default;

void CropPreviewMaker::Forget() { kept_.reset(); }

const CropPreviewMaker::Kept* CropPreviewMaker::Prepare(const fs::path& path) {
  const std::optional<FileStamp> stamp = StampOf(path);
  if (stamp && kept_ && kept_->stamp == *stamp) return kept_.get();
  kept_.reset();
  MagickWandPtr source = ReadCropSource(path);
  if (!source) return nullptr;
  MagickWandPtr background = DarkenedBackground(source.get());
  if (!background) return nullptr;
  kept_ = std::make_unique<Kept>(
      Kept{stamp.value_or(FileStamp{}), std::move(source), std::move(background)});
  return kept_.get();
}

CropPreview CropPreviewMaker::Generate(const CropJob& job, const std::vector<fs::path>& list,
                                       int current_index, bool forward,
                                       const CropStatusTexts& shown) {
  CropPreview preview;
  const int count = static_cast<int>(list.size());
  if (count == 0) {
    preview.status = ReadyStatus();
    return preview;
  }
  preview.status = shown;
  preview.status[1] = "生成预览图片...";
  preview.current_index = current_index >= 0 && current_index < count ? current_index : 0;

  for (int index : TryOrder(preview.current_index, count, forward)) {
    const fs::path& path = list[static_cast<std::size_t>(index)];
    const Kept* kept = Prepare(path);
    if (!kept) continue;
    CropGeometry geometry;
    MagickWandPtr cropped =
        CropSource(MagickWandPtr(CloneMagickWand(kept->source.get())), job.settings, &geometry);
    MagickWandPtr background(CloneMagickWand(kept->background.get()));
    if (!cropped || !background) continue;
    std::optional<RunMessage> message;
    // A picture ImageMagick refuses to draw is passed over like one that cannot be read.
    if (!DrawPreview(job, path, geometry, cropped, background.get(), message)) continue;
    preview.current_index = index;
    preview.status = {
        FormatMessage("原图尺寸: %d x %d", static_cast<int>(MagickGetImageWidth(background.get())),
                      static_cast<int>(MagickGetImageHeight(background.get()))),
        FormatMessage("裁剪后图片尺寸: %d x %d", static_cast<int>(geometry.width),
                      static_cast<int>(geometry.height)),
        FormatMessage("图片: %s", path.c_str())};
    preview.message = std::move(message);
    preview.picture = std::move(background);
    return preview;
  }

  preview.picture = WhiteDot();
  const std::string text =
      job.settings.picture_list_source
          ? std::string("没有找到需要裁剪的图片！")
          : FormatMessage("在文件夹 %s 中没有找到需要裁剪的图片！", job.source_folder.c_str());
  preview.message = RunMessage{text, "预览", MessageIcon::kWarning};
  return preview;
}

CropPreview GenerateCropPreview(const CropJob& job, const std::vector<fs::path>& list,
                                int current_index, bool forward, const CropStatusTexts& shown) {
  return CropPreviewMaker().Generate(job, list, current_index, forward, shown);
}

}  // namespace brindle
