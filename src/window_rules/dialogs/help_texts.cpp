#include "window_rules/dialogs/help_texts.h"

#include <unordered_map>

#include "panel/values/panel_controls.h"

namespace brindle {
namespace {

namespace pc = panel_control;

struct HelpEntry {
  std::string_view control;
  std::string_view text;
};

// Lines stay within 24 Chinese characters so that each fits the popup's 326-pixel width.
constexpr std::string_view kRotationPresets =
    "选择常用的旋转角度：\n"
    "0 到 315 度，每 45 度一档。\n"
    "当前角度在菜单中打勾。";

constexpr HelpEntry kHelp[] = {
    // "基本设置"
    {pc::kResize,
     "勾选后改变图片的尺寸。\n"
     "缩放方式、边和数值在右边和下面设置。\n"
     "不能与【重新采样】同时勾选。"},
    {pc::kZoomTypeList,
     "缩小：只缩小比设置值大的图片。\n"
     "放大：只放大比设置值小的图片。\n"
     "缩放：大的缩小，小的放大。\n"
     "单位为百分比时固定为缩放。"},
    {pc::kSizeTypeList,
     "设置值对应图片的哪一边：\n"
     "图片宽、图片高：宽或高为设置值。\n"
     "宽高设小项：较短的一边为设置值。\n"
     "宽高设大项：较长的一边为设置值。\n"
     "后两项总是等比例缩放。"},
    {pc::kSizeBox,
     "缩放后的尺寸。\n"
     "像素：整数，范围 1 - 9999。\n"
     "百分比：范围 1.0 - 999.9，可带小数。\n"
     "单击右边的单位可切换像素与百分比。"},
    {pc::kUnitLabel,
     "尺寸的单位：像素或百分比。\n"
     "单击后在弹出的菜单中选择。\n"
     "百分比按原图的边长计算，\n"
     "此时缩放方式固定为缩放。"},
    {pc::kKeepAspect,
     "勾选后另一边按原图比例一起变化，\n"
     "图片不会变形。\n"
     "不勾选时另一边保持原来的尺寸。\n"
     "宽高设小项、宽高设大项时必须勾选。"},
    {pc::kQuality,
     "勾选后按设置压缩处理后的图片。\n"
     "右边的图标切换两种方式：\n"
     "压缩质量，或文件大小的最大值。\n"
     "处理后的图片都以 JPG 格式保存。"},
    {pc::kQualitySlider,
     "JPG 压缩质量，范围 10 - 100。\n"
     "数值越大画质越好，文件也越大。\n"
     "90 以上为高，60 - 89 为中，\n"
     "60 以下为低。"},
    {pc::kQualityModeButton,
     "选择压缩的方式：\n"
     "设置图片压缩质量；\n"
     "或设置压缩后文件大小的最大值。"},
    {pc::kMaxFileSizeBox,
     "压缩后文件大小的最大值，单位 KB。\n"
     "整数，范围 1 - 99999。\n"
     "这是预期值，实际大小只会尽量接近，\n"
     "请参考图片的尺寸来设置。"},
    {pc::kMaxFileSizeHelp,
     "说明文件大小最大值的作用，\n"
     "以及设置时需要注意的地方。"},

    // "文字水印"
    {pc::kTextWatermark,
     "勾选后在图片上添加文字水印。\n"
     "文字、字体、位置等在下面设置。\n"
     "不勾选时此组收起。"},
    {pc::kText,
     "水印的文字内容，最多 127 个字符。\n"
     "下拉列表中有最近用过的文字。\n"
     "文字为空时不添加文字水印。"},
    {pc::kFontBox,
     "水印文字的字体。\n"
     "文字中有中文时请选择中文字体，\n"
     "例如：宋体、楷体、黑体。"},
    {pc::kFontSizeList,
     "水印文字的字号，可选择或输入数字。\n"
     "勾选【文字大小按比例】时不可用。"},
    {pc::kTextColour,
     "水印文字的颜色。\n"
     "单击后在颜色对话框中选择。"},
    {pc::kBold,
     "粗体。\n"
     "字体有粗体样式时才显示此按钮。"},
    {pc::kItalic,
     "斜体。\n"
     "字体有斜体样式时才显示此按钮。"},
    {pc::kUnderline,
     "下划线。\n"
     "与删除线不能同时使用。"},
    {pc::kLineThrough,
     "删除线。\n"
     "与下划线不能同时使用。"},
    {pc::kTextHorizontalList,
     "文字水印在水平方向的位置：\n"
     "水平距中、左边距或右边距。\n"
     "选择边距后，在右边输入距离。"},
    {pc::kTextHorizontalMargin,
     "文字水印到图片左边或右边的距离，\n"
     "单位像素，整数 0 - 999。\n"
     "水平距中时不可用。"},
    {pc::kTextVerticalList,
     "文字水印在垂直方向的位置：\n"
     "垂直距中、上边距或下边距。\n"
     "选择边距后，在右边输入距离。"},
    {pc::kTextVerticalMargin,
     "文字水印到图片上边或下边的距离，\n"
     "单位像素，整数 0 - 999。\n"
     "垂直距中时不可用。"},
    {pc::kBackgroundColour,
     "文字背后底框的颜色。\n"
     "单击后在颜色对话框中选择；\n"
     "不要底框时单击【清除背景色】。"},
    {pc::kClearBackground,
     "去掉文字背后的底框颜色，\n"
     "文字直接写在图片上。"},
    {pc::kTextBorderColour,
     "文字底框的边框颜色。\n"
     "单击后在颜色对话框中选择。"},
    {pc::kTextBorderSizeList,
     "文字底框的边框粗细，0 - 9 像素。\n"
     "0 为没有边框。"},
    {pc::kCornerRadiusList,
     "文字底框四个角的半径，0 - 90 像素。\n"
     "0 为直角，数值越大角越圆。"},
    {pc::kPaddingLeftRight,
     "文字与底框左右两边的距离，\n"
     "单位像素，整数 0 - 99。"},
    {pc::kPaddingTopBottom,
     "文字与底框上下两边的距离，\n"
     "单位像素，整数 0 - 99。"},
    {pc::kTextRotation,
     "水印文字的旋转角度，单位度。\n"
     "不能为负数，0 为不旋转。\n"
     "右边的图标可选择常用角度。"},
    {pc::kTextRotationPresets, kRotationPresets},
    {pc::kTextOpacity,
     "水印文字的不透明度，1 - 100。\n"
     "100 为完全不透明，数值越小越透明。"},
    {pc::kTextSizeScale,
     "勾选后文字大小随每张图片的尺寸变化，\n"
     "按图片高或宽的百分比计算，\n"
     "适合尺寸不一的图片。\n"
     "勾选时字号列表不可用。"},
    {pc::kTextSizeScaleBox,
     "文字大小占图片高或宽的百分比。\n"
     "整数 1 - 99，不能为空或 0。"},
    {pc::kTextSizeScaleTypeList, "文字大小按图片的高还是宽计算。"},
    {pc::kTextTiled,
     "勾选后水印文字重复铺满整张图片。\n"
     "重复的间隔由右边的【间距】设置。"},
    {pc::kTextTiledSpacing,
     "平铺时文字之间的间距，\n"
     "0 - 500 像素。"},

    // "图片水印"
    {pc::kImageWatermark,
     "勾选后在图片上添加图片水印，\n"
     "例如公司或网站的标志。\n"
     "不勾选时此组收起。"},
    {pc::kImagePath,
     "水印图片的文件路径。\n"
     "下拉列表中有最近用过的水印图片，\n"
     "单击【选择】可选择其他图片。"},
    {pc::kImageChooseButton,
     "选择水印图片文件，\n"
     "可选 PNG、JPG、GIF 图片。\n"
     "动画 GIF 不能作为水印。"},
    {pc::kImageHorizontalList,
     "水印图片在水平方向的位置：\n"
     "水平距中、左边距或右边距。\n"
     "选择边距后，在右边输入距离。"},
    {pc::kImageHorizontalMargin,
     "水印图片到图片左边或右边的距离，\n"
     "单位像素，整数 0 - 999。\n"
     "水平距中时不可用。"},
    {pc::kImageVerticalList,
     "水印图片在垂直方向的位置：\n"
     "垂直距中、上边距或下边距。\n"
     "选择边距后，在右边输入距离。"},
    {pc::kImageVerticalMargin,
     "水印图片到图片上边或下边的距离，\n"
     "单位像素，整数 0 - 999。\n"
     "垂直距中时不可用。"},
    {pc::kImageRotation,
     "水印图片的旋转角度，单位度。\n"
     "不能为负数，0 为不旋转；\n"
     "旋转后多出的角是透明的。\n"
     "右边的图标可选择常用角度。"},
    {pc::kImageRotationPresets, kRotationPresets},
    {pc::kImageOpacity,
     "水印图片的不透明度，1 - 100。\n"
     "100 为完全不透明，数值越小越透明。"},
    {pc::kImageTiled,
     "勾选后水印图片重复铺满整张图片。\n"
     "重复的间隔由右边的【间距】设置。"},
    {pc::kImageTiledSpacing,
     "平铺时水印图片之间的间距，\n"
     "0 - 500 像素。"},

    // "边框设置"
    {pc::kBorder,
     "勾选后给图片加上边框。\n"
     "位置、大小、颜色和填充在下面设置。\n"
     "不勾选时此组收起。"},
    {pc::kBorderLocationList,
     "外部：边框加在图片外面，图片变大。\n"
     "内部：边框画在图片里面，尺寸不变，\n"
     "图片四周被边框占去相应的宽度。"},
    {pc::kBorderSize, "边框的宽度，1 - 64 像素。"},
    {pc::kBorderColour,
     "边框的颜色。\n"
     "单击后在颜色对话框中选择。"},
    {pc::kBorderPadding,
     "图片与边框之间白色间隔的宽度，\n"
     "0 - 64 像素，0 为没有间隔。"},

    // "其他设置"
    {pc::kLight,
     "勾选后调整图片的亮度，\n"
     "数值由右边的滑块设置。"},
    {pc::kLightSlider,
     "亮度，范围 -100 到 100。\n"
     "正数变亮，负数变暗，0 不变。"},
    {pc::kContrast,
     "勾选后调整图片的对比度，\n"
     "数值由右边的滑块设置。"},
    {pc::kContrastSlider,
     "对比度，范围 -100 到 100。\n"
     "正数增强对比，负数减弱，0 不变。"},
    {pc::kClearly,
     "勾选后调整图片的清晰度，\n"
     "数值由右边的滑块设置。"},
    {pc::kClearlySlider,
     "清晰度，范围 -100 到 100。\n"
     "正数锐化，负数模糊，0 不变。"},
    {pc::kSaturation,
     "勾选后调整图片的饱和度，\n"
     "数值由右边的滑块设置。"},
    {pc::kSaturationSlider,
     "饱和度，范围 -100 到 100。\n"
     "正数颜色更鲜艳，负数更淡，0 不变。"},
    {pc::kBlackAndWhite,
     "把彩色图片转换成黑白（灰度）图片。\n"
     "水印和边框也一起变成黑白。"},
    {pc::kRemoveExif,
     "去除图片中的Exif等附加信息，\n"
     "例如拍照日期、相机型号等。"},
    {pc::kColourSpace,
     "勾选后转换图片的颜色空间。\n"
     "左边选择要转换的图片，\n"
     "右边选择转换后的颜色空间。"},
    {pc::kFromColourSpaceList,
     "要转换哪些图片：\n"
     "CMYK、RGB、sRGB 图片，或全部图片。"},
    {pc::kToColourSpaceList,
     "转换成的颜色空间：CMYK、RGB 或 sRGB。\n"
     "在网页上显示一般用 sRGB。"},
    {pc::kSrgbIcc,
     "转换成 sRGB 或 RGB 颜色空间时，\n"
     "是否使用 sRGB.icc 配置文件。"},
    {pc::kDpi,
     "勾选后设置图片的分辨率(DPI)。\n"
     "不勾选【重新采样】时只改分辨率，\n"
     "图片的像素尺寸不变。"},
    {pc::kDpiBox,
     "每英寸的像素数，整数 1 - 65535。\n"
     "例如印刷常用 300。\n"
     "留空时不改变分辨率。"},
    {pc::kResample,
     "按新的分辨率重新计算像素，\n"
     "图片的像素尺寸会随之改变。\n"
     "不能与【基本设置】的缩放同时勾选。"},

    // "处理后保存到" / "直接覆盖原图"
    {pc::kSaveToFolder,
     "处理后的图片保存到指定的文件夹，\n"
     "原图保持不变。\n"
     "处理后的图片都以 JPG 格式保存。"},
    {pc::kOverwrite,
     "处理后的图片直接替换原图，\n"
     "原图无法恢复，请谨慎使用。\n"
     "文件名不变，内容为【输出格式】选择的格式。"},
    {pc::kSaveFolderBox,
     "处理后的图片保存到这个文件夹。\n"
     "单击【选择】更换文件夹。\n"
     "遇到同名文件时自动加上编号。"},
    {pc::kSaveFolderButton, "选择处理后图片保存的文件夹。"},
    {pc::kKeepStructure,
     "勾选后按添加文件夹时的子文件夹\n"
     "结构保存图片；\n"
     "不勾选时都保存在同一个文件夹。"},
    {pc::kOutputFormatList,
     "处理后图片保存的格式：\n"
     "JPEG（默认）、WebP 或 AVIF。\n"
     "质量和文件大小的设置对三种格式都有效。"},

    {pc::kStartButton,
     "按当前的设置处理列表中的所有图片。\n"
     "开始前会先检查设置是否正确。"},

    // The main window
    {window_control::kPictureList,
     "要处理的图片列表。\n"
     "可添加图片、文件夹，或直接拖入文件。\n"
     "按 Delete 键移除选中的图片，\n"
     "双击图片可预览处理效果。"},
    {window_control::kEffectPreview,
     "按当前设置处理后的效果预览，\n"
     "设置改变后自动刷新。\n"
     "方向键切换图片，Esc 退出预览。\n"
     "图片较大时双击可缩小到适合窗口。"},
};

}  // namespace

std::optional<std::string_view> HelpText(std::string_view control) {
  static const std::unordered_map<std::string_view, std::string_view> kByControl = [] {
    std::unordered_map<std::string_view, std::string_view> map;
    for (const HelpEntry& entry : kHelp) map.emplace(entry.control, entry.text);
    return map;
  }();
  const auto found = kByControl.find(control);
  if (found == kByControl.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string_view> HelpControls() {
  std::vector<std::string_view> controls;
  for (const HelpEntry& entry : kHelp) controls.push_back(entry.control);
  return controls;
}

}  // namespace brindle
