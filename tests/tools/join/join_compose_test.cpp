#include "tools/join/join_compose.h"

#include <gtest/gtest.h>

#include "base/info_log.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::AlphaAt;
using test::PixelAt;

class JoinComposeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
  }
  test::TempFolder folder_;
};

TEST_F(JoinComposeTest, VerticalFirstPictureWidthShrinksWiderAndCentresNarrower) {
  test::WriteSolid(folder_ / "a.png", 800, 100, "#ff0000");
  test::WriteSolid(folder_ / "b.png", 1000, 200, "#00ff00");
  test::WriteSolid(folder_ / "c.png", 600, 100, "#0000ff");
  JoinToolSettings settings;  // vertical, first picture
  JoinedPicture joined =
      composeJoinedPicture({folder_ / "a.png", folder_ / "b.png", folder_ / "c.png"}, settings);
  ASSERT_TRUE(joined.wand);
  MagickWand* wand = joined.wand.get();
  EXPECT_EQ(MagickGetImageWidth(wand), 800u);
  EXPECT_EQ(MagickGetImageHeight(wand), 100u + 160u + 100u);  // 1000 × 200 became 800 × 160
  EXPECT_EQ(PixelAt(wand, 0, 0), "255,0,0,255");
  EXPECT_EQ(PixelAt(wand, 0, 180), "0,255,0,255");
  EXPECT_EQ(PixelAt(wand, 799, 180), "0,255,0,255");
  // The 600-wide picture stays 600 wide at x = 100; the canvas stays transparent beside it.
  EXPECT_EQ(AlphaAt(wand, 99, 300), 0);
  EXPECT_EQ(PixelAt(wand, 100, 300), "0,0,255,255");
  EXPECT_EQ(PixelAt(wand, 699, 300), "0,0,255,255");
  EXPECT_EQ(AlphaAt(wand, 700, 300), 0);
  EXPECT_EQ(joined.troubled, 0);
}

TEST_F(JoinComposeTest, SpacingLiesBetweenNeighboursOnly) {
  test::WriteSolid(folder_ / "a.png", 50, 100, "#ff0000");
  test::WriteSolid(folder_ / "b.png", 50, 200, "#00ff00");
  test::WriteSolid(folder_ / "c.png", 50, 300, "#0000ff");
  JoinToolSettings settings;
  settings.space = 10;
  JoinedPicture joined =
      composeJoinedPicture({folder_ / "a.png", folder_ / "b.png", folder_ / "c.png"}, settings);
  ASSERT_TRUE(joined.wand);
  MagickWand* wand = joined.wand.get();
  EXPECT_EQ(MagickGetImageHeight(wand), 620u);
  EXPECT_EQ(PixelAt(wand, 25, 0), "255,0,0,255");
  EXPECT_EQ(PixelAt(wand, 25, 99), "255,0,0,255");
  EXPECT_EQ(AlphaAt(wand, 25, 100), 0);
  EXPECT_EQ(AlphaAt(wand, 25, 109), 0);
  EXPECT_EQ(PixelAt(wand, 25, 110), "0,255,0,255");
  EXPECT_EQ(PixelAt(wand, 25, 309), "0,255,0,255");
  EXPECT_EQ(AlphaAt(wand, 25, 319), 0);
  EXPECT_EQ(PixelAt(wand, 25, 320), "0,0,255,255");
  EXPECT_EQ(PixelAt(wand, 25, 619), "0,0,255,255");
}

