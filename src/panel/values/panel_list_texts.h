#pragma once
// The entries of the settings panel's fixed lists and menus, in list order: a list's choice is an
// index into these.

#include <array>

namespace brindle {

inline constexpr std::array<const char*, 3> kZoomTypeTexts = {"缩小", "放大", "缩放"};
inline constexpr std::array<const char*, 4> kSizeTypeTexts = {"图片宽：", "图片高：",
                                                              "宽高设小项：", "宽高设大项："};
inline constexpr std::array<const char*, 3> kHorizontalPlacementTexts = {"水平距中", "左边距",
                                                                         "右边距"};
inline constexpr std::array<const char*, 3> kVerticalPlacementTexts = {"垂直距中", "上边距",
                                                                       "下边距"};
inline constexpr std::array<const char*, 2> kScaleTypeTexts = {"高", "宽"};
inline constexpr std::array<const char*, 2> kBorderLocationTexts = {"外部", "内部"};
inline constexpr std::array<const char*, 4> kFromColourSpaceTexts = {"CMYK", "RGB", "sRGB", "全部"};
inline constexpr std::array<const char*, 3> kToColourSpaceTexts = {"CMYK", "RGB", "sRGB"};
inline constexpr std::array<int, 24> kFontSizeChoices = {8,  9,  10, 11,  12,  14,  16,  18,
                                                         20, 24, 26, 28,  36,  48,  60,  72,
                                                         80, 88, 96, 108, 128, 150, 180, 200};
inline constexpr std::array<int, 8> kRotationPresets = {0, 45, 90, 135, 180, 225, 270, 315};
inline constexpr std::array<const char*, 2> kQualityModeTexts = {
    "设置图片压缩质量", "设置图片压缩后生成的文件大小最大值"};

// The "?" beside the file-size box (caption "注意").
inline constexpr const char* kMaxFileSizeHelpText =
    "图片质量：≤ xxx "
    "KB\n\n设置图片压缩后生成的文件大小最大值，这只是一个预期值，软件无法保证图片经过"
    "压缩后生成的文件大小一定会是这个值，只会尽可能得接近这个值。\n\n例如：设置文件大小【最大值】为"
    " "
    "1KB，对于一张大尺寸的图片进行最大程度的压缩后生成的文件大小还是会大于1KB\n\n因此，这个值不能随"
    "意"
    "的去设置，需要参考图片的尺寸(宽与高)。";

}  // namespace brindle
