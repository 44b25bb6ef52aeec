#include "tools/crop/crop_preview.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>

#include "base/info_log.h"
#include "platform/files/file_stamp.h"
#include "png8/png8.h"
#include "tools/common/checkerboard.h"
#include "tools/common/tool_picture_steps.h"
#include "tools/common/tool_source.h"
#include "tools/crop/crop_geometry.h"
#include "tools/crop/crop_pane_picture.h"

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

// The cropped part, as the run would write it, framed in light grey. The frame goes round a side
// only while the framed part is still narrower than the whole picture (width x height), so a
// rectangle that keeps a whole side shows no frame there. false when ImageMagick refuses.
bool Frame(MagickWand* cropped, std::size_t width, std::size_t height) {
  const std::size_t frame_x = MagickGetImageWidth(cropped) + 2 < width ? 1 : 0;
  const std::size_t frame_y = MagickGetImageHeight(cropped) + 2 < height ? 1 : 0;
  PixelWandPtr frame = MakePixelWand(kFrameColour);
  return MagickBorderImage(cropped, frame.get(), frame_x, frame_y) != MagickFalse;
}

// A rectangle of the picture, in pixels.
struct Area {
  long x = 0;
  long y = 0;
  long width = 0;
  long height = 0;
};

// Where the pane's picture is encoded again when the framed part (changed) moves or changes, and
// which of the decoded pixels then come out as the whole picture's encoding gives them. JPEG codes
// whole units (8 or 16 pixels square) on their own, but the decoder's smooth chroma upsampling
// reaches a little across a unit's edge: so the encoded area is the changed units with two units
// more on every side, and its pixels are exact but for one unit along every side inside the
// picture. Both are cut at the picture's edges.
struct Patch {
  Area encoded;
  Area exact;
};

Patch PatchFor(const Area& changed, long width, long height, int unit_width, int unit_height) {
  auto span = [](long start, long length, long whole, long unit) {
    const long first = std::max(0L, (start / unit - 2) * unit);
    const long end = std::min(whole, ((start + length + unit - 1) / unit + 2) * unit);
    const long exact_first = first > 0 ? first + unit : 0;
    const long exact_end = end < whole ? end - unit : whole;
    return std::array<long, 4>{first, end - first, exact_first, exact_end - exact_first};
  };
  const std::array<long, 4> across = span(changed.x, changed.width, width, unit_width);
  const std::array<long, 4> down = span(changed.y, changed.height, height, unit_height);
  return {{across[0], down[0], across[1], down[1]}, {across[2], down[2], across[3], down[3]}};
}

// Copies area (in to's coordinates) from `from`, whose top left sits at (x, y) of to.
void CopyArea(const Pixels8& from, long x, long y, const Area& area, Pixels8& to) {
  const std::size_t bytes = static_cast<std::size_t>(area.width) * 3;
  for (long row = area.y; row < area.y + area.height; ++row) {
    const std::uint8_t* source =
        &from.samples[(static_cast<std::size_t>(row - y) * static_cast<std::size_t>(from.width) +
                       static_cast<std::size_t>(area.x - x)) *
                      3];
    std::copy(source, source + bytes,
              &to.samples[(static_cast<std::size_t>(row) * static_cast<std::size_t>(to.width) +
                           static_cast<std::size_t>(area.x)) *
                          3]);
  }
}

// A display made by patching the background's, kept for reuse once the pane lets it go.
struct DisplayBuffer {
  std::shared_ptr<Pixels8> pixels;
  Area patched;  // where it differs from the background's display
  // Set while the display is lent out; cleared (releasing) when the last holder lets it go, on
  // whatever thread that is, so that seeing it cleared (acquiring) orders their reads before the
  // maker's next writes.
  std::shared_ptr<std::atomic<bool>> lent = std::make_shared<std::atomic<bool>>(false);

  bool free() const { return !lent->load(std::memory_order_acquire); }

