#include "run/preview/effect_preview.h"

#include <gtest/gtest.h>

#include <chrono>

#include "base/info_log.h"
#include "engine/process/process_picture.h"
#include "engine/read/picture_info.h"
#include "recipe/options_file.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

class EffectPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    recipe_.options = InitialProcessingOptions();
  }

  fs::path Source(const std::string& name, size_t width, size_t height, const char* format) {
    fs::path path = folder_.path() / name;
    test::WritePicture(path, width, height, format);
    return path;
  }

  // The shown picture decoded again.
  static MagickWandPtr Decode(const EffectPreview& preview) {
    MagickWandPtr wand = MakeMagickWand();
    EXPECT_TRUE(ReadPictureBytes(wand.get(), preview.display_jpeg, nullptr));
    return wand;
  }

  test::TempFolder folder_;
  RunRecipe recipe_;
};

TEST_F(EffectPreviewTest, ShowsTheProcessedPictureAndBothStatusTexts) {
  fs::path source = Source("photo.jpg", 400, 300, "JPEG");
  recipe_.options.bSize = 1;
  recipe_.options.sizeValue = 200;
  std::optional<EffectPreview> preview = MakeEffectPreview(recipe_, source, 0, 90);
  ASSERT_TRUE(preview) << InfoLog::Global().Text();

  // Turned a quarter, then 200 wide.
  EXPECT_EQ(preview->width, 200);
  EXPECT_EQ(preview->height, 267);
  MagickWandPtr shown = Decode(*preview);
  EXPECT_EQ(MagickGetImageWidth(shown.get()), 200u);
  EXPECT_EQ(MagickGetImageHeight(shown.get()), 267u);
  EXPECT_EQ(preview->result_length, preview->display_jpeg.size());

  EXPECT_EQ(preview->source_status,
            "原图" + FormatPictureInfo(400, 300, "JPEG",
                                       static_cast<std::int64_t>(fs::file_size(source))));
  EXPECT_EQ(preview->result_status, ResultStatusText(200, 267, preview->result_length));
  EXPECT_EQ(preview->result_status.rfind("处理后图片尺寸: 200 x 267, 类型: JPEG 图片, 大小: ", 0),
            0u);
  // Nothing is written beside the source.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 1);
  EXPECT_EQ(InfoLog::Global().Text(), "");
}

TEST_F(EffectPreviewTest, LengthIsThatOfTheSavedFile) {
  fs::path source = Source("big.png", 1200, 900, "PNG");
  std::optional<EffectPreview> free_size = MakeEffectPreview(recipe_, source, 0, 0);
  ASSERT_TRUE(free_size);

  recipe_.options.bQuanlity = 1;
  recipe_.options.qualityMode = QualityMode::kMaxFileSize;
  recipe_.options.maxFileSize = 40;
  std::optional<EffectPreview> limited = MakeEffectPreview(recipe_, source, 0, 0);
  ASSERT_TRUE(limited);
  EXPECT_LE(limited->result_length, 40u * 1024u);
  EXPECT_LT(limited->result_length, free_size->result_length);

  // The same recipe written by the pipeline gives a file of exactly that length.
  fs::path written = folder_.path() / "written.jpg";
  ASSERT_EQ(ProcessPicture(recipe_, source, written, 0, 0).outcome, ProcessOutcome::kWritten);
  EXPECT_EQ(fs::file_size(written), limited->result_length);
}