TEST_F(JoinComposeTest, HorizontalTallestHeightWithCustomAndSmallestPolicies) {
  test::WriteSolid(folder_ / "a.png", 40, 100, "#ff0000");
  test::WriteSolid(folder_ / "b.png", 30, 50, "#00ff00");
  JoinToolSettings settings;
  settings.layout = JoinLayout::kHorizontal;
  settings.side_policy = JoinSidePolicy::kLargest;
  settings.space = 5;
  const std::vector<fs::path> pictures = {folder_ / "a.png", folder_ / "b.png"};
  JoinedPicture joined = composeJoinedPicture(pictures, settings);
  ASSERT_TRUE(joined.wand);
  EXPECT_EQ(MagickGetImageWidth(joined.wand.get()), 75u);
  EXPECT_EQ(MagickGetImageHeight(joined.wand.get()), 100u);
  EXPECT_EQ(AlphaAt(joined.wand.get(), 60, 24), 0);  // centred: y = 25
  EXPECT_EQ(PixelAt(joined.wand.get(), 45, 25), "0,255,0,255");
  EXPECT_EQ(PixelAt(joined.wand.get(), 74, 74), "0,255,0,255");

  settings.side_policy = JoinSidePolicy::kSmallest;  // 40 × 100 becomes 20 × 50
  joined = composeJoinedPicture(pictures, settings);
  EXPECT_EQ(MagickGetImageWidth(joined.wand.get()), 20u + 5u + 30u);
  EXPECT_EQ(MagickGetImageHeight(joined.wand.get()), 50u);

  settings.side_policy = JoinSidePolicy::kCustom;  // an empty box gives 128: nothing is enlarged
  joined = composeJoinedPicture(pictures, settings);
  EXPECT_EQ(MagickGetImageWidth(joined.wand.get()), 75u);
  EXPECT_EQ(MagickGetImageHeight(joined.wand.get()), 128u);
  EXPECT_EQ(PixelAt(joined.wand.get(), 0, 14), "255,0,0,255");  // (128 − 100) / 2
}

TEST_F(JoinComposeTest, BadPicturesAreLoggedAndLeaveTheirSpaceOrNothing) {
  test::WriteSolid(folder_ / "a.png", 20, 10, "#ff0000");
  test::WriteFile(folder_ / "noise.png", "not a picture at all");
  test::WriteSolid(folder_ / "b.png", 20, 10, "#0000ff");
  // A PNG header that promises 20 × 30 over data that cannot be decoded.
  test::WriteSolid(folder_ / "tall.png", 20, 30, "#00ff00");
  test::WriteFile(folder_ / "cut.png", test::ReadFile(folder_ / "tall.png").substr(0, 40));

  JoinToolSettings settings;
  JoinedPicture joined = composeJoinedPicture(
      {folder_ / "a.png", folder_ / "noise.png", folder_ / "cut.png", folder_ / "b.png"}, settings);
  ASSERT_TRUE(joined.wand);
  // The cut picture's header counted 30 rows; decoded pictures close up and leave them empty at
  // the end.
  EXPECT_EQ(MagickGetImageHeight(joined.wand.get()), 50u);
  EXPECT_EQ(PixelAt(joined.wand.get(), 0, 10), "0,0,255,255");
  EXPECT_EQ(AlphaAt(joined.wand.get(), 0, 20), 0);
  EXPECT_EQ(joined.troubled, 2);
  // One line for each bad picture: one whose size was not read is not decoded again.
  EXPECT_EQ(InfoLog::Global().Text(), "无法获取图片的尺寸:\r\n" + (folder_ / "noise.png").string() +
                                          "\r\n\r\n" + "无法识别的图片:\r\n" +
                                          (folder_ / "cut.png").string() + "\r\n\r\n");

  // Nothing composed from fewer than two pictures.
  EXPECT_FALSE(composeJoinedPicture({folder_ / "a.png"}, settings).wand);
}

// A JPEG with a stray byte between two segments: the decoder reads past it with a warning, the
// header reader does not. It takes no part in the join, and the pictures after it keep their room.
TEST_F(JoinComposeTest, APictureWithoutSizeDoesNotPushTheOthersOffTheCanvas) {
  test::WriteSolid(folder_ / "a.png", 100, 50, "#ff0000");
  test::WriteSolid(folder_ / "c.png", 100, 50, "#0000ff");
  test::WriteSolid(folder_ / "g.jpg", 100, 50, "#00ff00", "JPEG");
  std::string jpeg = test::ReadFile(folder_ / "g.jpg");
  const std::size_t first_segment_end =
      4 + ((static_cast<unsigned char>(jpeg[4]) << 8) | static_cast<unsigned char>(jpeg[5]));
  jpeg.insert(first_segment_end, 1, '\0');
  test::WriteFile(folder_ / "gap.jpg", jpeg);
  MagickWandPtr decoded = MakeMagickWand();
  ASSERT_TRUE(ReadPictureFile(decoded.get(), folder_ / "gap.jpg", nullptr));

  JoinedPicture joined = composeJoinedPicture(
      {folder_ / "a.png", folder_ / "gap.jpg", folder_ / "c.png"}, JoinToolSettings());
  ASSERT_TRUE(joined.wand);
  EXPECT_EQ(MagickGetImageHeight(joined.wand.get()), 100u);
  EXPECT_EQ(PixelAt(joined.wand.get(), 50, 25), "255,0,0,255");
  EXPECT_EQ(PixelAt(joined.wand.get(), 50, 75), "0,0,255,255");
  EXPECT_EQ(joined.troubled, 1);
  EXPECT_EQ(InfoLog::Global().Text(),
            "无法获取图片的尺寸:\r\n" + (folder_ / "gap.jpg").string() + "\r\n\r\n");
}