  std::shared_ptr<const Pixels8> Lend() {
    lent->store(true, std::memory_order_relaxed);
    // The holders keep the samples alive even when the maker has let the display go.
    return std::shared_ptr<const Pixels8>(pixels.get(),
                                          [flag = lent, keep = pixels](const Pixels8*) {
                                            flag->store(false, std::memory_order_release);
                                          });
  }
};

// The displays a maker keeps for reuse: the one the pane shows and the one being made.
constexpr std::size_t kDisplayBuffers = 2;

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

}  // namespace

CropStatusTexts ReadyStatus() { return {kPreviewReadyStatus, "", ""}; }

ScanResult CropPreviewList(const CropJob& job) {
  ScanResult list;
  if (job.settings.picture_list_source) {
    list.paths = job.pictures;
    return list;
  }
  const LoadFormatMask mask = job.settings.load_format_option & kToolLoadFormats;
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

struct CropPreviewMaker::Kept {
  FileStamp stamp;
  MagickWandPtr source;      // as the geometry step reads it
  MagickWandPtr background;  // DarkenedBackground of it
  // What the pane shows of the background alone, once a preview was patched onto it.
  std::optional<DecodedJpeg> shown_background;
  std::vector<DisplayBuffer> buffers;  // the latest patched displays, oldest first
};

CropPreviewMaker::CropPreviewMaker(bool patches_display) : patches_display_(patches_display) {}
CropPreviewMaker::~CropPreviewMaker() = default;

void CropPreviewMaker::Forget() { kept_.reset(); }

CropPreviewMaker::Kept* CropPreviewMaker::Prepare(const fs::path& path) {
  const std::optional<FileStamp> stamp = StampOf(path);
  if (stamp && kept_ && kept_->stamp == *stamp) return kept_.get();
  kept_.reset();
  MagickWandPtr source = ReadCropSource(path);
  if (!source) return nullptr;
  MagickWandPtr background = DarkenedBackground(source.get());
  if (!background) return nullptr;
  kept_ = std::make_unique<Kept>(Kept{
      stamp.value_or(FileStamp{}), std::move(source), std::move(background), std::nullopt, {}});
  return kept_.get();
}

std::shared_ptr<const Pixels8> CropPreviewMaker::ShowWhole(const Kept& kept,
                                                           const CropGeometry& geometry,
                                                           MagickWand* framed) {
  MagickWandPtr picture(CloneMagickWand(kept.background.get()));
  if (!picture || MagickCompositeImage(picture.get(), framed, OverCompositeOp,
                                       static_cast<ssize_t>(geometry.left),
                                       static_cast<ssize_t>(geometry.top)) == MagickFalse) {
    return nullptr;
  }
  std::optional<DecodedJpeg> shown = ShowCropPanePicture(picture.get());
  if (!shown) return nullptr;
  return std::make_shared<const Pixels8>(std::move(shown->pixels));
}

std::shared_ptr<const Pixels8> CropPreviewMaker::ShowPatched(Kept& kept,
                                                             const CropGeometry& geometry,
                                                             MagickWand* framed) {
  MagickWand* background = kept.background.get();
  if (!kept.shown_background) {
    MagickWandPtr copy(CloneMagickWand(background));
    if (copy) kept.shown_background = ShowCropPanePicture(copy.get());
    if (!kept.shown_background) return ShowWhole(kept, geometry, framed);
  }
  const DecodedJpeg& whole = *kept.shown_background;
  const long width = whole.pixels.width;
  const long height = whole.pixels.height;
  const Area changed{static_cast<long>(geometry.left), static_cast<long>(geometry.top),
                     static_cast<long>(MagickGetImageWidth(framed)),
                     static_cast<long>(MagickGetImageHeight(framed))};
  const Patch patch =
      PatchFor(changed, width, height, whole.layout.unit_width, whole.layout.unit_height);
  MagickWandPtr part(MagickGetImageRegion(background, static_cast<std::size_t>(patch.encoded.width),
                                          static_cast<std::size_t>(patch.encoded.height),
                                          patch.encoded.x, patch.encoded.y));
  if (!part ||
      MagickCompositeImage(part.get(), framed, OverCompositeOp, changed.x - patch.encoded.x,
                           changed.y - patch.encoded.y) == MagickFalse) {
    return ShowWhole(kept, geometry, framed);
  }
  std::optional<DecodedJpeg> shown_part = ShowCropPanePicture(part.get());
  // Another layout (a part that is all grey is written as a grey JPEG, say) codes its units
  // differently: the whole picture is shown then.
  if (!shown_part || shown_part->layout != whole.layout ||
      shown_part->pixels.width != patch.encoded.width ||
      shown_part->pixels.height != patch.encoded.height) {
    return ShowWhole(kept, geometry, framed);
  }
  // A display buffer the pane no longer holds is brought back to the background's display where it
  // was patched last; only when the pane holds every kept one is a new copy made.
  DisplayBuffer* buffer = nullptr;
  for (DisplayBuffer& kept_buffer : kept.buffers) {
    if (kept_buffer.free()) buffer = &kept_buffer;
  }
  if (buffer) {
    CopyArea(whole.pixels, 0, 0, buffer->patched, *buffer->pixels);
  } else {
    if (kept.buffers.size() >= kDisplayBuffers) kept.buffers.erase(kept.buffers.begin());
    kept.buffers.push_back({std::make_shared<Pixels8>(whole.pixels), {}});
    buffer = &kept.buffers.back();
  }
  CopyArea(shown_part->pixels, patch.encoded.x, patch.encoded.y, patch.exact, *buffer->pixels);
  buffer->patched = patch.exact;
  return buffer->Lend();
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
  preview.status[1] = kPreviewBusyStatus;
  preview.current_index = current_index >= 0 && current_index < count ? current_index : 0;

  for (int index : TryOrder(preview.current_index, count, forward)) {
    const fs::path& path = list[static_cast<std::size_t>(index)];
    Kept* kept = Prepare(path);
    if (!kept) continue;
    CropGeometry geometry;
    MagickWandPtr cropped =
        CropSource(MagickWandPtr(CloneMagickWand(kept->source.get())), job.settings, &geometry);
    if (!cropped) continue;
    const std::size_t width = MagickGetImageWidth(kept->background.get());
    const std::size_t height = MagickGetImageHeight(kept->background.get());
    std::optional<RunMessage> message;
    // A picture ImageMagick refuses to draw is passed over like one that cannot be read.
    if (!SimulateOutput(job, path, cropped, message) || !Frame(cropped.get(), width, height)) {
      continue;
    }
    std::shared_ptr<const Pixels8> pixels = patches_display_
                                                ? ShowPatched(*kept, geometry, cropped.get())
                                                : ShowWhole(*kept, geometry, cropped.get());
    if (!pixels) continue;
    preview.current_index = index;
    preview.status = {
        FormatMessage("原图尺寸: %d x %d", static_cast<int>(width), static_cast<int>(height)),
        FormatMessage("裁剪后图片尺寸: %d x %d", static_cast<int>(geometry.width),
                      static_cast<int>(geometry.height)),
        FormatMessage("图片: %s", path.c_str())};
    preview.message = std::move(message);
    preview.shown = std::move(pixels);
    return preview;
  }

  preview.shown = std::make_shared<const Pixels8>(Pixels8{1, 1, 3, {255, 255, 255}});
  const std::string text =
      job.settings.picture_list_source
          ? std::string("没有找到需要裁剪的图片！")
          : FormatMessage("在文件夹 %s 中没有找到需要裁剪的图片！", job.source_folder.c_str());
  preview.message = RunMessage{text, "预览", MessageIcon::kWarning};
  return preview;
}

CropPreview GenerateCropPreview(const CropJob& job, const std::vector<fs::path>& list,
                                int current_index, bool forward, const CropStatusTexts& shown) {
  return CropPreviewMaker(/*patches_display=*/false)
      .Generate(job, list, current_index, forward, shown);
}

}  // namespace brindle
