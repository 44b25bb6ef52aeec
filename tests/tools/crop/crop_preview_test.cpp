#include "tools/crop/crop_preview.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "base/info_log.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// True when every channel of the shown pixel is within tolerance of r, g, b.
::testing::AssertionResult Near(const std::shared_ptr<const Pixels8>& shown, long x, long y, int r,
                                int g, int b, int tolerance) {
  const std::uint8_t* pixel =
      &shown->samples[(static_cast<std::size_t>(y) * static_cast<std::size_t>(shown->width) +
                       static_cast<std::size_t>(x)) *
                      3];
  const int wanted[3] = {r, g, b};
  for (int i = 0; i < 3; ++i) {
    if (std::abs(pixel[i] - wanted[i]) > tolerance) {
      return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << int{pixel[0]}
                                           << "," << int{pixel[1]} << "," << int{pixel[2]};
    }
  }
  return ::testing::AssertionSuccess();
}

class CropPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    job.save_mode = CropSaveMode::kToFolder;
    job.settings.picture_list_source = true;
    job.settings.fixed_width = 100;
    job.settings.fixed_height = 50;
  }
  CropPreview Preview(const std::vector<fs::path>& list, int index = 0, bool forward = true) {
    return GenerateCropPreview(job, list, index, forward, ReadyStatus());
  }
  TempFolder folder;
  CropJob job;
};

TEST_F(CropPreviewTest, DarkensWhatIsCutAwayAndFramesWhatIsKept) {
  test::WriteSolid(folder / "a.png", 200, 100, "#3080C0");
  CropPreview preview = Preview({folder / "a.png"});
  ASSERT_TRUE(preview.shown);
  EXPECT_FALSE(preview.message);
  const std::shared_ptr<const Pixels8>& shown = preview.shown;
  EXPECT_EQ(shown->width, 200);
  EXPECT_EQ(shown->height, 100);
  EXPECT_EQ(preview.status, (CropStatusTexts{"原图尺寸: 200 x 100", "裁剪后图片尺寸: 100 x 50",
                                             "图片: " + (folder / "a.png").string()}));
  // The 100 × 50 rectangle at (50, 25), framed: the frame's corner sits at the rectangle's
  // offsets, the picture one pixel inside it; around it the picture much darker. The kept part
  // went through the JPEG encoding of the run, the whole through the pane's.
  EXPECT_TRUE(Near(shown, 10, 10, 0, 0, 38, 8));
  // (A line one pixel wide keeps less of its colour through the pane's JPEG.)
  EXPECT_TRUE(Near(shown, 50, 25, 204, 204, 204, 24));
  EXPECT_TRUE(Near(shown, 151, 76, 204, 204, 204, 24));
  EXPECT_TRUE(Near(shown, 100, 50, 48, 128, 192, 6));
  EXPECT_TRUE(Near(shown, 152, 77, 0, 0, 38, 8));
}

// The maker keeps the picture it read between previews and encodes for the pane only the part
// round the framed rectangle: each preview must still equal a fresh one made whole, to the pixel,
// and a changed file is read again.
TEST_F(CropPreviewTest, TheKeptPictureGivesWhatAFreshPreviewGives) {
  test::WriteJpeg(folder / "photo.jpg", 640, 400, 88);  // 4:2:0, noisy
  test::WriteSolid(folder / "a.png", 200, 100, "#3080C0");
  CropPreviewMaker maker;
  for (const char* name : {"photo.jpg", "a.png"}) {
    const std::vector<fs::path> list = {folder / name};
    for (int align : {kCropTopLeft, kCropBottomRight, kCropCentre}) {
      for (int width : {100, 37, 199}) {
        job.settings.align = align;
        job.settings.fixed_width = width;
        CropPreview kept = maker.Generate(job, list, 0, true, ReadyStatus());
        CropPreview fresh = Preview(list);
        ASSERT_TRUE(kept.shown && fresh.shown);
        EXPECT_EQ(kept.status, fresh.status);
        EXPECT_TRUE(kept.shown->samples == fresh.shown->samples)
            << name << " align " << align << " width " << width;
      }
    }
  }

  const std::vector<fs::path> list = {folder / "a.png"};
  test::WriteSolid(folder / "a.png", 300, 100, "#3080C0");
  fs::last_write_time(folder / "a.png",
                      fs::last_write_time(folder / "a.png") + std::chrono::seconds(2));
  EXPECT_EQ(maker.Generate(job, list, 0, true, ReadyStatus()).status[0], "原图尺寸: 300 x 100");
}

