#include "tools/slice/slice_tool.h"

#include <gtest/gtest.h>

#include <set>

#include "base/info_log.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using Size = std::pair<std::size_t, std::size_t>;

Size SizeOf(MagickWand* wand) { return {MagickGetImageWidth(wand), MagickGetImageHeight(wand)}; }

// Sets the stop request when the first picture is taken.
class StopAtFirstPicture : public RunObserver {
 public:
  explicit StopAtFirstPicture(std::atomic<bool>& stop) : stop_(stop) {}
  void OnPictureStarted(int index, int) override {
    if (index == 0) stop_.store(true);
  }

 private:
  std::atomic<bool>& stop_;
};

class SliceToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    source = folder / "src";
    out = folder / "out";
    fs::create_directory(source);
    job.source_folder = source;
    job.output_folder = out;
  }
  void Rows(int count) {
    job.settings.horizontal = true;
    job.settings.horizontal_avg_value = count;
  }
  void Columns(int count) {
    job.settings.vertical = true;
    job.settings.vertical_avg_value = count;
  }
  RunOutcome Run() { return RunSliceJob(job, observer, stop); }

  TempFolder folder;
  fs::path source, out;
  SliceJob job;
  RunObserver observer;
  std::atomic<bool> stop{false};
};

TEST_F(SliceToolTest, EvenRowsGiveTheLargerSpansFirstAndTheirPage) {
  test::WritePicture(source / "photo.png", 1000, 750, "PNG");
  Rows(4);
  job.settings.format = ToolOutputFormat::kPng;
  ASSERT_EQ(Run().end, RunEnd::kCompleted);
  EXPECT_EQ(test::EntriesIn(out),
            (std::vector<std::string>{"photo-1.png", "photo-2.png", "photo-3.png", "photo-4.png",
                                      "photo.html"}));
  MagickWandPtr whole = test::ReadBack(source / "photo.png");
  long top = 0;
  int number = 0;
  std::string rows;
  for (long height : {188, 188, 187, 187}) {
    const fs::path tile = out / ("photo-" + std::to_string(++number) + ".png");
    MagickWandPtr back = test::ReadBack(tile);
    EXPECT_EQ(SizeOf(back.get()), Size(1000, height)) << tile;
    // The tile holds the picture's pixels of its rows, at its own origin.
    for (long x : {0L, 999L}) {
      EXPECT_EQ(test::PixelAt(back.get(), x, 0), test::PixelAt(whole.get(), x, top)) << tile;
      EXPECT_EQ(test::PixelAt(back.get(), x, height - 1),
                test::PixelAt(whole.get(), x, top + height - 1))
          << tile;
    }
    ssize_t x = -1, y = -1;
    std::size_t w = 0, h = 0;
    MagickGetImagePage(back.get(), &w, &h, &x, &y);
    EXPECT_EQ(y, 0) << tile;
    top += height;
    rows += "<tr>\r\n<td><img src=\"" + tile.string() + "\" width=\"1000\" height=\"" +
            std::to_string(height) + "\"></td>\r\n</tr>\r\n";
  }
  EXPECT_EQ(test::ReadFile(out / "photo.html"),
            "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=gbk\">\r\n<title>photo.png</title>\r\n</head>\r\n<body "
            "bgcolor=\"#FFFFFF\">\r\n<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\r\n" +
                rows + "</table>\r\n</body>\r\n</html>");
}

