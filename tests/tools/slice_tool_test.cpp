#include "tools/slice_tool.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/info_log.h"
#include "support/test_support.h"
#include "tool_test_pictures.h"
#include "tools/tool_source.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    names.push_back(entry.path().lexically_relative(folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::pair<std::size_t, std::size_t> SizeOf(const fs::path& path) {
  MagickWandPtr wand = test::ReadBack(path);
  return {MagickGetImageWidth(wand.get()), MagickGetImageHeight(wand.get())};
}

// Sets the stop request when the given picture is taken.
class StopAtPicture : public ToolObserver {
 public:
  StopAtPicture(std::atomic<bool>& stop, int index) : stop_(stop), index_(index) {}
  void OnPictureStarted(int index, int) override {
    if (index == index_) stop_.store(true);
  }

 private:
  std::atomic<bool>& stop_;
  int index_;
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
  ToolOutcome Run() { return RunSliceJob(job, observer, stop); }

  TempFolder folder;
  fs::path source;
  fs::path out;
  SliceJob job;
  ToolObserver observer;
  std::atomic<bool> stop{false};
};

TEST_F(SliceToolTest, EvenRowsGiveTheLargerSpansFirstAndTheirPage) {
  test::WritePicture(source / "photo.png", 1000, 750, "PNG");
  Rows(4);
  job.settings.format = ToolOutputFormat::kPng;
  ToolOutcome outcome = Run();
  ASSERT_EQ(outcome.end, ToolRunEnd::kCompleted);
  EXPECT_EQ(outcome.folder_to_open, out);
  EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"photo-1.png", "photo-2.png", "photo-3.png",
                                                    "photo-4.png", "photo.html"}));
  const std::size_t heights[] = {188, 188, 187, 187};
  MagickWandPtr whole = test::ReadBack(source / "photo.png");
  long top = 0;
  std::string rows;
  for (int i = 0; i < 4; ++i) {
    const fs::path tile = out / ("photo-" + std::to_string(i + 1) + ".png");
    EXPECT_EQ(SizeOf(tile), std::make_pair(std::size_t{1000}, heights[i]));
    // Each tile holds the picture's pixels from its own row on, and starts at its own origin.
    MagickWandPtr back = test::ReadBack(tile);
    for (long x : {0L, 517L, 999L}) {
      EXPECT_EQ(test::PixelAt(back.get(), x, 0), test::PixelAt(whole.get(), x, top)) << i;
      EXPECT_EQ(test::PixelAt(back.get(), x, static_cast<long>(heights[i]) - 1),
                test::PixelAt(whole.get(), x, top + static_cast<long>(heights[i]) - 1))
          << i;
    }
    ssize_t x = 0, y = 0;
    std::size_t w = 0, h = 0;
    MagickGetImagePage(back.get(), &w, &h, &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(ssize_t{0}, ssize_t{0}));
    top += static_cast<long>(heights[i]);
    rows += "<tr>\r\n<td><img src=\"" + tile.string() + "\" width=\"1000\" height=\"" +
            std::to_string(heights[i]) + "\"></td>\r\n</tr>\r\n";
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
  test::WritePicture(source / "top.bmp", 40, 30, "BMP");
  job.include_sub_folders = true;
  job.settings.save_subfolder_by_file_name = true;
  job.settings.save_html = false;
  Rows(10);
  Columns(10);
  ASSERT_EQ(Run().written, 2);
  // 10 x 10 tiles are numbered -001 to -100, in reading order, inside the picture's folder.
  std::vector<std::string> files = FilesIn(out / "x/y/photo");
  ASSERT_EQ(files.size(), 100u);
  EXPECT_EQ(files.front(), "photo -001.jpg");
  EXPECT_EQ(files.back(), "photo -100.jpg");
  EXPECT_EQ(SizeOf(out / "x/y/photo/photo -010.jpg"),
            std::make_pair(std::size_t{10}, std::size_t{10}));
  // 40 x 30 in 10 x 10: widths 4, heights 3.
  EXPECT_EQ(FilesIn(out / "top").size(), 100u);
  EXPECT_EQ(SizeOf(out / "top/top-100.jpg"), std::make_pair(std::size_t{4}, std::size_t{3}));

  // 4 x 3 tiles into a folder that has photo-01.jpg already.
  job.include_sub_folders = false;
  job.settings.save_subfolder_by_file_name = false;
  job.settings.save_html = true;
  job.output_folder = folder / "again";
  fs::remove(source / "top.bmp");
  fs::rename(source / "x/y/photo .jpg", source / "photo.jpg");
  fs::create_directory(folder / "again");
  test::WriteFile(folder / "again/photo-01.jpg", "");
  Rows(4);
  Columns(3);
  ASSERT_EQ(Run().written, 1);
  files = FilesIn(folder / "again");
  EXPECT_EQ(files.size(), 14u);
  EXPECT_EQ(files.front(), "photo- 1(2).jpg");
  EXPECT_NE(std::find(files.begin(), files.end(), "photo-12.jpg"), files.end());
  const std::string page = test::ReadFile(folder / "again/photo.html");
  EXPECT_NE(page.find("<td><img src=\"" + (folder / "again/photo- 1(2).jpg").string() +
                      "\" width=\"34\" height=\"25\"></td>\r\n"
                      "<td><img src=\"" +
                      (folder / "again/photo-02.jpg").string() + "\" width=\"33\""),
            std::string::npos);
}

