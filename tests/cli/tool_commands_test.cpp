#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/magick/magick_environment.h"
#include "platform/magick/magick_wand.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TempFolder;

class ToolCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = folder / "pics";
    fs::create_directory(source);
  }
  TempFolder folder;
  fs::path source;
};

TEST_F(ToolCommandTest, ConvertIntoTheDefaultOutputFolder) {
  test::WritePicture(source / "x.png", 30, 20, "PNG");
  test::WritePicture(source / "x.gif", 30, 20, "GIF");
  fs::create_directory(source / "sub");
  test::WritePicture(source / "sub/y.bmp", 30, 20, "BMP");
  test::CommandResult result = RunCli(
      {"convert", "--source", source.string(), "--recursive", "convert_load_format_option=15"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(test::EntriesIn(folder / "pics_处理后"),
            (std::vector<std::string>{"sub", "sub/y.jpg", "x(2).jpg", "x.jpg"}));

  // The next run proposes the next free folder.
  result = RunCli({"convert", "--source", source.string() + "/", "convert_load_format_option=2",
                   "convert_format=PNG", "convert_png8=1", "convert_png8_color_count=16"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(test::EntriesIn(folder / "pics_处理后(2)"), (std::vector<std::string>{"x.png"}));
}

TEST_F(ToolCommandTest, ConvertRefusals) {
  test::WritePicture(source / "x.png", 30, 20, "PNG");
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"convert"}, "源图片文件夹不能为空\n"},
      {{"convert", "--source", (folder / "gone").string()}, "选择的【源图片文件夹】不存在\n"},
      {{"convert", "--source", source.string()}, "原格式请至少选择一项\n"},  // mask 0 by default
      {{"convert", "--source", "/", "convert_load_format_option=1"},
       "暂不支持添加根目录：[/]，请选择下一级文件夹。\n"},
      {{"convert", "--source", source.string(), "convert_load_format_option=4"},
       "没有找到需要处理的图片\n"},
      {{"convert", "--source", source.string(), "crop_mode=1"}, "未知的设置项: crop_mode\n"},
      {{"convert", "--source", source.string(), "convert_quality=high"},
       "设置项 convert_quality 的值不是数字: high\n"},
  };
  for (const Case& c : cases) {
    test::CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.status, 2) << c.args.back();
    EXPECT_EQ(result.err, c.err) << c.args.back();
  }
  test::CommandResult overwrite = RunCli({"convert", "--source", source.string(), "--overwrite"});
  EXPECT_EQ(overwrite.status, 2);
  EXPECT_NE(overwrite.err.find("未知的选项: --overwrite"), std::string::npos);
  EXPECT_NE(overwrite.err.find("用法: brindle-cli convert"), std::string::npos);
  // Refused runs make nothing; the run that found nothing had made its output folder.
  EXPECT_EQ(test::EntriesIn(folder.path()),
            (std::vector<std::string>{"pics", "pics/x.png", "pics_处理后"}));
}

