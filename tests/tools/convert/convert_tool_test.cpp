#include "tools/convert/convert_tool.h"

#include <gtest/gtest.h>
#include "base/info_log.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class ConvertToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    source = folder / "src";
    out = folder / "out";
    fs::create_directory(source);
    job.source_folder = source;
    job.output_folder = out;
    job.settings.load_format_option = 0x7FF;
  }

  RunOutcome Run() { return RunConvertJob(job, observer, stop); }

  TempFolder folder;
  fs::path source;
  fs::path out;
  ConvertJob job;
  RunObserver observer;
  std::atomic<bool> stop{false};
};

TEST_F(ConvertToolTest, JpegQualityIsNeverRaised) {
  test::WriteJpeg(source / "photo.jpg", 120, 80, 80);
  job.settings.quality = 90;
  ASSERT_EQ(Run().end, RunEnd::kCompleted);
  EXPECT_EQ(MagickGetImageCompressionQuality(test::ReadBack(out / "photo.jpg").get()), 80u);

  job.output_folder = folder / "out70";
  job.settings.quality = 70;
  ASSERT_EQ(Run().end, RunEnd::kCompleted);
  EXPECT_EQ(MagickGetImageCompressionQuality(test::ReadBack(folder / "out70/photo.jpg").get()),
            70u);
}

TEST_F(ConvertToolTest, OtherSourcesTakeTheSliderQuality) {
  test::WritePicture(source / "a.png", 60, 40, "PNG");
  job.settings.quality = 95;
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr back = test::ReadBack(out / "a.jpg");
  EXPECT_EQ(MagickGetImageCompressionQuality(back.get()), 95u);
  MagickTextPtr format(MagickGetImageFormat(back.get()));
  EXPECT_STREQ(format.get(), "JPEG");
}

TEST_F(ConvertToolTest, SameNameFromTwoFormatsIsNumbered) {
  test::WritePicture(source / "x.png", 40, 20, "PNG");
  test::WritePicture(source / "x.gif", 30, 20, "GIF");
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(test::FilesIn(out), (std::vector<std::string>{"x(2).jpg", "x.jpg"}));
  // x.gif comes before x.png in the scan, so it has the plain name.
  EXPECT_EQ(MagickGetImageWidth(test::ReadBack(out / "x.jpg").get()), 30u);
  EXPECT_EQ(MagickGetImageWidth(test::ReadBack(out / "x(2).jpg").get()), 40u);
  EXPECT_EQ(outcome.folder_to_open, out);
}

TEST_F(ConvertToolTest, KeepExtensionNames) {
  job.settings.keep_extension = true;
  fs::create_directory(source / "sub");
  test::WritePicture(source / "123.bmp", 30, 20, "BMP");
  test::WritePicture(source / "sub/123.bmp", 30, 20, "BMP");
  test::WriteJpeg(source / "photo.JPG", 30, 20, 85);
  job.include_sub_folders = true;
  ASSERT_EQ(Run().written, 3);
  EXPECT_EQ(test::FilesIn(out),
            (std::vector<std::string>{"123.bmp.jpg", "photo.JPG", "sub/123.bmp.jpg"}));

  // A second run into the same folder finds the names taken.
  ASSERT_EQ(Run().written, 3);
  EXPECT_EQ(test::FilesIn(out),
            (std::vector<std::string>{"123.bmp(2).jpg", "123.bmp.jpg", "photo(2).jpg", "photo.JPG",
                                      "sub/123.bmp(2).jpg", "sub/123.bmp.jpg"}));

  job.settings.format = ToolOutputFormat::kPng;
  job.output_folder = folder / "png";
  job.include_sub_folders = false;
  ASSERT_EQ(Run().written, 2);
  EXPECT_EQ(test::FilesIn(folder / "png"),
            (std::vector<std::string>{"123.bmp.png", "photo.JPG.png"}));
}

TEST_F(ConvertToolTest, TargetNames) {
  ConvertRunSettings jpg = ConvertRunSettingsOf(ConvertToolSettings{});
  EXPECT_EQ(ConvertTargetPath(folder.path(), "a.b.png", jpg), folder / "a.b.jpg");
  fs::create_directory(folder / "a.b.jpg");  // a folder of that name counts as taken
  EXPECT_EQ(ConvertTargetPath(folder.path(), "a.b.png", jpg), folder / "a.b(2).jpg");
  test::WriteFile(folder / "a.b(2).jpg", "");
  EXPECT_EQ(ConvertTargetPath(folder.path(), "a.b.png", jpg), folder / "a.b(3).jpg");
}

