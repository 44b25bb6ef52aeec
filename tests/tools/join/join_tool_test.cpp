#include "tools/join/join_tool.h"

#include <gtest/gtest.h>

#include "base/info_log.h"
#include "platform/magick/magick_environment.h"
#include "support/test_support.h"
#include "tools/common/tool_source.h"
#include "tools/join/join_target_name.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

class JoinToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    source_ = folder_ / "pics";
    out_ = folder_ / "out";
    fs::create_directories(source_);
  }
  RunOutcome Run(const JoinJob& job) {
    RunObserver observer;
    std::atomic<bool> stop{false};
    return RunJoinJob(job, observer, stop);
  }
  test::TempFolder folder_;
  fs::path source_;
  fs::path out_;
};

TEST_F(JoinToolTest, OutputNamesNeverReplaceAFile) {
  fs::create_directories(out_);
  EXPECT_EQ(JoinListTargetPath(out_, "/d/a/b.c.jpg", ".jpg"), out_ / "b.c_拼接后.jpg");
  test::WriteFile(out_ / "b.c_拼接后.jpg", "x");
  EXPECT_EQ(JoinListTargetPath(out_, "/d/a/b.c.jpg", ".jpg"), out_ / "b.c_拼接后(2).jpg");
  EXPECT_EQ(JoinGroupTargetPath(out_, "/pics/day1", ".png"), out_ / "day1.png");
  test::WriteFile(out_ / "day1.png", "x");
  EXPECT_EQ(JoinGroupTargetPath(out_, "/pics/day1/", ".png"), out_ / "day1(2).png");
}

TEST_F(JoinToolTest, FolderModeJoinsEachSubFolderAlone) {
  fs::create_directories(source_ / "day1");
  fs::create_directories(source_ / "day2");
  fs::create_directories(source_ / "empty");
  test::WriteSolid(source_ / "ignored.png", 500, 500, "#000000");  // beside sub-folders: not used
  test::WriteSolid(source_ / "day1/a.png", 40, 20, "#ff0000");
  test::WriteSolid(source_ / "day1/b.gif", 80, 20, "#00ff00");
  test::WriteSolid(source_ / "day1/c.bmp", 40, 20, "#0000ff");     // left out by the mask
  test::WriteSolid(source_ / "day2/only.png", 40, 20, "#ff0000");  // one picture: skipped silently
  test::WriteFile(source_ / "empty/x.png", "broken");
  test::WriteFile(source_ / "empty/y.png", "broken");

  JoinJob job;
  job.source_folder = source_;
  job.output_folder = out_;
  job.settings.load_format_option = kLoadPng | kLoadGif;
  fs::create_directories(out_);
  RunOutcome outcome = Run(job);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.total, 3);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_GT(outcome.failed, 0);
  MagickWandPtr day1 = test::ReadBack(out_ / "day1.jpg");
  EXPECT_EQ(MagickGetImageWidth(day1.get()), 40u);
  EXPECT_EQ(MagickGetImageHeight(day1.get()), 30u);  // 80 × 20 became 40 × 10
  EXPECT_FALSE(fs::exists(out_ / "day2.jpg"));
  EXPECT_FALSE(fs::exists(out_ / "empty.jpg"));
  const std::string log = InfoLog::Global().Text();
  EXPECT_NE(log.find("文件夹中没有找到需要拼接的图片:\r\n" + (source_ / "empty").string()),
            std::string::npos);
  EXPECT_EQ(log.find("day2"), std::string::npos);
}

TEST_F(JoinToolTest, JpegTakes65500PixelsAndRefusesOneMore) {
  test::WriteSolid(source_ / "a.png", 4, 32750, "#ff0000");
  test::WriteSolid(source_ / "b.png", 4, 32750, "#0000ff");
  JoinJob job;
  job.source_folder = source_;
  job.output_folder = out_;
  fs::create_directories(out_);
  RunOutcome outcome = Run(job);
  EXPECT_EQ(outcome.written, 1);
  MagickWandPtr joined = test::ReadBack(out_ / "pics.jpg");
  EXPECT_EQ(MagickGetImageHeight(joined.get()), 65500u);

  // One pixel of spacing more: the group is logged and the run goes on.
  job.settings.space = 1;
  outcome = Run(job);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 0);
  EXPECT_EQ(InfoLog::Global().Text(),
            "拼接图片失败: " + source_.string() +
                "\r\n拼接后的图片高度: 65501 像素, 支持的最大JPG图片高度: 65500 像素.\r\n"
                "请将拼接后生成的JPG图片高度控制在 65500 像素内或选择保存为PNG格式.\r\n\r\n");
  EXPECT_FALSE(fs::exists(out_ / "pics(2).jpg"));

  // List mode ends the run with the message; PNG takes the same picture.
  job.settings.picture_list_source = true;
  job.pictures = {source_ / "b.png", source_ / "a.png"};
  outcome = Run(job);
  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text,
            "拼接图片失败: \n\n拼接后的图片高度: 65501 像素, 支持的最大JPG图片高度: 65500 像素.\n\n"
            "请将拼接后生成的JPG图片高度控制在 65500 像素内或选择保存为PNG格式.");
  job.settings.format = ToolOutputFormat::kPng;
  outcome = Run(job);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  MagickWandPtr png = test::ReadBack(out_ / "b_拼接后.png");
  EXPECT_EQ(MagickGetImageHeight(png.get()), 65501u);
  EXPECT_EQ(test::PixelAt(png.get(), 0, 0), "0,0,255,255");
  EXPECT_EQ(test::AlphaAt(png.get(), 0, 32750), 0);  // the spacing stays transparent
}