TEST_F(ToolCommandTest, UnreadablePictureGivesExitOneAndItsLogLine) {
  test::WriteFile(source / "broken.png", "not a picture");
  test::WritePicture(source / "good.png", 30, 20, "PNG");
  test::CommandResult result =
      RunCli({"png", "--source", source.string(), "--out", (folder / "out").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "图片读取失败:\n" + (source / "broken.png").string() + "\n\n");
  EXPECT_EQ(test::EntriesIn(folder / "out"), (std::vector<std::string>{"good.png"}));
}

TEST_F(ToolCommandTest, PngResizeAndOverwrite) {
  test::WritePicture(source / "a.png", 1000, 750, "PNG");
  test::CommandResult result =
      RunCli({"png", "--source", source.string(), "--overwrite", "png_zoom_status=1",
              "png_zoom_1=0", "png_zoom_2=0", "png_zoom_value=800", "png_png8=0"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(test::EntriesIn(folder.path()), (std::vector<std::string>{"pics", "pics/a.png"}));
  MagickWandPtr wand = MakeMagickWand();
  test::EnsureMagick();
  ASSERT_TRUE(ReadPictureFile(wand.get(), source / "a.png", nullptr));
  EXPECT_EQ(MagickGetImageWidth(wand.get()), 800u);
  EXPECT_EQ(MagickGetImageHeight(wand.get()), 600u);
}

TEST_F(ToolCommandTest, PngRefusalsAndAbortedRuns) {
  test::WritePicture(source / "a.png", 20, 20, "PNG");
  test::CommandResult empty_value =
      RunCli({"png", "--source", source.string(), "png_zoom_status=1"});
  EXPECT_EQ(empty_value.status, 2);
  EXPECT_EQ(empty_value.err, "这里不能为空\n");

  test::CommandResult both =
      RunCli({"png", "--source", source.string(), "--overwrite", "--out", "x"});
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("--out 和 --overwrite 只能选择一个"), std::string::npos);

  test::CommandResult extra = RunCli({"png", "--source", source.string(), "stray"});
  EXPECT_EQ(extra.status, 2);
  EXPECT_NE(extra.err.find("多余的参数: stray"), std::string::npos);

  // An output folder that cannot be made stops the run.
  test::WriteFile(folder / "file", "x");
  fs::path out = folder / "file" / "out";
  test::CommandResult aborted = RunCli({"png", "--source", source.string(), "--out", out.string()});
  EXPECT_EQ(aborted.status, 4);
  EXPECT_EQ(aborted.err, "任务中止！\n\n创建文件夹 " + out.string() + " 失败，错误码：20\n");
}

TEST_F(ToolCommandTest, SeveralJobsWriteTheNamesAndBytesOfOne) {
  if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "a single processor";
  test::WritePicture(source / "x.png", 300, 200, "PNG");
  test::WritePicture(source / "x.gif", 320, 220, "GIF");
  test::WritePicture(source / "y.png", 400, 300, "PNG");
  test::WritePicture(source / "z.bmp", 200, 300, "BMP");
  const std::vector<std::vector<std::string>> commands = {
      {"convert", "--source", source.string(), "convert_load_format_option=15"},
      {"png", "--source", source.string(), "png_zoom_status=1", "png_zoom_1=0", "png_zoom_2=0",
       "png_zoom_value=100", "png_png8=1"},
      {"crop", "crop_fixed_width=100", "crop_fixed_height=80", "--", (source / "x.png").string(),
       (source / "x.gif").string(), (source / "y.png").string(), (source / "z.bmp").string()},
  };
  for (const std::vector<std::string>& command : commands) {
    std::vector<std::vector<std::string>> written;
    for (const char* jobs : {"1", "2"}) {
      const fs::path out = folder / (command[0] + jobs);
      std::vector<std::string> args = {command[0], "--out", out.string(), "--jobs", jobs};
      args.insert(args.end(), command.begin() + 1, command.end());
      test::CommandResult result = RunCli(args);
      EXPECT_EQ(result.status, 0) << command[0] << jobs << result.err;
      written.push_back(test::EntriesIn(out));
    }
    EXPECT_EQ(written[0], written[1]) << command[0];
    EXPECT_GE(written[0].size(), 2u) << command[0];
    for (const std::string& name : written[0]) {
      EXPECT_EQ(test::ReadFile(folder / (command[0] + "1") / name),
                test::ReadFile(folder / (command[0] + "2") / name))
          << command[0] << " " << name;
    }
  }
  EXPECT_EQ(test::EntriesIn(folder / "convert1"),
            (std::vector<std::string>{"x(2).jpg", "x.jpg", "y.jpg", "z.jpg"}));
  EXPECT_EQ(test::EntriesIn(folder / "crop1"),
            (std::vector<std::string>{"x(2).jpg", "x.jpg", "y.jpg", "z.jpg"}));
  EXPECT_EQ(RunCli({"join", "--jobs", "2", "--source", source.string()}).status, 2);
}

TEST_F(ToolCommandTest, HelpTexts) {
  test::CommandResult convert = RunCli({"convert", "--help"});
  EXPECT_EQ(convert.status, 0);
  EXPECT_EQ(convert.out.rfind("用法: brindle-cli convert --source DIR", 0), 0u);
  test::CommandResult png = RunCli({"png", "-h"});
  EXPECT_EQ(png.status, 0);
  EXPECT_EQ(png.out.rfind("用法: brindle-cli png --source DIR", 0), 0u);
  test::CommandResult top = RunCli({"--help"});
  EXPECT_NE(top.out.find("  convert --source DIR"), std::string::npos);
  EXPECT_NE(top.out.find("  png --source DIR"), std::string::npos);
}

TEST_F(ToolCommandTest, JoinFoldersListsAndPreview) {
  fs::create_directories(source / "day1");
  test::WritePicture(source / "day1/a.png", 800, 100, "PNG");
  test::WritePicture(source / "day1/b.jpg", 1000, 200, "JPEG");
  test::WritePicture(source / "day1/c.gif", 600, 100, "GIF");
  test::CommandResult result = RunCli({"join", "--source", source.string(), "join_space=10"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(test::EntriesIn(folder / "pics_处理后"), (std::vector<std::string>{"day1.jpg"}));
  MagickWandPtr wand = MakeMagickWand();
  test::EnsureMagick();
  ASSERT_TRUE(ReadPictureFile(wand.get(), folder / "pics_处理后/day1.jpg", nullptr));
  EXPECT_EQ(MagickGetImageWidth(wand.get()), 800u);
  EXPECT_EQ(MagickGetImageHeight(wand.get()), 100u + 10u + 160u + 10u + 100u);

  // The preview of the same group, as PNG, and its status texts.
  fs::path shown = folder / "shown.png";
  result = RunCli({"join", "--preview", shown.string(), "--source", source.string(),
                   "join_space=10", "join_format=PNG"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "图片尺寸: 800 x 380\n文件夹: " + (source / "day1").string() + "\n");
  ClearMagickWand(wand.get());
  ASSERT_TRUE(ReadPictureFile(wand.get(), shown, nullptr));
  MagickTextPtr format(MagickGetImageFormat(wand.get()));
  EXPECT_STREQ(format.get(), "PNG");
  EXPECT_EQ(MagickGetImageWidth(wand.get()), 800u);
  EXPECT_EQ(MagickGetImageHeight(wand.get()), 380u);

  // List mode: named after the first picture; without --out it is refused.
  const std::string a = (source / "day1/b.jpg").string();
  const std::string c = (source / "day1/c.gif").string();
  result = RunCli({"join", a, c});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "请选择图片拼接后保存到的位置\n");
  result = RunCli({"join", "--out", (folder / "list").string(), "join_layout=2", "join_format=PNG",
                   "join_png8=1", a, c});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(test::EntriesIn(folder / "list"), (std::vector<std::string>{"b_拼接后.png"}));

  // A picture that cannot be read is logged and the rest is joined.
  test::WriteFile(folder / "broken.png", "broken");
  result = RunCli({"join", "--out", (folder / "list").string(), "join_layout=2",
                   (folder / "broken.png").string(), c, a});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "无法获取图片的尺寸:\n" + (folder / "broken.png").string() + "\n\n");
  EXPECT_EQ(test::EntriesIn(folder / "list"),
            (std::vector<std::string>{"b_拼接后.png", "broken_拼接后.jpg"}));
}

TEST_F(ToolCommandTest, JoinWritesAPngTwoHundredThousandRowsLongAndRefusesOnePastTheLimit) {
  fs::create_directories(source / "tall");
  for (int i = 0; i < 4; ++i) {
    test::WriteSolid(source / "tall" / ("p" + std::to_string(i) + ".png"), 100, 50000,
                     i % 2 ? "#0000ff" : "#ff0000");
  }
  test::CommandResult result = RunCli(
      {"join", "--source", (source / "tall").string(), "--out", (folder / "out").string(),
       "join_format=PNG"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  {
    LargerMagickSides larger;
    MagickWandPtr joined = test::ReadBack(folder / "out/tall.png");
    EXPECT_EQ(MagickGetImageWidth(joined.get()), 100u);
    EXPECT_EQ(MagickGetImageHeight(joined.get()), 200000u);
    EXPECT_EQ(test::PixelAt(joined.get(), 50, 199999), "0,0,255,255");
  }

  // 21 of them are 1050000 rows: the group fails with its size and the limits, nothing is
  // written, and the exit status says a picture failed.
  for (int i = 4; i < 21; ++i) {
    fs::copy_file(source / "tall/p0.png", source / "tall" / ("p" + std::to_string(i) + ".png"));
  }
  result = RunCli({"join", "--source", (source / "tall").string(), "--out",
                   (folder / "out2").string(), "join_format=PNG"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "拼接图片失败: " + (source / "tall").string() +
                            "\n拼接后的图片尺寸: 100 x 1050000 像素, 支持的最大PNG图片: 宽和高各不超过 "
                            "1000000 像素, 且总共不超过 536870912 像素.\n请减少这组图片的数量或设置较小"
                            "的图片宽度(高度).\n\n");
  EXPECT_EQ(test::EntriesIn(folder / "out2"), std::vector<std::string>{});

  // The preview says the same, with the real size.
  result = RunCli({"join", "--preview", (folder / "shown.png").string(), "--source",
                   (source / "tall").string(), "join_format=PNG"});
  EXPECT_NE(result.out.find("图片尺寸: 100 x 1050000"), std::string::npos) << result.out;
  EXPECT_NE((result.out + result.err).find("支持的最大PNG图片: 宽和高各不超过 1000000 像素"),
            std::string::npos);
}

TEST_F(ToolCommandTest, JoinRefusalsAndExitStatuses) {
  test::WritePicture(source / "a.png", 30, 20, "PNG");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"join"}, 2, "源图片文件夹不能为空\n"},
      {{"join", "--source", source.string()},
       2,
       "文件夹 " + source.string() + " 中没有可拼接的图片，请重新选择。\n"},
      {{"join", "--source", source.string(), "join_load_format_option=16"},
       2,
       "加载的图片类型至少选择一项\n"},
      {{"join", (source / "a.png").string()}, 2, "图片数量不能少于2张\n"},
      {{"join", "--out", (folder / "a/b").string(), (source / "a.png").string(),
        (source / "a.png").string()},
       4,
       "创建文件夹 " + (folder / "a/b").string() + " 失败，错误码：2\n"},
      {{"join", "--out", (folder / "o").string(), "join_width_or_height_index=3",
        (source / "a.png").string(), (source / "a.png").string()},
       2,
       "这里不能为空\n"},
      {{"join", "--preview", (folder / "p.png").string(), (source / "a.png").string()}, 2, ""},
      {{"join", "join_sapce=1"}, 2, "未知的设置项: join_sapce\n"},
  };
  for (const Case& c : cases) {
    test::CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.status, c.status) << c.args.back();
    EXPECT_EQ(result.err, c.err) << c.args.back();
  }
  test::WritePicture(folder / "long.png", 4, 32751, "PNG");
  test::CommandResult too_tall =
      RunCli({"join", "--out", (folder / "o").string(), (folder / "long.png").string(),
              (folder / "long.png").string()});
  EXPECT_EQ(too_tall.status, 4);
  EXPECT_EQ(too_tall.err,
            "拼接图片失败: \n\n拼接后的图片高度: 65502 像素, 支持的最大JPG图片高度: 65500 像素.\n\n"
            "请将拼接后生成的JPG图片高度控制在 65500 像素内或选择保存为PNG格式.\n");
  test::CommandResult both = RunCli({"join", "--source", source.string(), "x.png"});
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("--source 和 FILE 只能选择一个"), std::string::npos);
  test::CommandResult help = RunCli({"join", "--help"});
  EXPECT_EQ(help.out.rfind("用法: brindle-cli join (--source DIR | FILE...)", 0), 0u);
}

TEST_F(ToolCommandTest, SliceEndToEnd) {
  test::WritePicture(source / "a.jpg", 1000, 750, "JPEG");
  fs::create_directory(source / "sub");
  test::WritePicture(source / "sub/b.png", 500, 20, "PNG");
  test::CommandResult result = RunCli(
      {"slice", "--source", source.string(), "slice_horizontal=1", "slice_horizontal_avg_value=4"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(test::EntriesIn(folder / "pics_处理后"),
            (std::vector<std::string>{"a-1.jpg", "a-2.jpg", "a-3.jpg", "a-4.jpg", "a.html"}));
  test::EnsureMagick();
  MagickWandPtr tile = MakeMagickWand();
  ASSERT_TRUE(ReadPictureFile(tile.get(), folder / "pics_处理后/a-3.jpg", nullptr));
  EXPECT_EQ(MagickGetImageWidth(tile.get()), 1000u);
  EXPECT_EQ(MagickGetImageHeight(tile.get()), 187u);

  const fs::path out = folder / "tiles";
  result = RunCli({"slice", "--source", source.string(), "--recursive", "--out", out.string(),
                   "slice_vertical=1", "slice_vertical_pixel=1", "slice_vertical_pixel_value=300",
                   "slice_format=PNG", "slice_png8=1", "slice_png8_color_count=32",
                   "slice_save_html=0", "slice_save_subfolder_by_file_name=1"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(test::EntriesIn(out),
            (std::vector<std::string>{"a", "a/a-1.png", "a/a-2.png", "a/a-3.png", "a/a-4.png",
                                      "sub", "sub/b", "sub/b/b-1.png", "sub/b/b-2.png"}));
  ASSERT_TRUE(ReadPictureFile(tile.get(), out / "a/a-4.png", nullptr));
  EXPECT_EQ(MagickGetImageWidth(tile.get()), 100u);
  EXPECT_LE(MagickGetImageColors(tile.get()), 32u);

  // Folders given relative to the working folder: the page still finds its tiles.
  const fs::path working = fs::current_path();
  fs::current_path(folder.path());
  result = RunCli({"slice", "--source", source.filename().string(), "--out", "relative",
                   "slice_horizontal=1", "slice_horizontal_avg_value=2"});
  fs::current_path(working);
  EXPECT_EQ(result.status, 0) << result.err;
  const fs::path page = folder / "relative" / "a.html";
  const std::string html = test::ReadFile(page);
  int tiles = 0;
  for (std::size_t at = html.find("src=\""); at != std::string::npos;
       at = html.find("src=\"", at + 1), ++tiles) {
    const std::size_t start = at + 5;
    const fs::path src = html.substr(start, html.find('"', start) - start);
    EXPECT_TRUE(fs::is_regular_file(page.parent_path() / src)) << src;
  }
  EXPECT_EQ(tiles, 2) << html;
}

TEST_F(ToolCommandTest, SliceRefusalsAndFailures) {
  test::WritePicture(source / "a.png", 30, 20, "PNG");
  struct Case {
    std::vector<std::string> settings;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{}, "【水平划分】与【垂直划分】至少勾选一项\n"},
      {{"slice_vertical=1"}, "这里不能为空\n"},
      {{"slice_horizontal=1", "slice_horizontal_avg_value=1000"}, "这里不能为空\n"},
      {{"slice_horizontal=1", "slice_horizontal_avg_value=two"},
       "设置项 slice_horizontal_avg_value 的值不是数字: two\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"slice", "--source", source.string()};
    args.insert(args.end(), c.settings.begin(), c.settings.end());
    test::CommandResult result = RunCli(args);
    EXPECT_EQ(result.status, 2) << args.back();
    EXPECT_EQ(result.err, c.err) << args.back();
  }
  EXPECT_EQ(test::EntriesIn(folder.path()), (std::vector<std::string>{"pics", "pics/a.png"}));

  // An unreadable picture is logged and skipped.
  test::WriteFile(source / "broken.jpg", "not a picture");
  const fs::path out = folder / "out";
  test::CommandResult result = RunCli({"slice", "--source", source.string(), "--out", out.string(),
                                       "slice_horizontal=1", "slice_horizontal_avg_value=2"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "图片读取失败:\n" + (source / "broken.jpg").string() + "\n\n");
  EXPECT_EQ(test::EntriesIn(out), (std::vector<std::string>{"a-1.jpg", "a-2.jpg", "a.html"}));

  // A tile folder that cannot be made stops the run.
  fs::remove(source / "broken.jpg");
  fs::create_directory(folder / "blocked");
  test::WriteFile(folder / "blocked/a", "a file where the folder goes");
  result = RunCli({"slice", "--source", source.string(), "--out", (folder / "blocked").string(),
                   "slice_horizontal=1", "slice_horizontal_avg_value=2",
                   "slice_save_subfolder_by_file_name=1"});
  EXPECT_EQ(result.status, 4);
  EXPECT_EQ(result.err, "任务中止！\n\n创建子文件夹 " + (folder / "blocked/a").string() +
                            " 失败，错误码：17\n");

  test::CommandResult help = RunCli({"slice", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("用法: brindle-cli slice --source DIR", 0), 0u);
  EXPECT_NE(RunCli({"--help"}).out.find("  slice --source DIR"), std::string::npos);
}

}  // namespace
}  // namespace brindle