TEST_F(ConvertToolTest, MaskChoosesTheFiles) {
  test::WritePicture(source / "a.webp", 30, 20, "WEBP");
  test::WritePicture(source / "b.png", 30, 20, "PNG");
  test::WritePicture(source / "c.jpg", 30, 20, "JPEG");
  test::WritePicture(source / "d.heic", 30, 20, "PNG");  // read by what it holds, once taken
  job.settings.load_format_option = kLoadWebp;
  ASSERT_EQ(Run().written, 1);
  EXPECT_EQ(test::FilesIn(out), (std::vector<std::string>{"a.jpg"}));

  job.settings.load_format_option = 0xFFFFFFFFu;
  job.output_folder = folder / "all";
  ASSERT_EQ(Run().written, 4);
  EXPECT_EQ(test::FilesIn(folder / "all"),
            (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
}

TEST_F(ConvertToolTest, TransparencyKeptOnlyInPngWithTransparencyTicked) {
  test::WriteHalfTransparentPng(source / "t.png", 40, 20);
  job.settings.format = ToolOutputFormat::kPng;
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr kept = test::ReadBack(out / "t.png");
  EXPECT_EQ(test::AlphaAt(kept.get(), 5, 10), 0);
  EXPECT_EQ(test::PixelAt(kept.get(), 35, 10), "0,0,255,255");

  job.settings.transparent = false;
  job.output_folder = folder / "flat";
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr flat = test::ReadBack(folder / "flat/t.png");
  EXPECT_EQ(MagickGetImageAlphaChannel(flat.get()), MagickFalse);
  EXPECT_EQ(test::PixelAt(flat.get(), 5, 10), "255,255,255,255");
  EXPECT_EQ(test::PixelAt(flat.get(), 35, 10), "0,0,255,255");

  job.settings.format = ToolOutputFormat::kJpg;
  job.settings.transparent = true;
  job.output_folder = folder / "jpg";
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr jpg = test::ReadBack(folder / "jpg/t.jpg");
  EXPECT_EQ(test::PixelAt(jpg.get(), 5, 10), "255,255,255,255");
}

TEST_F(ConvertToolTest, Png8WithTheChosenColourCount) {
  test::WritePicture(source / "photo.jpg", 120, 90, "JPEG");
  job.settings.format = ToolOutputFormat::kPng;
  job.settings.png8 = true;
  job.settings.png8_color_count = 16;
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr back = test::ReadBack(out / "photo.png");
  EXPECT_LE(MagickGetImageColors(back.get()), 16u);
  EXPECT_EQ(MagickGetImageType(back.get()), PaletteType);

  ConvertToolSettings jpg_with_png8 = job.settings;
  jpg_with_png8.format = ToolOutputFormat::kJpg;
  ConvertRunSettings run = ConvertRunSettingsOf(jpg_with_png8);
  EXPECT_FALSE(run.png8);
  EXPECT_FALSE(run.keep_transparency);
  EXPECT_EQ(run.color_count, 256);
  EXPECT_EQ(run.extension, ".jpg");
}

TEST_F(ConvertToolTest, AnimatedGifGivesItsFirstFrame) {
  test::WriteAnimatedGif(source / "anim.gif", 20, 10);
  job.settings.format = ToolOutputFormat::kPng;
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr back = test::ReadBack(out / "anim.png");
  EXPECT_EQ(MagickGetNumberImages(back.get()), 1u);
  EXPECT_EQ(test::PixelAt(back.get(), 5, 5), "255,0,0,255");
}

TEST_F(ConvertToolTest, MissingResolutionBecomes72Dpi) {
  test::WritePicture(source / "none.png", 30, 20, "PNG");
  MagickWandPtr with = test::MakePicture(30, 20, "PNG");
  MagickSetImageUnits(with.get(), PixelsPerInchResolution);
  MagickSetImageResolution(with.get(), 300, 300);
  std::string error;
  ASSERT_TRUE(WritePictureFile(with.get(), source / "with.png", &error)) << error;
  ASSERT_EQ(Run().written, 2);
  double x = 0, y = 0;
  MagickWandPtr none = test::ReadBack(out / "none.jpg");
  MagickGetImageResolution(none.get(), &x, &y);
  EXPECT_DOUBLE_EQ(x, 72);
  EXPECT_DOUBLE_EQ(y, 72);
  EXPECT_EQ(MagickGetImageUnits(none.get()), PixelsPerInchResolution);
  // PNG keeps resolutions per centimetre, and so does the JPEG made from it.
  MagickWandPtr kept = test::ReadBack(out / "with.jpg");
  MagickGetImageResolution(kept.get(), &x, &y);
  ASSERT_EQ(MagickGetImageUnits(kept.get()), PixelsPerCentimeterResolution);
  EXPECT_NEAR(x * 2.54, 300, 0.5);
}

TEST_F(ConvertToolTest, UnreadablePictureIsLoggedAndSkipped) {
  test::WriteFile(source / "broken.jpg", "not a picture");
  test::WritePicture(source / "good.png", 30, 20, "PNG");
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(InfoLog::Global().Text(),
            "图片读取失败:\r\n" + (source / "broken.jpg").string() + "\r\n\r\n");
}

// Takes the output folder away when the second picture is taken, so that its write fails.
class FolderRemover : public RunObserver {
 public:
  explicit FolderRemover(fs::path folder) : folder_(std::move(folder)) {}
  void OnPictureStarted(int index, int) override {
    if (index == 1) fs::rename(folder_, folder_.string() + ".gone");
  }

 private:
  fs::path folder_;
};

TEST_F(ConvertToolTest, FailedWriteStopsTheRunAndKeepsWhatWasWritten) {
  test::WritePicture(source / "a.png", 20, 20, "PNG");
  test::WritePicture(source / "b.png", 20, 20, "PNG");
  test::WritePicture(source / "c.png", 20, 20, "PNG");
  job.settings.format = ToolOutputFormat::kPng;
  FolderRemover remover(out);
  RunOutcome outcome = RunConvertJob(job, remover, stop);
  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(test::FilesIn(out.string() + ".gone"), (std::vector<std::string>{"a.png"}));
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text,
            "MagickWriteImage() 发生错误：\n\nNo such file or directory\n\n目标文件名：" +
                (out / "b.png").string() + "\n\n请检查内存或硬盘空间是否用完。");
  EXPECT_EQ(outcome.message->caption, "错误");
  EXPECT_EQ(outcome.message->icon, MessageIcon::kError);

  // A failed PNG-8 write has its own message, and its reason in the log.
  job.settings.png8 = true;
  job.output_folder = folder / "png8";
  FolderRemover png8_remover(job.output_folder);
  outcome = RunConvertJob(job, png8_remover, stop);
  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text,
            "保存图片时发生错误，请检查硬盘空间是否用完。\n\n目标文件名：\n" +
                (folder / "png8/b.png").string());
  EXPECT_NE(InfoLog::Global().Text().find("fopen('" + (folder / "png8/b.png").string() +
                                          "') error: 2(No such file or directory)"),
            std::string::npos);
}

