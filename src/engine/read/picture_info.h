#pragma once
// The one-line description of a picture shown in the status bar of the picture list and in the
// effect preview: its size in pixels, its type and its file size. The header is read first, without
// decoding; only a file whose header is not understood is decoded.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace brindle {

// Logged (with the path) by callers when a picture's header is not understood.
inline constexpr const char* kUnrecognisedPictureMessage = "无法识别的图片:\r\n%s";
// The line for a file that cannot be read as a picture at all.
inline constexpr const char* kInvalidPictureText = "注意: 这不是一个有效的图片";

struct PictureHeader {
  int width = 0;
  int height = 0;
  std::string type;  // "JPEG", "GIF", "PNG", "PSD", "TIFF", "BMP", "HEIF", "AVIF" or "WEBP"
  std::int64_t size = 0;  // the file's length; for BMP the length its header states
};

// Width, height, type and size from the file's header; none when the header is not understood, the
// file ends before the values, or any of them is not above 0.
std::optional<PictureHeader> ReadPictureHeader(const std::filesystem::path& path);

// "尺寸: W x H, 类型: TYPE 图片, 大小: ..." with the size in bytes, KB or MB.
std::string FormatPictureInfo(int width, int height, const std::string& type, std::int64_t size);

struct PictureInfo {
  std::string text;
  // false when the header was not understood (the line then comes from decoding the picture, or is
  // kInvalidPictureText); callers log kUnrecognisedPictureMessage for it.
  bool header_recognised = false;
};

// The information line of a picture. Needs ImageMagick started when the header is not understood.
PictureInfo PictureInfoLine(const std::filesystem::path& path);

}  // namespace brindle