TEST_F(JoinToolTest, PngIsWrittenLongerThanEverydayPicturesAndRefusedOnlyPastItsLimits) {
  test::WriteSolid(source_ / "a.png", 3, 40000, "#ff0000");
  test::WriteSolid(source_ / "b.png", 3, 40000, "#0000ff");
  JoinJob job;
  job.source_folder = source_;
  job.output_folder = out_;
  job.settings.format = ToolOutputFormat::kPng;
  fs::create_directories(out_);
  RunOutcome outcome = Run(job);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(outcome.failed, 0);
  EXPECT_EQ(InfoLog::Global().Text(), "");
  {
    LargerMagickSides larger;  // reading it back takes the join's side limit too
    MagickWandPtr joined = test::ReadBack(out_ / "pics.png");
    EXPECT_EQ(MagickGetImageWidth(joined.get()), 3u);
    EXPECT_EQ(MagickGetImageHeight(joined.get()), 80000u);
    EXPECT_EQ(test::PixelAt(joined.get(), 1, 0), "255,0,0,255");
    EXPECT_EQ(test::PixelAt(joined.get(), 1, 79999), "0,0,255,255");
  }

  // 26 pictures of 40000 rows: 1040000 rows cannot be written. The group fails with its size and
  // the limits; nothing is written.
  const fs::path many = folder_ / "many";
  fs::create_directories(many);
  for (int i = 0; i < 26; ++i) {
    fs::copy_file(source_ / "a.png", many / ("p" + std::to_string(i) + ".png"));
  }
  job.source_folder = many;
  outcome = Run(job);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 0);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_EQ(InfoLog::Global().Text(),
            "拼接图片失败: " + many.string() +
                "\r\n拼接后的图片尺寸: 3 x 1040000 像素, 支持的最大PNG图片: 宽和高各不超过 "
                "1000000 像素, 且总共不超过 536870912 像素.\r\n请减少这组图片的数量或设置较小的"
                "图片宽度(高度).\r\n\r\n");
  EXPECT_FALSE(fs::exists(out_ / "many.png"));

  // A list ends the run with the message.
  job.settings.picture_list_source = true;
  job.pictures.clear();
  for (const auto& entry : fs::directory_iterator(many)) job.pictures.push_back(entry.path());
  outcome = Run(job);
  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  EXPECT_EQ(outcome.failed, 1);
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->caption, "错误");
  EXPECT_EQ(outcome.message->text,
            "拼接图片失败: \n\n拼接后的图片尺寸: 3 x 1040000 像素, 支持的最大PNG图片: 宽和高各不"
            "超过 1000000 像素, 且总共不超过 536870912 像素.\n\n请减少图片的数量或设置较小的图片"
            "宽度(高度).");
  EXPECT_EQ(std::distance(fs::directory_iterator(out_), fs::directory_iterator()), 1);
}

TEST_F(JoinToolTest, StartRefusalsInOrder) {
  test::WriteSolid(source_ / "a.png", 4, 4, "#ff0000");
  JoinJob job;
  auto refusal = [&job] {
    std::optional<Refusal> r = ValidateJoinStart(job);
    return r ? r->control + "|" + r->hint_title + "|" + r->hint_text + "|" + r->message
             : std::string("none");
  };
  EXPECT_EQ(refusal(), "source_button|请选择【源图片文件夹】|源图片文件夹不能为空|");
  job.source_folder = folder_ / "gone";
  EXPECT_EQ(refusal(), "source_button|请重新选择|选择的【源图片文件夹】不存在|");
  job.source_folder = source_;
  job.settings.load_format_option = 16;  // only boxes the join tool does not show
  EXPECT_EQ(refusal(), "load_format_jpg|请选择|加载的图片类型至少选择一项|");
  job.settings.load_format_option = 15;
  EXPECT_EQ(refusal(), "source_button|请重新选择|没有可拼接的图片|文件夹 " + source_.string() +
                           " 中没有可拼接的图片，请重新选择。");
  test::WriteSolid(source_ / "b.png", 4, 4, "#ff0000");
  EXPECT_EQ(refusal(), "output_button|请选择|请选择图片拼接后保存到的位置|");
  job.output_folder = folder_ / "missing" / "out";
  EXPECT_EQ(refusal(), "|||创建文件夹 " + job.output_folder.string() + " 失败，错误码：2");
  job.output_folder = out_;  // made here, one level
  job.settings.side_policy = JoinSidePolicy::kCustom;
  EXPECT_EQ(refusal(), "custom_length_box|请输入|这里不能为空|");
  EXPECT_TRUE(fs::is_directory(out_));
  job.settings.custom_length = 0;
  EXPECT_EQ(refusal(), "custom_length_box|输入错误|这里不能小于1|");
  job.settings.custom_length = 1;
  EXPECT_EQ(refusal(), "none");

  job.settings.picture_list_source = true;
  job.pictures = {source_ / "a.png"};
  EXPECT_EQ(refusal(), "add_button|请先添加图片|图片数量不能少于2张|");
}

}  // namespace
}  // namespace brindle