TEST_F(EffectPreviewTest, CmykResultIsShownInRgbButMeasuredAsCmyk) {
  fs::path source = Source("c.png", 160, 120, "PNG");
  recipe_.options.bColorspaceTo = 1;
  recipe_.options.fromColorspace = ColorspaceChoice::kAll;
  recipe_.options.toColorspace = ColorspaceChoice::kCmyk;
  std::optional<EffectPreview> preview = MakeEffectPreview(recipe_, source, 0, 0);
  ASSERT_TRUE(preview) << InfoLog::Global().Text();

  MagickWandPtr shown = Decode(*preview);
  EXPECT_NE(MagickGetImageColorspace(shown.get()), CMYKColorspace);
  // The colours come back close to the source's, not darkened or inverted.
  MagickWandPtr original = MakeMagickWand();
  ASSERT_TRUE(ReadPictureFile(original.get(), source, nullptr));
  double shown_mean = 0, original_mean = 0, deviation = 0;
  MagickGetImageChannelMean(shown.get(), RedChannel, &shown_mean, &deviation);
  MagickGetImageChannelMean(original.get(), RedChannel, &original_mean, &deviation);
  EXPECT_NEAR(shown_mean / QuantumRange, original_mean / QuantumRange, 0.08);
  EXPECT_NE(preview->result_length, preview->display_jpeg.size());

  // The CMYK file the batch would write has the length reported.
  fs::path written = folder_.path() / "written.jpg";
  ASSERT_EQ(ProcessPicture(recipe_, source, written, 0, 0).outcome, ProcessOutcome::kWritten);
  EXPECT_EQ(fs::file_size(written), preview->result_length);
}

// The maker keeps the decoded picture between refreshes; every refresh must still equal a preview
// made from the file, and the kept picture goes when the file or the decoding changes.
TEST_F(EffectPreviewTest, RefreshFromTheKeptPictureEqualsAFreshPreview) {
  fs::path source = Source("photo.jpg", 800, 600, "JPEG");
  EffectPreviewMaker maker;
  ASSERT_TRUE(maker.Make(recipe_, source, 0, 0));
  EXPECT_TRUE(maker.keeps(source));

  recipe_.options.bLight = 1;
  recipe_.options.lightValue = 30;
  std::optional<EffectPreview> brighter = maker.Make(recipe_, source, 0, 90);
  ASSERT_TRUE(brighter);
  EXPECT_EQ(brighter->display_jpeg, MakeEffectPreview(recipe_, source, 0, 90)->display_jpeg);
  EXPECT_EQ(brighter->width, 600);

  // A resize to a quarter decodes the JPEG smaller: the kept full picture is not used for it.
  recipe_.options.bSize = 1;
  recipe_.options.sizeValue = 200;
  std::optional<EffectPreview> small = maker.Make(recipe_, source, 0, 0);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->display_jpeg, MakeEffectPreview(recipe_, source, 0, 0)->display_jpeg);
  EXPECT_EQ(small->height, 150);

  // The file replaced by another picture: the new one is shown.
  test::WritePicture(source, 400, 400, "JPEG");
  fs::last_write_time(source, fs::last_write_time(source) + std::chrono::seconds(2));
  std::optional<EffectPreview> replaced = maker.Make(recipe_, source, 0, 0);
  ASSERT_TRUE(replaced);
  EXPECT_EQ(replaced->height, 200);

  maker.Forget();
  EXPECT_FALSE(maker.keeps(source));
  EXPECT_EQ(InfoLog::Global().Text(), "");
}

TEST_F(EffectPreviewTest, RefusedPictureGivesNoPreviewAndOneLogLine) {
  fs::path broken = folder_.path() / "broken.jpg";
  test::WriteFile(broken, "not a picture at all");
  EXPECT_FALSE(MakeEffectPreview(recipe_, broken, 0, 0));
  EXPECT_NE(InfoLog::Global().Text().find(broken.string()), std::string::npos);
}

TEST(EffectPreviewStatus, SizeFormsChangeAtKilobyteAndMegabyte) {
  EXPECT_EQ(ResultStatusText(10, 20, 1023),
            "处理后图片尺寸: 10 x 20, 类型: JPEG 图片, 大小: 1023 字节");
  EXPECT_EQ(ResultStatusText(10, 20, 1024),
            "处理后图片尺寸: 10 x 20, 类型: JPEG 图片, 大小: 1.0 KB");
  EXPECT_EQ(ResultStatusText(10, 20, 1048576),
            "处理后图片尺寸: 10 x 20, 类型: JPEG 图片, 大小: 1.0 MB");
}

}  // namespace
}  // namespace brindle
