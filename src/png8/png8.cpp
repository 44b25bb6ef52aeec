#include "png8/png8.h"

#include <climits>
#include <cstring>
#include <memory>

#include "base/info_log.h"
#include "base/maker_web_site.h"
#include "platform/files/file_write.h"
#include "png8/png_encode.h"
#include "png8/quantise.h"

namespace brindle {
namespace {

// Every PNG-8 failure ends with the same pointer to the maker's support.
std::string WithSupportLine(const std::string& first_line) {
  return first_line + "\r\n---请进入官方网站 " + kMakerWebSiteHost + " 联系我们的客服。\r\n";
}

void LogExportFailure() { LogInfo(WithSupportLine("MagickExportImagePixels() error.")); }

}  // namespace

bool EncodePng8(MagickWand* wand, int color_count, std::string& bytes) {
  MagickSetImageFormat(wand, "PNG");
  const std::size_t width = MagickGetImageWidth(wand);
  const std::size_t height = MagickGetImageHeight(wand);
  // Both libraries count pixels in int and unsigned; a picture beyond that cannot be exported.
  if (width == 0 || height == 0 || width > INT_MAX / 4 || height > INT_MAX / 4 ||
      width * height > static_cast<std::size_t>(INT_MAX) / 4) {
    LogExportFailure();
    return false;
  }
  auto rgba = std::make_unique_for_overwrite<unsigned char[]>(width * height * 4);
  if (MagickExportImagePixels(wand, 0, 0, width, height, "RGBA", CharPixel, rgba.get()) ==
      MagickFalse) {
    MagickClearException(wand);
    LogExportFailure();
    return false;
  }

  IndexedPicture picture;
  switch (QuantiseRgba(rgba.get(), static_cast<int>(width), static_cast<int>(height), color_count,
                       picture)) {
    case QuantiseFailure::kNone:
      break;
    case QuantiseFailure::kQuantize:
      LogInfo(WithSupportLine("liq_image_quantize() error."));
      return false;
    case QuantiseFailure::kRemap:
      LogInfo(WithSupportLine("liq_write_remapped_image() error."));
      return false;
  }
  rgba.reset();

  std::string encoded;
  if (unsigned error = EncodePalettePng(picture.indices.get(), static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), picture.palette, encoded)) {
    LogInfo(WithSupportLine("lodepng_encode() error: " + PngErrorText(error)));
    return false;
  }
  bytes = std::move(encoded);
  return true;
}

bool WritePng8File(MagickWand* wand, int color_count, const std::filesystem::path& path) {
  std::string bytes;
  if (!EncodePng8(wand, color_count, bytes)) return false;
  FileWriteFailure failure;
  if (WriteFileAtomically(path, bytes, failure)) return true;
  const char* format = failure.step == FileWriteFailure::Step::kOpen ? "fopen('%s') error: %d(%s)"
                                                                     : "fwrite('%s') error: %d(%s)";
  LogInfo(WithSupportLine(FormatMessage(format, path.c_str(), failure.error_number,
                                        std::strerror(failure.error_number))));
  return false;
}

}  // namespace brindle
