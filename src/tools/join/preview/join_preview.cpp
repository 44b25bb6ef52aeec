#include "tools/join/preview/join_preview.h"

#include <algorithm>

#include "base/info_log.h"
#include "platform/magick/magick_environment.h"
#include "png8/png8.h"
#include "tools/common/checkerboard.h"
#include "tools/join/join_compose.h"
#include "tools/join/join_groups.h"
#include "tools/join/join_jpeg_limit.h"
#include "tools/join/join_save.h"
#include "tools/join/join_tool.h"
#include "tools/join/preview/join_preview_artwork.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

int DisplayQuality(const JoinToolSettings& settings) {
  return settings.format == ToolOutputFormat::kJpg ? settings.quality : kPreviewDisplayQuality;
}

// A preview that could not be made: the pane shows nothing and the message says why.
void PreviewFailed(JoinPreview& preview, const std::string& reason) {
  preview.display_jpeg.clear();
  preview.messages.push_back(
      {FormatMessage("生成预览图片时发生错误：\n\n%s\n\n请检查内存或硬盘空间是否用完。",
                     reason.c_str()),
       "错误", MessageIcon::kError});
}

// The display copy: the picture encoded as JPEG; on failure the message says why.
bool EncodeDisplayCopy(MagickWand* wand, int quality, JoinPreview& preview) {
  MagickSetImageFormat(wand, "JPEG");
  MagickSetImageCompression(wand, JPEGCompression);
  MagickSetImageCompressionQuality(wand, static_cast<std::size_t>(quality));
  KeepJpegEncoderSmall(wand);
  std::string error;
  if (!EncodePictureBlob(wand, preview.display_jpeg, &error)) {
    PreviewFailed(preview, error);
    return false;
  }
  preview.width = static_cast<int>(MagickGetImageWidth(wand));
  preview.height = static_cast<int>(MagickGetImageHeight(wand));
  return true;
}

// The joined picture as the output format will look: through the palette with PNG-8, over the
// checkerboard with a transparent PNG, over white otherwise. Null when ImageMagick refuses the
// checkerboard or the white; the message then says why.
MagickWandPtr DressForFormat(MagickWandPtr joined, const JoinToolSettings& settings,
                             JoinPreview& preview) {
  const bool png = settings.format == ToolOutputFormat::kPng;
  if (png && settings.png8) {
    std::string bytes;
    MagickWandPtr quantised = MakeMagickWand();
    if (EncodePng8(joined.get(), settings.png8_color_count, bytes) &&
        ReadPictureBytes(quantised.get(), bytes, nullptr)) {
      joined = std::move(quantised);
    } else {
      preview.messages.push_back(
          {"getPng8Data() 获取 PNG-8 格式的图片数据时发生错误。\n\n请进入官网联系客服。", "预览",
           MessageIcon::kError});
    }
  }
  const bool dressed = png && settings.transparent ? LayOverCheckerboard(joined.get())
                                                   : FlattenJoinedOntoWhite(joined.get());
  if (!dressed) {
    PreviewFailed(preview, TakeMagickError(joined.get()));
    return nullptr;
  }
  return joined;
}

// Cuts a PNG preview to the part a JPEG can hold. false when ImageMagick refuses; its reason stays
// on the wand.
bool CutToDisplayable(MagickWand* wand, long long width, long long height) {
  MagickResetImagePage(wand, nullptr);
  if (MagickCropImage(wand, static_cast<std::size_t>(std::min(width, kMaxJpegSide)),
                      static_cast<std::size_t>(std::min(height, kMaxJpegSide)), 0,
                      0) == MagickFalse) {
    return false;
  }
  MagickResetImagePage(wand, nullptr);
  return true;
}

// The group search order from the current index.
std::vector<int> SearchOrder(int current, int count, JoinPreviewSearch search) {
  std::vector<int> order;
  if (search == JoinPreviewSearch::kForward) {
    for (int i = current; i < count; ++i) order.push_back(i);
    for (int i = 0; i < current; ++i) order.push_back(i);
  } else {
    for (int i = current; i >= 0; --i) order.push_back(i);
    for (int i = count - 1; i > current; --i) order.push_back(i);
  }
  return order;
}

struct Composed {
  MagickWandPtr wand;
  // Set instead of wand when the picture is too large for its output format; width and height are
  // then its planned size.
  JpegSideCheck jpeg;
  bool png_too_large = false;
  long long width = 0;
  long long height = 0;
};