TEST_F(SliceToolTest, Png8TilesShareOnePaletteAndKeepTheResolution) {
  MagickWandPtr photo = test::MakePicture(120, 90, "PNG");
  MagickSetImageUnits(photo.get(), PixelsPerInchResolution);
  MagickSetImageResolution(photo.get(), 300, 300);
  std::string error;
  ASSERT_TRUE(WritePictureFile(photo.get(), source / "photo.png", &error)) << error;
  Rows(2);
  Columns(2);
  job.settings.format = ToolOutputFormat::kPng;
  job.settings.png8 = true;
  job.settings.png8_color_count = 16;
  job.settings.save_html = false;
  ASSERT_EQ(Run().written, 1);
  std::set<std::string> colours;
  for (int i = 1; i <= 4; ++i) {
    MagickWandPtr tile = test::ReadBack(out / ("photo-" + std::to_string(i) + ".png"));
    EXPECT_EQ(MagickGetImageType(tile.get()), PaletteType) << i;
    for (long y = 0; y < 45; y += 3) {
      for (long x = 0; x < 60; x += 3) colours.insert(test::PixelAt(tile.get(), x, y));
    }
    double dpi_x = 0, dpi_y = 0;
    MagickGetImageResolution(tile.get(), &dpi_x, &dpi_y);
    EXPECT_NEAR(
        dpi_x * (MagickGetImageUnits(tile.get()) == PixelsPerCentimeterResolution ? 2.54 : 1), 300,
        0.5);
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
  double x = 0, y = 0;
  MagickWandPtr tile = test::ReadBack(folder / "jpg/t-1.jpg");
  MagickGetImageResolution(tile.get(), &x, &y);
  EXPECT_EQ(MagickGetImageUnits(tile.get()), PixelsPerInchResolution);
  EXPECT_DOUBLE_EQ(x, 72);  // a picture without resolution gives 72 dpi tiles
}

TEST_F(SliceToolTest, UnreadablePicturesAreLoggedAndTheRunGoesOn) {
  test::WriteFile(source / "bad.jpg", "not a picture");
  test::WritePicture(source / "good.gif", 20, 20, "GIF");
  test::WriteAnimatedGif(source / "anim.gif", 20, 10);
  test::WritePicture(source / "skip.tif", 20, 20, "TIFF");  // not offered by the slice tool
  Rows(2);
  job.settings.save_subfolder_by_file_name = true;
  ToolOutcome outcome = Run();
  EXPECT_EQ(outcome.end, ToolRunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(outcome.unreadable, 1);
  EXPECT_EQ(InfoLog::Global().Text(),
            "图片读取失败:\r\n" + (source / "bad.jpg").string() + "\r\n\r\n");
  // The sub-folder is made before reading; an unreadable picture gets no page.
  EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"anim", "anim.html", "anim/anim-1.jpg",
                                                    "anim/anim-2.jpg", "bad", "good", "good.html",
                                                    "good/good-1.jpg", "good/good-2.jpg"}));
  // The first frame is the red one.
  MagickWandPtr first = test::ReadBack(out / "anim/anim-1.jpg");
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(first.get(), 2, 2, pixel.get());
  EXPECT_GT(PixelGetRed(pixel.get()), 0.9);
  EXPECT_LT(PixelGetBlue(pixel.get()), 0.1);
}

TEST_F(SliceToolTest, StopInsideAPictureOrAfterIt) {
  test::WritePicture(source / "a.png", 40, 40, "PNG");
  test::WritePicture(source / "b.png", 40, 40, "PNG");
  Rows(2);
  StopAtPicture stop_at_first(stop, 0);
  ToolOutcome stopped = RunSliceJob(job, stop_at_first, stop);
  EXPECT_EQ(stopped.end, ToolRunEnd::kStopped);
  EXPECT_EQ(FilesIn(out), std::vector<std::string>{});  // the window leaves the picture unfinished

  stop.store(false);
  job.output_folder = folder / "cli";
  job.finish_picture_on_stop = true;
  stopped = RunSliceJob(job, stop_at_first, stop);
  EXPECT_EQ(stopped.end, ToolRunEnd::kStopped);
  EXPECT_EQ(FilesIn(folder / "cli"), (std::vector<std::string>{"a-1.jpg", "a-2.jpg", "a.html"}));
}