TEST_F(JoinComposeTest, LargeJpegsAndTurnedPhotosTakeTheirPlannedSize) {
  // A photo stored 300 × 200 whose Exif says it is shown turned right: upright it is 200 × 300.
  MagickWandPtr phone = test::MakePicture(300, 200, "JPEG");
  std::string exif = test::ExifWithOrientation(6);
  MagickSetImageProfile(phone.get(), "exif", exif.data(), exif.size());
  MagickSetImageOrientation(phone.get(), RightTopOrientation);
  ASSERT_TRUE(WritePictureFile(phone.get(), folder_ / "phone.jpg", nullptr));
  // A JPEG far wider than the common side is decoded smaller and still gets the exact size.
  MagickWandPtr wide = test::MakePicture(1999, 1001, "JPEG");
  ASSERT_TRUE(WritePictureFile(wide.get(), folder_ / "wide.jpg", nullptr));

  JoinToolSettings settings;  // the phone photo's upright width, 200, is the common width
  JoinedPicture joined =
      composeJoinedPicture({folder_ / "phone.jpg", folder_ / "wide.jpg"}, settings);
  ASSERT_TRUE(joined.wand);
  EXPECT_EQ(MagickGetImageWidth(joined.wand.get()), 200u);
  EXPECT_EQ(MagickGetImageHeight(joined.wand.get()), 300u + 100u);  // 1001 × 200 / 1999 = 100.15
  EXPECT_EQ(AlphaAt(joined.wand.get(), 199, 399), 255);
  EXPECT_EQ(joined.troubled, 0);
}

TEST_F(JoinComposeTest, CanvasResolutionFromTheFirstDecodedPicture) {
  MagickWandPtr canvas = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  MagickNewImage(canvas.get(), 2, 2, none.get());
  struct Case {
    ResolutionType units;
    double x, y;
    ResolutionType expected_units;
    double expected_x, expected_y;
  };
  const Case cases[] = {
      {PixelsPerInchResolution, 300, 150, PixelsPerInchResolution, 300, 150},
      {PixelsPerCentimeterResolution, 28.35, 0.2, PixelsPerInchResolution, 72, 72},
      {PixelsPerCentimeterResolution, 118.11, 39.37, PixelsPerInchResolution, 299, 99},
      {UndefinedResolution, 0, 0, PixelsPerInchResolution, 72, 72},
      {UndefinedResolution, 2, 0, UndefinedResolution, 2, 0},
  };
  for (const Case& c : cases) {
    MagickWandPtr picture = MakeMagickWand();
    MagickNewImage(picture.get(), 1, 1, none.get());
    MagickSetImageUnits(picture.get(), c.units);
    MagickSetImageResolution(picture.get(), c.x, c.y);
    TakeJoinResolution(canvas.get(), picture.get());
    double x = 0;
    double y = 0;
    MagickGetImageResolution(canvas.get(), &x, &y);
    EXPECT_EQ(MagickGetImageUnits(canvas.get()), c.expected_units) << c.x;
    EXPECT_DOUBLE_EQ(x, c.expected_x) << c.x;
    EXPECT_DOUBLE_EQ(y, c.expected_y) << c.x;
  }
}

}  // namespace
}  // namespace brindle