TEST_F(ConvertToolTest, AnEncodeTheImageLibraryRefusesStopsTheRunWithItsReasonAndWritesNothing) {
  // Readable, but wider than a JPEG can be: the encoder refuses it.
  test::WriteSolid(source / "a.png", 65501, 2, "#336699");
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  EXPECT_EQ(outcome.written, 0);
  ASSERT_TRUE(outcome.message);
  const std::string& text = outcome.message->text;
  EXPECT_EQ(text.rfind("MagickWriteImage() 发生错误：\n\n", 0), 0u) << text;
  EXPECT_NE(text.find("65500"), std::string::npos) << text;  // ImageMagick's own reason
  EXPECT_NE(text.find("目标文件名：" + (out / "a.jpg").string()), std::string::npos) << text;
  EXPECT_TRUE(test::FilesIn(out).empty());
}

TEST_F(ConvertToolTest, StartValidation) {
  ConvertJob empty;
  std::optional<Refusal> refusal = ValidateConvertStart(empty);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->hint_text, "源图片文件夹不能为空");

  job.settings.load_format_option = 0;
  refusal = ValidateConvertStart(job);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->control, kLoadFormatLabel);
  EXPECT_EQ(refusal->hint_title, "请选择");
  EXPECT_EQ(refusal->hint_text, "原格式请至少选择一项");
  EXPECT_EQ(refusal->icon, MessageIcon::kWarning);
  EXPECT_FALSE(refusal->take_focus);

  job.settings.load_format_option = kLoadHeic;  // a bit is ticked, even if it selects no file
  EXPECT_FALSE(ValidateConvertStart(job));
}

}  // namespace
}  // namespace brindle