// Composes one list of pictures as the preview needs it. A canvas over its format's limits is
// known from the headers and is not composed at all: it could not be shown nor written.
Composed ComposeForPreview(const std::vector<fs::path>& pictures, const JoinToolSettings& settings,
                           int& troubled) {
  Composed composed;
  if (pictures.size() < 2) return composed;
  const JoinPlan plan = PlanJoin(pictures, settings);
  if (settings.format == ToolOutputFormat::kJpg) {
    composed.jpeg = CheckJpegSides(plan.Width(), plan.Height());
  } else {
    composed.png_too_large = PngTooLarge(plan.Width(), plan.Height());
  }
  if (composed.jpeg.excess != JpegSideExcess::kNone || composed.png_too_large) {
    troubled += plan.UnsizedCount();
    composed.width = plan.Width();
    composed.height = plan.Height();
    return composed;
  }
  JoinedPicture joined = ComposePlannedJoin(pictures, plan);
  troubled += joined.troubled;
  composed.wand = std::move(joined.wand);
  if (composed.wand) {
    composed.width = static_cast<long long>(MagickGetImageWidth(composed.wand.get()));
    composed.height = static_cast<long long>(MagickGetImageHeight(composed.wand.get()));
  }
  return composed;
}

bool Found(const Composed& composed) {
  return composed.wand || composed.jpeg.excess != JpegSideExcess::kNone || composed.png_too_large;
}

}  // namespace

JoinPreview MakeJoinPreview(const JoinPreviewRequest& request) {
  const JoinToolSettings& settings = request.settings;
  const bool list_mode = settings.picture_list_source;
  JoinPreview preview;
  preview.current_group = request.current_group;
  preview.status = kPreviewReadyStatus;
  if (list_mode ? request.pictures.size() < 2 : request.groups.empty()) return preview;

  if (settings.close_preview) {
    MagickWandPtr placeholder = MakeJoinPlaceholder();
    if (placeholder) EncodeDisplayCopy(placeholder.get(), DisplayQuality(settings), preview);
    return preview;
  }

  // The joined picture may be longer than everyday pictures until its display copy is made.
  LargerMagickSides larger_sides;
  Composed composed;
  if (list_mode) {
    composed = ComposeForPreview(request.pictures, settings, preview.troubled);
  } else {
    const int count = static_cast<int>(request.groups.size());
    if (preview.current_group < 0 || preview.current_group >= count) preview.current_group = 0;
    const LoadFormatMask mask = JoinLoadFormats(settings);
    for (int index : SearchOrder(preview.current_group, count, request.search)) {
      const fs::path& group = request.groups[static_cast<std::size_t>(index)];
      composed =
          ComposeForPreview(ListGroupPictures(group, mask).paths, settings, preview.troubled);
      if (Found(composed)) {
        preview.current_group = index;
        break;
      }
    }
  }
  if (!list_mode) {
    preview.status_detail = FormatMessage(
        "文件夹: %s", request.groups[static_cast<std::size_t>(preview.current_group)].c_str());
  }

  if (composed.jpeg.excess != JpegSideExcess::kNone) {
    preview.status = FormatMessage("图片尺寸: %lld x %lld", composed.width, composed.height);
    preview.messages.push_back(PreviewJpegRefusal(composed.jpeg));
    return preview;
  }
  if (composed.png_too_large) {
    preview.status = FormatMessage("图片尺寸: %lld x %lld", composed.width, composed.height);
    preview.messages.push_back(PreviewPngRefusal(composed.width, composed.height));
    return preview;
  }

  MagickWandPtr shown;
  if (composed.wand) {
    shown = DressForFormat(std::move(composed.wand), settings, preview);
  } else {
    shown = MakeMagickWand();
    PixelWandPtr white = MakePixelWand("#FFFFFF");
    if (MagickNewImage(shown.get(), 1, 1, white.get()) == MagickFalse) {
      PreviewFailed(preview, TakeMagickError(shown.get()));
      shown.reset();
    }
    composed.width = composed.height = 1;
  }
  preview.status = FormatMessage("图片尺寸: %lld x %lld", composed.width, composed.height);
  if (!shown) return preview;

  const bool cut = composed.width > kMaxJpegSide || composed.height > kMaxJpegSide;
  if (cut && !CutToDisplayable(shown.get(), composed.width, composed.height)) {
    PreviewFailed(preview, TakeMagickError(shown.get()));
    return preview;
  }
  if (!EncodeDisplayCopy(shown.get(), DisplayQuality(settings), preview)) return preview;
  if (cut) {
    preview.messages.push_back(
        {FormatMessage("拼接后的图片尺寸: %lld x %lld，超出可预览的最大尺寸。\n"
                       "当前预览显示的是拼接后的部分内容，尺寸: %d x %d。\n\n"
                       "最终生成的拼接图片不会受此影响。",
                       composed.width, composed.height, preview.width, preview.height),
         "提示", MessageIcon::kWarning});
  }
  if (!list_mode && composed.width == 1 && composed.height == 1) {
    const fs::path& group = request.groups[static_cast<std::size_t>(preview.current_group)];
    preview.messages.push_back(
        {FormatMessage("在文件夹 %s 中没有找到需要拼接的图片！", group.c_str()), "预览",
         MessageIcon::kWarning});
  }
  return preview;
}

}  // namespace brindle