TEST_F(SliceToolTest, GridNumberingSubFoldersAndCollisions) {
  fs::create_directories(source / "x/y");
  test::WritePicture(source / "x/y/photo .jpg", 100, 100, "JPEG");
  job.include_sub_folders = true;
  job.settings.save_subfolder_by_file_name = true;
  Rows(10);
  Columns(10);
  ASSERT_EQ(Run().written, 1);
  // 100 tiles, -001 to -100, in a folder named without the trailing space; the page beside it.
  std::vector<std::string> files = test::EntriesIn(out / "x/y/photo");
  ASSERT_EQ(files.size(), 100u);
  EXPECT_EQ(files.front(), "photo -001.jpg");
  EXPECT_EQ(files.back(), "photo -100.jpg");
  EXPECT_TRUE(fs::exists(out / "x/y/photo .html"));

  // 4 x 3 tiles into a folder that has photo-01.jpg already.
  fs::rename(source / "x/y/photo .jpg", source / "photo.jpg");
  job.include_sub_folders = job.settings.save_subfolder_by_file_name = false;
  job.output_folder = folder / "again";
  fs::create_directory(folder / "again");
  test::WriteFile(folder / "again/photo-01.jpg", "");
  Rows(4);
  Columns(3);
  ASSERT_EQ(Run().written, 1);
  files = test::EntriesIn(folder / "again");
  EXPECT_EQ(files.size(), 14u);
  EXPECT_EQ(files.front(), "photo- 1(2).jpg");
  EXPECT_NE(test::ReadFile(folder / "again/photo.html")
                .find("<tr>\r\n<td><img src=\"" + (folder / "again/photo- 1(2).jpg").string() +
                      "\" width=\"34\" height=\"25\"></td>\r\n<td><img src=\"" +
                      (folder / "again/photo-02.jpg").string() + "\" width=\"33\""),
            std::string::npos);
}

TEST_F(SliceToolTest, Png8TilesShareOnePaletteAndKeepTheResolution) {
  MagickWandPtr photo = test::MakePicture(120, 90, "PNG");
  MagickSetImageUnits(photo.get(), PixelsPerInchResolution);
  MagickSetImageResolution(photo.get(), 300, 300);
  ASSERT_TRUE(WritePictureFile(photo.get(), source / "photo.png", nullptr));
  Rows(2);
  Columns(2);
  job.settings.format = ToolOutputFormat::kPng;
  job.settings.png8 = true;
  job.settings.png8_color_count = 16;
  ASSERT_EQ(Run().written, 1);
  std::set<std::string> colours;
  for (int i = 1; i <= 4; ++i) {
    MagickWandPtr tile = test::ReadBack(out / ("photo-" + std::to_string(i) + ".png"));
    EXPECT_EQ(MagickGetImageType(tile.get()), PaletteType) << i;
    for (long y = 0; y < 45; y += 3) {
      for (long x = 0; x < 60; x += 3) colours.insert(test::PixelAt(tile.get(), x, y));
    }
    double x = 0, y = 0;
    MagickGetImageResolution(tile.get(), &x, &y);
    ASSERT_EQ(MagickGetImageUnits(tile.get()), PixelsPerCentimeterResolution);  // as PNG keeps it
    EXPECT_NEAR(x * 2.54, 300, 0.5);
  }
  EXPECT_LE(colours.size(), 16u);
  EXPECT_GT(colours.size(), 4u);
}

TEST_F(SliceToolTest, TransparencyKeptInPngAndWhiteInJpg) {
  test::WriteHalfTransparentPng(source / "t.png", 40, 20);
  Columns(2);
  job.settings.format = ToolOutputFormat::kPng;
  ASSERT_EQ(Run().written, 1);
  EXPECT_EQ(test::AlphaAt(test::ReadBack(out / "t-1.png").get(), 5, 5), 0);
  EXPECT_EQ(test::PixelAt(test::ReadBack(out / "t-2.png").get(), 5, 5), "0,0,255,255");

  job.settings.format = ToolOutputFormat::kJpg;
  job.output_folder = folder / "jpg";
  ASSERT_EQ(Run().written, 1);
  EXPECT_EQ(test::PixelAt(test::ReadBack(folder / "jpg/t-1.jpg").get(), 5, 5), "255,255,255,255");
}

TEST_F(SliceToolTest, UnreadablePicturesAreLoggedAndTheRunGoesOn) {
  test::WriteFile(source / "bad.jpg", "not a picture");
  test::WriteAnimatedGif(source / "anim.gif", 20, 10);
  test::WritePicture(source / "skip.tif", 20, 20, "TIFF");  // not offered by the slice tool
  Rows(2);
  job.settings.save_subfolder_by_file_name = true;
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_EQ(InfoLog::Global().Text(),
            "图片读取失败:\r\n" + (source / "bad.jpg").string() + "\r\n\r\n");
  // The sub-folder is made before reading; an unreadable picture gets no page.
  EXPECT_EQ(test::EntriesIn(out), (std::vector<std::string>{"anim", "anim.html", "anim/anim-1.jpg",
                                                            "anim/anim-2.jpg", "bad"}));
  MagickWandPtr first = test::ReadBack(out / "anim/anim-1.jpg");  // the red first frame
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(first.get(), 2, 2, pixel.get());
  EXPECT_GT(PixelGetRed(pixel.get()), 0.9);
  EXPECT_LT(PixelGetBlue(pixel.get()), 0.1);
}