TEST_F(CropPreviewTest, TransparencyShowsAsCheckerboardUnlessTheOutputLosesIt) {
  test::WriteHalfTransparentPng(folder / "t.png", 40, 20);
  job.settings.fixed_width = 40;  // the whole picture: no frame fits
  job.save_mode = CropSaveMode::kOverwrite;
  CropPreview kept = Preview({folder / "t.png"});
  ASSERT_TRUE(kept.shown);
  EXPECT_TRUE(Near(kept.shown, 1, 1, 255, 255, 255, 12));
  EXPECT_TRUE(Near(kept.shown, 9, 1, 204, 204, 204, 12));
  EXPECT_TRUE(Near(kept.shown, 9, 9, 255, 255, 255, 12));
  EXPECT_TRUE(Near(kept.shown, 30, 10, 0, 0, 255, 12));

  job.save_mode = CropSaveMode::kToFolder;
  job.settings.format = ToolOutputFormat::kPng;
  job.settings.transparent = false;
  CropPreview flat = Preview({folder / "t.png"});
  ASSERT_TRUE(flat.shown);
  EXPECT_TRUE(Near(flat.shown, 9, 1, 255, 255, 255, 12));

  // PNG-8 of two colours keeps the blue.
  job.settings.transparent = true;
  job.settings.png8 = true;
  job.settings.png8_color_count = 2;
  CropPreview png8 = Preview({folder / "t.png"});
  ASSERT_TRUE(png8.shown);
  EXPECT_FALSE(png8.message);
  EXPECT_TRUE(Near(png8.shown, 30, 10, 0, 0, 255, 12));
}

TEST_F(CropPreviewTest, TakesTheNextPictureThatCanBeCropped) {
  test::WriteFile(folder / "broken.jpg", "not a picture");
  test::WriteAnimatedGif(folder / "anim.gif", 20, 20);
  test::WriteSolid(folder / "good.png", 20, 20, "#808080");
  const std::vector<fs::path> list = {folder / "broken.jpg", folder / "anim.gif",
                                      folder / "good.png"};
  CropPreview forward = Preview(list, 7);  // outside the list: from the first
  EXPECT_EQ(forward.current_index, 2);
  EXPECT_EQ(InfoLog::Global().Text(), "无法识别的图片:\r\n" + (folder / "broken.jpg").string() +
                                          "\r\n\r\n不支持裁剪动态gif图片:\r\n" +
                                          (folder / "anim.gif").string() + "\r\n\r\n");
  EXPECT_EQ(Preview(list, 1, /*forward=*/false).current_index, 2);  // 1, 0, then round to 2

  const std::vector<fs::path> bad(list.begin(), list.begin() + 2);
  CropPreview none = GenerateCropPreview(job, bad, 0, true, {"原图尺寸: 1 x 1", "x", "y"});
  ASSERT_TRUE(none.shown);
  EXPECT_EQ(none.shown->width, 1);
  EXPECT_EQ(none.shown->samples, (std::vector<std::uint8_t>{255, 255, 255}));
  EXPECT_EQ(none.status, (CropStatusTexts{"原图尺寸: 1 x 1", "生成预览图片...", "y"}));
  EXPECT_EQ(none.message, (RunMessage{"没有找到需要裁剪的图片！", "预览", MessageIcon::kWarning}));
  job.settings.picture_list_source = false;
  job.source_folder = folder.path();
  EXPECT_EQ(Preview(bad).message->text,
            "在文件夹 " + folder.path().string() + " 中没有找到需要裁剪的图片！");

  CropPreview empty = Preview({});
  EXPECT_FALSE(empty.shown);
  EXPECT_EQ(empty.status, ReadyStatus());
}

TEST_F(CropPreviewTest, PreviewListTakesAtMost32AndArrowsGoRound) {
  test::WriteSolid(folder / "seed.png", 4, 4, "#808080");
  const std::string bytes = test::ReadFile(folder / "seed.png");
  fs::remove(folder / "seed.png");
  fs::create_directories(folder / "many");
  for (int i = 0; i < 40; ++i)
    test::WriteFile(folder / "many" / (std::to_string(100 + i) + ".png"), bytes);
  fs::create_directories(folder / "few/sub");
  test::WriteFile(folder / "few/a.png", bytes);
  test::WriteFile(folder / "few/b.tif", bytes);
  test::WriteFile(folder / "few/sub/c.JPG", bytes);

  job.settings.picture_list_source = false;
  job.include_sub_folders = true;
  job.source_folder = folder / "many";
  std::vector<fs::path> many = CropPreviewList(job).paths;
  ASSERT_EQ(many.size(), 32u);
  EXPECT_EQ(many.front(), folder / "many/100.png");
  EXPECT_EQ(many.back(), folder / "many/131.png");

  job.source_folder = folder / "few";
  EXPECT_EQ(CropPreviewList(job).paths,
            (std::vector<fs::path>{folder / "few/a.png", folder / "few/sub/c.JPG"}));
  job.include_sub_folders = false;
  EXPECT_EQ(CropPreviewList(job).paths, (std::vector<fs::path>{folder / "few/a.png"}));

  EXPECT_EQ(SteppedPreviewIndex(31, 32, true), 0);
  EXPECT_EQ(SteppedPreviewIndex(0, 32, false), 31);
  EXPECT_EQ(SteppedPreviewIndex(4, 32, true), 5);
  EXPECT_EQ(SteppedPreviewIndex(4, 32, false), 3);
}

}  // namespace
}  // namespace brindle
