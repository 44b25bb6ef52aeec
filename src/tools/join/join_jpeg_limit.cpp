#include "tools/join/join_jpeg_limit.h"

#include "base/info_log.h"

namespace brindle {

JpegSideCheck CheckJpegSides(long long width, long long height) {
  if (width > kMaxJpegSide) return {JpegSideExcess::kWidth, width};
  if (height > kMaxJpegSide) return {JpegSideExcess::kHeight, height};
  return {};
}

std::string GroupJpegRefusal(const std::filesystem::path& group, const JpegSideCheck& check) {
  const char* format = check.excess == JpegSideExcess::kWidth
                           ? "拼接图片失败: %s\r\n拼接后的图片宽度: %lld 像素, "
                             "支持的最大JPG图片宽度: 65500 像素.\r\n"
                             "请将拼接后生成的JPG图片宽度控制在 65500 像素内或选择保存为PNG格式."
                           : "拼接图片失败: %s\r\n拼接后的图片高度: %lld 像素, "
                             "支持的最大JPG图片高度: 65500 像素.\r\n"
                             "请将拼接后生成的JPG图片高度控制在 65500 像素内或选择保存为PNG格式.";
  return FormatMessage(format, group.c_str(), check.length);
}

RunMessage ListJpegRefusal(const JpegSideCheck& check) {
  const char* format =
      check.excess == JpegSideExcess::kWidth
          ? "拼接图片失败: \n\n拼接后的图片宽度: %lld 像素, 支持的最大JPG图片宽度: 65500 像素.\n\n"
            "请将拼接后生成的JPG图片宽度控制在 65500 像素内或选择保存为PNG格式."
          : "拼接图片失败: \n\n拼接后的图片高度: %lld 像素, 支持的最大JPG图片高度: 65500 像素.\n\n"
            "请将拼接后生成的JPG图片高度控制在 65500 像素内或选择保存为PNG格式.";
  return {FormatMessage(format, check.length), "错误", MessageIcon::kError};
}

RunMessage PreviewJpegRefusal(const JpegSideCheck& check) {
  const char* format =
      check.excess == JpegSideExcess::kWidth
          ? "预览失败:\n\n拼接后的图片宽度: %lld 像素，JPG格式支持的最大图片宽度 65500 像素。\n\n"
            "请将拼接后的图片宽度控制在 65500 像素内或选择保存为PNG格式。"
          : "预览失败:\n\n拼接后的图片高度: %lld 像素，JPG格式支持的最大图片高度 65500 像素。\n\n"
            "请将拼接后的图片高度控制在 65500 像素内或选择保存为PNG格式。";
  return {FormatMessage(format, check.length), "错误", MessageIcon::kError};
}

bool PngTooLarge(long long width, long long height) {
  return width > kMaxPngSide || height > kMaxPngSide || width * height > kMaxPngPixels;
}

namespace {

// The size and the limits, as the run and the preview say them.
std::string PngLimitText(long long width, long long height) {
  return FormatMessage(
      "拼接后的图片尺寸: %lld x %lld 像素, 支持的最大PNG图片: 宽和高各不超过 %lld 像素, "
      "且总共不超过 %lld 像素",
      width, height, kMaxPngSide, kMaxPngPixels);
}

}  // namespace

std::string GroupPngRefusal(const std::filesystem::path& group, long long width, long long height) {
  return FormatMessage("拼接图片失败: %s\r\n%s.\r\n请减少这组图片的数量或设置较小的图片宽度(高度).",
                       group.c_str(), PngLimitText(width, height).c_str());
}

RunMessage ListPngRefusal(long long width, long long height) {
  return {FormatMessage("拼接图片失败: \n\n%s.\n\n请减少图片的数量或设置较小的图片宽度(高度).",
                        PngLimitText(width, height).c_str()),
          "错误", MessageIcon::kError};
}

RunMessage PreviewPngRefusal(long long width, long long height) {
  return {FormatMessage("预览失败:\n\n%s。\n\n请减少图片的数量或设置较小的图片宽度(高度)。",
                        PngLimitText(width, height).c_str()),
          "错误", MessageIcon::kError};
}

}  // namespace brindle