TEST_F(SliceToolTest, StopInsideAPictureOrAfterIt) {
  test::WritePicture(source / "a.png", 40, 40, "PNG");
  test::WritePicture(source / "b.png", 40, 40, "PNG");
  Rows(2);
  StopAtFirstPicture stop_at_first(stop);
  RunOutcome stopped = RunSliceJob(job, stop_at_first, stop);
  EXPECT_EQ(stopped.end, RunEnd::kStopped);
  EXPECT_EQ(test::EntriesIn(out),
            std::vector<std::string>{});  // the window leaves the picture unfinished
  EXPECT_EQ(stopped.written, 0);
  EXPECT_EQ(stopped.failed, 0);

  stop.store(false);
  job.output_folder = folder / "cli";
  job.finish_picture_on_stop = true;
  RunOutcome finished = RunSliceJob(job, stop_at_first, stop);
  EXPECT_EQ(finished.end, RunEnd::kStopped);
  EXPECT_EQ(finished.written, 1);
  EXPECT_EQ(test::EntriesIn(folder / "cli"),
            (std::vector<std::string>{"a-1.jpg", "a-2.jpg", "a.html"}));
}

TEST(SettleSliceRadios, NeitherRadioOnBecomesEvenCountAndThePixelRadioWins) {
  SliceToolSettings settings;
  settings.horizontal_avg = false;
  settings.horizontal_pixel = false;
  settings.vertical_avg = true;
  settings.vertical_pixel = true;
  SettleSliceRadios(settings);
  EXPECT_TRUE(settings.horizontal_avg);
  EXPECT_FALSE(settings.horizontal_pixel);
  EXPECT_FALSE(settings.vertical_avg);
  EXPECT_TRUE(settings.vertical_pixel);
}

TEST_F(SliceToolTest, StartRefusals) {
  Rows(3);
  Columns(5);
  EXPECT_TRUE(ValidateSliceStart(job).empty());
  struct Case {
    std::function<void(SliceToolSettings&)> change;
    std::vector<std::string> controls;
    std::string title, text;
    MessageIcon icon;
  };
  const std::vector<Case> cases = {
      {[](SliceToolSettings& s) { s.load_format_option = kLoadPsd | kLoadTif; },
       {kSliceJpgBox},
       "请选择",
       "加载的图片类型至少选择一项",
       MessageIcon::kWarning},
      {[](SliceToolSettings& s) { s.horizontal = s.vertical = false; },
       {kHorizontalBox, kVerticalBox},
       "看这里",
       "【水平划分】与【垂直划分】至少勾选一项",
       MessageIcon::kWarning},
      {[](SliceToolSettings& s) { s.horizontal_avg_value.reset(); },
       {kHorizontalAvgValueBox},
       "请输入",
       "这里不能为空",
       MessageIcon::kWarning},
      {[](SliceToolSettings& s) { s.horizontal_pixel = true, s.horizontal_pixel_value = 0; },
       {kHorizontalPixelValueBox},
       "输入错误",
       "这里不能小于1",
       MessageIcon::kError},
      {[](SliceToolSettings& s) { s.vertical_pixel = true; },
       {kVerticalPixelValueBox},
       "请输入",
       "这里不能为空",
       MessageIcon::kWarning},
  };
  for (const Case& c : cases) {
    SliceJob refused = job;
    c.change(refused.settings);
    std::vector<Refusal> refusals = ValidateSliceStart(refused);
    ASSERT_EQ(refusals.size(), c.controls.size()) << c.text;
    for (std::size_t i = 0; i < refusals.size(); ++i) {
      EXPECT_EQ(refusals[i].control, c.controls[i]);
      EXPECT_EQ(std::tie(refusals[i].hint_title, refusals[i].hint_text), std::tie(c.title, c.text));
      EXPECT_EQ(refusals[i].icon, c.icon) << c.text;
    }
  }
}

}  // namespace
}  // namespace brindle
