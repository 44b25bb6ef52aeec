// brindle-cli batch, end to end: the real program over pictures drawn here, checked by what it
// leaves on disk (names, sizes, qualities), what it prints and its exit status.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "cli/batch_command_fixture.h"

namespace brindle::batch_test {
namespace {

TEST_F(BatchCommand, TargetNamesTakeCollisionNumbersAndKeepEveryCharacter) {
  fs::path in = Folder("in");
  fs::path out = Folder("out");
  Picture(in / "x.png", 30, 20, "PNG");
  Picture(in / "x.bmp", 31, 21, "BMP");
  Picture(in / "x.gif", 32, 22, "GIF");
  Picture(in / "archive.tar.gif", 33, 23, "GIF");
  Picture(in / "no-extension", 34, 24, "PNG");
  Picture(in / "msl:照片 100%d [0].png", 35, 25, "PNG");
  Picture(in / "a.png[0]", 36, 26, "PNG");

  CommandResult result =
      Batch({"--out", out.string(), "--threads-model", "1", (in / "x.png").string(),
             (in / "x.bmp").string(), (in / "x.gif").string(), (in / "archive.tar.gif").string(),
             (in / "no-extension").string(), (in / "msl:照片 100%d [0].png").string(),
             (in / "a.png[0]").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(FilesIn(out),
            (std::vector<std::string>{"a.jpg", "archive.tar.jpg", "msl:照片 100%d [0].jpg",
                                      "no-extension.jpg", "x(2).jpg", "x(3).jpg", "x.jpg"}));
  // Each name belongs to its source, in list order.
  EXPECT_EQ(SizeOf(out / "x.jpg"), "30x20");
  EXPECT_EQ(SizeOf(out / "x(2).jpg"), "31x21");
  EXPECT_EQ(SizeOf(out / "x(3).jpg"), "32x22");
  EXPECT_EQ(SizeOf(out / "archive.tar.jpg"), "33x23");
  EXPECT_EQ(SizeOf(out / "no-extension.jpg"), "34x24");
  EXPECT_EQ(SizeOf(out / "msl:照片 100%d [0].jpg"), "35x25");
  EXPECT_EQ(SizeOf(out / "a.jpg"), "36x26");
  for (const std::string& name : FilesIn(out)) {
    EXPECT_TRUE(EndsLikeAJpeg(test::ReadFile(out / name))) << name;
  }

  // A second run into the same folder counts on from the names already there.
  result = Batch({"--out", out.string(), (in / "x.png").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SizeOf(out / "x(4).jpg"), "30x20");
  EXPECT_EQ(FilesIn(out).size(), 8u);
}

TEST_F(BatchCommand, SeveralJobsWriteTheNamesAndBytesOfOne) {
  if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "a single processor";
  fs::path in = Folder("in");
  Picture(in / "x.png", 30, 20, "PNG");
  Picture(in / "x.bmp", 31, 21, "BMP");
  WriteJpeg(in / "x.jpg", 1200, 900, 92);  // shrunk while decoding
  WriteJpeg(in / "y.jpg", 900, 1200, 80, 6);
  test::WriteFile(in / "z.jpg", "not a picture");
  const std::vector<std::string> recipe = {"bSize=1", "sizeValue=300", "bQuanlity=1", "quanlity=85",
                                           in.string()};
  std::vector<std::vector<std::string>> written;
  for (const char* jobs : {"1", "2"}) {
    fs::path out = Folder(std::string("out") + jobs);
    std::vector<std::string> args = {"--out", out.string(), "--jobs", jobs};
    args.insert(args.end(), recipe.begin(), recipe.end());
    CommandResult result = Batch(args);
    EXPECT_EQ(result.status, 1) << jobs << result.err;  // z.jpg fails alone
    EXPECT_NE(result.err.find((in / "z.jpg").string()), std::string::npos) << result.err;
    written.push_back(FilesIn(out));
  }
  EXPECT_EQ(written[0], (std::vector<std::string>{"x(2).jpg", "x(3).jpg", "x.jpg", "y.jpg"}));
  EXPECT_EQ(written[0], written[1]);
  for (const std::string& name : written[0]) {
    EXPECT_EQ(test::ReadFile(Folder("out1") / name), test::ReadFile(Folder("out2") / name)) << name;
  }
  EXPECT_EQ(SizeOf(Folder("out1") / "y.jpg"), "300x225");  // stored 900 x 1200, shown turned

  for (const char* jobs : {"0", "99999", "2x"}) {
    CommandResult result = Batch({"--out", Folder("out1").string(), "--jobs", jobs, in.string()});
    EXPECT_EQ(result.status, 2) << jobs;
    EXPECT_EQ(result.err.rfind("--jobs 只能是 1 到 ", 0), 0u) << result.err;
  }
}

TEST_F(BatchCommand, CompressionFollowsTheQualitySettings) {
  fs::path in = Folder("in");
  Picture(in / "drawing.png", 120, 90, "PNG");
  WriteJpeg(in / "photo.jpg", 120, 90, 77);

  // The switch off: a PNG is written at 94, a JPEG keeps its own quality.
  fs::path plain = Folder("plain");
  CommandResult result = Batch({"--out", plain.string(), in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Read(plain / "drawing.jpg").quality, 94u);
  EXPECT_EQ(Read(plain / "photo.jpg").quality, 77u);

  // The switch on with a fixed quality: every picture at that quality.
  fs::path fixed = Folder("fixed");
  result = Batch({"--out", fixed.string(), "bQuanlity=1", "quanlity=60", in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Read(fixed / "drawing.jpg").quality, 60u);
  EXPECT_EQ(Read(fixed / "photo.jpg").quality, 60u);
  EXPECT_EQ(Read(fixed / "photo.jpg").format, "JPEG");

  // A quality given but the switch off changes nothing.
  fs::path off = Folder("off");
  result = Batch({"--out", off.string(), "bQuanlity=0", "quanlity=60", in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Read(off / "drawing.jpg").quality, 94u);
  EXPECT_EQ(Read(off / "photo.jpg").quality, 77u);
}

TEST_F(BatchCommand, MaximumFileSizeIsHonoured) {
  fs::path in = Folder("in");
  Picture(in / "busy.png", 400, 300, "PNG");
  fs::path plain = Folder("plain");
  ASSERT_EQ(Batch({"--out", plain.string(), in.string()}).status, 0);
  // At quality 94 this picture is well above the limit below.
  ASSERT_GT(fs::file_size(plain / "busy.jpg"), 40u * 1024);

  fs::path limited = Folder("limited");
  CommandResult result = Batch(
      {"--out", limited.string(), "bQuanlity=1", "qualityMode=1", "maxFileSize=25", in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_LE(fs::file_size(limited / "busy.jpg"), 25u * 1024);
  EXPECT_EQ(SizeOf(limited / "busy.jpg"), "400x300");
  EXPECT_EQ(FilesIn(limited), std::vector<std::string>{"busy.jpg"});

  // 100000 is out of the stored range and reads as "not set", which leaves the panel's size box
  // empty: the run is refused as the panel refuses it.
  fs::path unset = Folder("unset");
  result = Batch(
      {"--out", unset.string(), "bQuanlity=1", "qualityMode=1", "maxFileSize=100000", in.string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "此项不能为空\n");
  EXPECT_TRUE(FilesIn(unset).empty());
}

TEST_F(BatchCommand, ResizeSettingsGiveTheSizesOfTheRules) {
  fs::path in = Folder("in");
  fs::path wide = Picture(in / "wide.png", 300, 200, "PNG");
  fs::path small = Picture(in / "small.png", 60, 40, "PNG");
  fs::path landscape = Picture(in / "landscape.bmp", 400, 300, "BMP");
  fs::path portrait = Picture(in / "portrait.png", 300, 400, "PNG");
  fs::path square = Picture(in / "square.gif", 100, 100, "GIF");
  fs::path odd = Picture(in / "odd.png", 101, 51, "PNG");
  fs::path photo = in / "photo.jpg";  // shrunk to a quarter: decoded at a reduced size
  WriteJpeg(photo, 800, 600, 90);

  struct Case {
    std::vector<std::string> settings;
    std::vector<std::pair<fs::path, std::string>> expected;
  };
  const std::vector<Case> cases = {
      {{"zoomType=0", "sizeType=0", "sizeValue=75"},
       {{wide, "75x50"}, {small, "60x40"}, {photo, "75x56"}}},
      {{"zoomType=1", "sizeType=0", "sizeValue=75"}, {{wide, "300x200"}, {small, "75x50"}}},
      {{"zoomType=2", "sizeType=0", "sizeValue=75", "bZoomSameScale=0"}, {{wide, "75x200"}}},
      {{"zoomType=2", "sizeType=1", "sizeValue=50"}, {{wide, "75x50"}, {small, "75x50"}}},
      {{"zoomType=0", "sizeType=2", "sizeValue=50"},
       {{landscape, "67x50"}, {portrait, "50x67"}, {photo, "67x50"}}},
      {{"zoomType=2", "sizeType=3", "sizeValue=80"}, {{square, "80x80"}, {landscape, "80x60"}}},
      {{"zoomUnit=1", "fSizeValue=50", "sizeType=0"}, {{odd, "51x26"}}},
      {{"zoomUnit=1", "fSizeValue=250", "sizeType=1"}, {{small, "150x100"}}},
  };
  int run = 0;
  for (const Case& c : cases) {
    fs::path out = Folder("out" + std::to_string(++run));
    std::vector<std::string> args = {"--out", out.string(), "bSize=1"};
    args.insert(args.end(), c.settings.begin(), c.settings.end());
    for (const auto& [source, size] : c.expected) args.push_back(source.string());
    CommandResult result = Batch(args);
    std::string label = ::testing::PrintToString(c.settings);
    EXPECT_EQ(result.status, 0) << label << result.err;
    EXPECT_EQ(result.err, "") << label;
    for (const auto& [source, size] : c.expected) {
      fs::path written = out / (source.stem().string() + ".jpg");
      EXPECT_EQ(SizeOf(written), size) << label << " " << source.filename();
    }
  }

  // Without the resize switch the values do nothing.
  fs::path unchanged = Folder("unchanged");
  CommandResult result =
      Batch({"--out", unchanged.string(), "sizeValue=20", wide.string(), photo.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SizeOf(unchanged / "wide.jpg"), "300x200");
  EXPECT_EQ(SizeOf(unchanged / "photo.jpg"), "800x600");
}

TEST_F(BatchCommand, PhotosStoredTurnedAreWrittenUpright) {
  fs::path in = Folder("in");
  // Stored 80 wide and 40 high, yellow in the top-left quarter; orientation 6 shows it turned
  // clockwise, so upright it is 40 wide and 80 high with the yellow quarter at the top right.
  WriteJpeg(in / "phone.jpg", 80, 40, 92, 6);
  ASSERT_EQ(Read(in / "phone.jpg").orientation, RightTopOrientation);

  fs::path out = Folder("out");
  CommandResult result = Batch({"--out", out.string(), in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  ReadBack upright = Read(out / "phone.jpg");
  EXPECT_EQ(upright.width, 40u);
  EXPECT_EQ(upright.height, 80u);
  EXPECT_TRUE(upright.orientation == TopLeftOrientation ||
              upright.orientation == UndefinedOrientation)
      << upright.orientation;
  std::vector<int> top_right = ColourAround(upright.wand.get(), 30, 10);
  std::vector<int> top_left = ColourAround(upright.wand.get(), 8, 10);
  EXPECT_GT(top_right[0], 170);  // yellow: much red, little blue
  EXPECT_LT(top_right[2], 100);
  EXPECT_LT(top_left[0], 120);  // the blue background
  EXPECT_GT(top_left[2], 100);

  // "Width" is the width the user sees.
  fs::path resized = Folder("resized");
  result = Batch({"--out", resized.string(), "bSize=1", "sizeType=0", "sizeValue=10", in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SizeOf(resized / "phone.jpg"), "10x20");
}

TEST_F(BatchCommand, PicturesThatCannotBeProcessedAreSkippedWithTheirMessages) {
  fs::path in = Folder("in");
  Picture(in / "a.png", 20, 10, "PNG");
  test::WriteAnimatedGif(in / "b-animated.gif", 12, 8);
  test::WriteAnimatedGif(in / "c-animated.gif", 12, 8, /*header_87a=*/true);
  WriteBrokenPng(in / "d-broken.png");
  test::WriteFile(in / "e-notes.png", "just some words");
  Picture(in / "f.png", 21, 11, "PNG");
  fs::path out = Folder("out");

  CommandResult result = Batch({"--out", out.string(), "--threads-model", "1", in.string()});
  EXPECT_EQ(result.status, 1);
  // Refused while the list is made (classified by content), then while processing.
  EXPECT_EQ(result.err, "不支持gif动画图片:\n" + (in / "b-animated.gif").string() +
                            "\n\n"
                            "无法识别的图片:\n" +
                            (in / "e-notes.png").string() +
                            "\n\n"
                            "这是一个不受支持的图片格式:\n" +
                            (in / "c-animated.gif").string() +
                            "\n\n"
                            "图片读取失败:\n" +
                            (in / "d-broken.png").string() + "\n\n");
  // The others are written; a picture that fails leaves nothing behind.
  EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"a.jpg", "f.jpg"}));
  EXPECT_EQ(SizeOf(out / "a.jpg"), "20x10");
  EXPECT_EQ(SizeOf(out / "f.jpg"), "21x11");

  // Only pictures that fail: nothing written, still exit 1.
  fs::path none = Folder("none");
  result = Batch({"--out", none.string(), (in / "c-animated.gif").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "这是一个不受支持的图片格式:\n" + (in / "c-animated.gif").string() + "\n\n");
  EXPECT_TRUE(FilesIn(none).empty());
}

TEST_F(BatchCommand, FoldersAreScannedAndTheirStructureKeptOnRequest) {
  fs::path album = Folder("相册");
  Picture(album / "a.png", 20, 10, "PNG");
  Picture(album / "day1" / "a.png", 21, 11, "PNG");
  Picture(album / "day1" / "b.jpg", 22, 12, "JPEG");
  Picture(album / "day1" / "深处" / "c.gif", 23, 13, "GIF");
  Picture(album / ".hidden" / "d.png", 24, 14, "PNG");
  test::WriteFile(album / "notes.txt", "not a picture");
  fs::path single = Picture(work_ / "extra" / "e.bmp", 25, 15, "BMP");

  // Kept structure, every depth: the sub-paths start with the chosen folder's own name; a single
  // file goes straight into the target folder; folders whose names begin with "." are not entered.
  fs::path mirrored = Folder("mirrored");
  CommandResult result = Batch({"--out", mirrored.string(), "--keep-structure", "--recursive",
                                album.string(), single.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(FilesIn(mirrored),
            (std::vector<std::string>{"e.jpg", "相册/a.jpg", "相册/day1/a.jpg", "相册/day1/b.jpg",
                                      "相册/day1/深处/c.jpg"}));
  EXPECT_EQ(SizeOf(mirrored / "相册/a.jpg"), "20x10");
  EXPECT_EQ(SizeOf(mirrored / "相册/day1/a.jpg"), "21x11");
  EXPECT_EQ(SizeOf(mirrored / "相册/day1/深处/c.jpg"), "23x13");

  // A folder given as "." or ".." (as typed in a shell) keeps the name of the folder it stands for.
  fs::path dotted = Folder("dotted");
  result = Batch({"--out", dotted.string(), "--keep-structure", "--recursive",
                  (album / ".").string(), (album / "day1" / "深处" / "..").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(FilesIn(dotted), (std::vector<std::string>{
                                 "day1/a.jpg", "day1/b.jpg", "day1/深处/c.jpg", "相册/a.jpg",
                                 "相册/day1/a.jpg", "相册/day1/b.jpg", "相册/day1/深处/c.jpg"}));

  // Without --recursive the sub-folders are neither entered nor made.
  fs::path top = Folder("top");
  result = Batch({"--out", top.string(), "--keep-structure", album.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(FilesIn(top), std::vector<std::string>{"相册/a.jpg"});
  EXPECT_EQ(FoldersIn(top), std::vector<std::string>{"相册"});

  // Every depth into one folder: a folder's pictures come before those of its sub-folders.
  fs::path flat = Folder("flat");
  result = Batch({"--out", flat.string(), "--recursive", "--threads-model", "1", album.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(FilesIn(flat), (std::vector<std::string>{"a(2).jpg", "a.jpg", "b.jpg", "c.jpg"}));
  EXPECT_EQ(SizeOf(flat / "a.jpg"), "20x10");
  EXPECT_EQ(SizeOf(flat / "a(2).jpg"), "21x11");
}

TEST_F(BatchCommand, AMirrorFolderThatCannotBeMadeStopsTheRun) {
  fs::path album = Folder("相册");
  Picture(album / "a.png", 20, 10, "PNG");
  Picture(album / "day1" / "b.png", 21, 11, "PNG");
  fs::path out = Folder("out");
  test::WriteFile(out / "相册", "a file where the folder should go");

  CommandResult result =
      Batch({"--out", out.string(), "--keep-structure", "--recursive", album.string()});
  EXPECT_EQ(result.status, 4);
  EXPECT_EQ(result.err, "无法创建目标文件夹：[" + (out / "相册").string() + "]\n");
  EXPECT_EQ(FilesIn(out), std::vector<std::string>{"相册"});
}

TEST_F(BatchCommand, PathsTooLongAreSkippedAndTheRunGoesOn) {
  // Lengths count GBK bytes: a Chinese character is two, an ASCII letter one.
  fs::path in = Folder("in");
  fs::path out = Folder("on");  // as long as "in": the written names fit when the sources do
  const std::size_t folder_bytes = in.string().size() + 1;
  ASSERT_LT(folder_bytes + 40, 259u) << "the temporary folder is too deep for this test";

  // 260 bytes: too long.
  std::string long_name = std::string(260 - folder_bytes - 4, 'n') + ".png";
  // A sub-folder of 260 bytes.
  std::string long_folder = std::string(260 - folder_bytes, 'f');
  // Chinese names up to 259 GBK bytes in all: they fit, although the path is longer than that in
  // UTF-8 (each name stays within the file system's 255 bytes).
  auto chinese = [](std::size_t characters) {
    std::string text;
    for (std::size_t i = 0; i < characters; ++i) text += "图";
    return text;
  };
  const std::string chinese_folder = chinese(50);
  const std::string chinese_stem = chinese((259 - folder_bytes - 100 - 1 - 4) / 2);
  const fs::path fitting = in / chinese_folder / (chinese_stem + ".png");
  ASSERT_GT(fitting.string().size(), 259u);

  Picture(in / "ok.png", 20, 10, "PNG");
  Picture(in / long_name, 21, 11, "PNG");
  Picture(fitting, 22, 12, "PNG");
  Picture(in / long_folder / "x.png", 23, 13, "PNG");

  CommandResult result = Batch({"--out", out.string(), "--recursive", in.string()});
  EXPECT_EQ(result.status, 1);
  auto message = [](const char* kind, const fs::path& path) {
    const std::string k = kind;
    return "软件因下列原因意外退出：\n" + k + "路径长度大于 259 个字符！\n\n当前" + k +
           "路径长度：" + std::to_string(path.string().size()) + " 个字符\n" + path.string() +
           "\n\n解决方案：修改" + k +
           "路径长度，使其长度不超过 259 个字符。\n\n提示：一个英文字母占 1 个字符，一个汉字占 2 "
           "个字符。\n";
  };
  EXPECT_NE(result.err.find(message("文件", in / long_name)), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(message("文件夹", in / long_folder)), std::string::npos) << result.err;
  EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"ok.jpg", chinese_stem + ".jpg"}));
  EXPECT_EQ(SizeOf(out / (chinese_stem + ".jpg")), "22x12");
}

TEST_F(BatchCommand, APathIsProcessedOnce) {
  fs::path in = Folder("in");
  fs::path a = Picture(in / "a.png", 20, 10, "PNG");
  Picture(in / "b.png", 21, 11, "PNG");
  fs::path out = Folder("out");
  CommandResult result =
      Batch({"--out", out.string(), a.string(), a.string(), in.string(), in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(BatchCommand, RunsThatCannotStartAreRefused) {
  fs::path in = Folder("in");
  fs::path picture = Picture(in / "a.png", 20, 10, "PNG");
  fs::path out = Folder("out");

  CommandResult result = Batch({picture.string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "请选择图片处理后保存的方式\n");

  fs::path missing = work_ / "missing";
  result = Batch({"--out", missing.string(), picture.string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "图片处理后保存到的位置不存在，请重新选择\n");
  EXPECT_FALSE(fs::exists(missing));

  // A file is not a folder.
  result = Batch({"--out", picture.string(), picture.string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "图片处理后保存到的位置不存在，请重新选择\n");

  // A source that does not exist refuses the whole run.
  result = Batch({"--out", out.string(), picture.string(), (in / "gone.png").string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find((in / "gone.png").string()), std::string::npos) << result.err;

  fs::path no_recipe = work_ / "no such.sz";
  result = Batch({"--recipe", no_recipe.string(), "--out", out.string(), picture.string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "图片处理设置文件:[" + no_recipe.string() + "]不存在\n");

  EXPECT_TRUE(FilesIn(out).empty());
  EXPECT_EQ(FilesIn(in), std::vector<std::string>{"a.png"});
}

TEST_F(BatchCommand, UsageErrorsExitTwo) {
  fs::path in = Folder("in");
  fs::path picture = Picture(in / "a.png", 20, 10, "PNG");
  fs::path out = Folder("out");
  const std::string p = picture.string();
  const std::string o = out.string();
  const std::vector<std::vector<std::string>> usage_errors = {
      {"--out", o, "bSizeX=1", p},              // unknown key
      {"--out", o, "sizeValue=abc", p},         // not a number
      {"--out", o, "bSize=", p},                // no number at all
      {"--out", o, "fSizeValue=half", p},       // not a number for the float
      {"--out", o, "--overwrite", p},           // two placements
      {"--keep-structure", "--overwrite", p},   // structure needs a folder
      {"--out", o},                             // nothing to process
      {"--out", o, "--threads-model", "3", p},  // no such model
      {"--out", o, "--fast", p},                // no such option
      {"--out", o, "--recipe"},                 // option without its value
  };
  for (const auto& args : usage_errors) {
    CommandResult result = Batch(args);
    EXPECT_EQ(result.status, 2) << ::testing::PrintToString(args);
    EXPECT_NE(result.err, "") << ::testing::PrintToString(args);
  }
  EXPECT_TRUE(FilesIn(out).empty());
  EXPECT_EQ(test::ReadFile(picture).compare(0, 4, "\x89PNG"), 0);

  CommandResult unknown = Batch({"--out", o, "bSizeX=1", p});
  EXPECT_NE(unknown.err.find("bSizeX"), std::string::npos) << unknown.err;

  CommandResult help = Batch({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("用法: brindle-cli batch"), std::string::npos);
}

TEST_F(BatchCommand, RecipeFileIsReadThenTheCommandLineSettingsApply) {
  fs::path in = Folder("in");
  fs::path picture = Picture(in / "banner.png", 400, 100, "PNG");
  // Read into a zero-filled record: the keys it lacks take the reader's presets (shrink, keep the
  // aspect) or zero (the width is the set side).
  fs::path recipe = work_ / "小图.sz";
  test::WriteFile(recipe, "bSize=1\r\nsizeValue=300\r\n");

  fs::path from_file = Folder("from_file");
  CommandResult result =
      Batch({"--recipe", recipe.string(), "--out", from_file.string(), picture.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SizeOf(from_file / "banner.jpg"), "300x75");

  fs::path on_top = Folder("on_top");
  result = Batch(
      {"--recipe", recipe.string(), "--out", on_top.string(), "sizeValue=200", picture.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SizeOf(on_top / "banner.jpg"), "200x50");

  // The reader's range rules hold for the command line too: unit 5 reads as pixels.
  fs::path ranged = Folder("ranged");
  result = Batch({"--recipe", recipe.string(), "--out", ranged.string(), "zoomUnit=5",
                  "fSizeValue=10", picture.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SizeOf(ranged / "banner.jpg"), "300x75");
  EXPECT_EQ(test::ReadFile(recipe), "bSize=1\r\nsizeValue=300\r\n");
}

TEST_F(BatchCommand, TheUsersStoredRecipeIsNeitherReadNorWritten) {
  fs::path config = home_ / kPlantedConfig;
  fs::create_directories(config.parent_path());
  const std::string stored = "bSize=1\r\nsizeValue=10\r\nbQuanlity=1\r\nquanlity=20\r\n";
  test::WriteFile(config, stored);
  fs::path picture = Picture(work_ / "in" / "a.png", 60, 40, "PNG");
  fs::path out = Folder("out");

  CommandResult result = Batch({"--out", out.string(), picture.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  // The default recipe: no resize, quality 94 for a PNG.
  ReadBack written = Read(out / "a.jpg");
  EXPECT_EQ(written.width, 60u);
  EXPECT_EQ(written.quality, 94u);
  EXPECT_EQ(test::ReadFile(config), stored);
}

}  // namespace
}  // namespace brindle::batch_test