TEST_F(SliceToolTest, StartRefusals) {
  struct Case {
    const char* what;
    std::function<void(SliceJob&)> change;
    std::vector<std::string> controls;
    std::string title, text;
    MessageIcon icon;
  };
  const std::vector<Case> cases = {
      {"no source",
       [](SliceJob& j) { j.source_folder.clear(); },
       {kSourceButton},
       "请选择【源图片文件夹】",
       "源图片文件夹不能为空",
       MessageIcon::kWarning},
      {"missing source",
       [&](SliceJob& j) { j.source_folder = folder / "gone"; },
       {kSourceButton},
       "请重新选择",
       "选择的【源图片文件夹】不存在",
       MessageIcon::kWarning},
      {"only formats without a box",
       [](SliceJob& j) { j.settings.load_format_option = kLoadPsd | kLoadTif; },
       {kSliceJpgBox},
       "请选择",
       "加载的图片类型至少选择一项",
       MessageIcon::kWarning},
      {"no direction",
       [](SliceJob& j) { j.settings.horizontal = j.settings.vertical = false; },
       {kHorizontalBox, kVerticalBox},
       "看这里",
       "【水平划分】与【垂直划分】至少勾选一项",
       MessageIcon::kWarning},
      {"empty count",
       [](SliceJob& j) { j.settings.horizontal_avg_value.reset(); },
       {kHorizontalAvgValueBox},
       "请输入",
       "这里不能为空",
       MessageIcon::kWarning},
      {"pixels below 1",
       [](SliceJob& j) {
         j.settings.horizontal_pixel = true;
         j.settings.horizontal_pixel_value = 0;
       },
       {kHorizontalPixelValueBox},
       "输入错误",
       "这里不能小于1",
       MessageIcon::kError},
      {"columns' empty pixels",
       [](SliceJob& j) {
         j.settings.vertical_avg = false;
         j.settings.vertical_pixel = true;
       },
       {kVerticalPixelValueBox},
       "请输入",
       "这里不能为空",
       MessageIcon::kWarning},
  };
  Rows(3);
  Columns(5);
  for (const Case& c : cases) {
    SliceJob refused = job;
    c.change(refused);
    std::vector<Refusal> refusals = ValidateSliceStart(refused);
    ASSERT_EQ(refusals.size(), c.controls.size()) << c.what;
    for (std::size_t i = 0; i < refusals.size(); ++i) {
      EXPECT_EQ(refusals[i].control, c.controls[i]) << c.what;
      EXPECT_EQ(refusals[i].hint_title, c.title) << c.what;
      EXPECT_EQ(refusals[i].hint_text, c.text) << c.what;
      EXPECT_EQ(refusals[i].icon, c.icon) << c.what;
    }
  }
  EXPECT_TRUE(ValidateSliceStart(job).empty());
  job.settings.vertical = false;
  job.settings.vertical_avg_value.reset();
  EXPECT_TRUE(ValidateSliceStart(job).empty());  // a direction that is off needs no number
}

TEST_F(SliceToolTest, RadiosAndRunSettings) {
  SliceToolSettings settings;
  settings.horizontal = true;
  settings.horizontal_avg = false;  // neither radio: the even count
  settings.horizontal_avg_value = 4;
  settings.vertical = true;
  settings.vertical_pixel = true;  // the pixel radio decides when on
  settings.vertical_pixel_value = 300;
  settings.vertical_avg_value = 7;
  SliceRunSettings run = SliceRunSettingsOf(settings);
  EXPECT_EQ(run.rows, (SliceDirection{SliceMode::kEvenCount, 4}));
  EXPECT_EQ(run.columns, (SliceDirection{SliceMode::kPixels, 300}));
  SettleSliceRadios(settings);
  EXPECT_TRUE(settings.horizontal_avg);
  EXPECT_FALSE(settings.vertical_avg);

  settings.png8 = true;
  settings.png8_color_count = 8;
  settings.transparent = true;
  run = SliceRunSettingsOf(settings);
  EXPECT_EQ(run.extension, ".jpg");
  EXPECT_FALSE(run.png8);  // JPG output counts PNG-8 and transparency as off
  EXPECT_FALSE(run.keep_transparency);
  EXPECT_EQ(run.color_count, 256);
  settings.format = ToolOutputFormat::kPng;
  run = SliceRunSettingsOf(settings);
  EXPECT_EQ(run.extension, ".png");
  EXPECT_TRUE(run.png8);
  EXPECT_EQ(run.color_count, 8);
  settings.horizontal = false;
  EXPECT_EQ(SliceRunSettingsOf(settings).rows, SliceDirection{});
}

}  // namespace
}  // namespace brindle
