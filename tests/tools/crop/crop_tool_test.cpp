#include "tools/crop/crop_tool.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "base/info_log.h"
#include "support/test_support.h"
#include "tools/common/tool_source.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using Size = std::pair<size_t, size_t>;

Size SizeOf(const fs::path& path) {
  MagickWandPtr wand = test::ReadBack(path);
  return {MagickGetImageWidth(wand.get()), MagickGetImageHeight(wand.get())};
}

std::string FormatOf(const fs::path& path) {
  MagickTextPtr format(MagickGetImageFormat(test::ReadBack(path).get()));
  return format.get();
}

class CropToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    source = folder / "src";
    out = folder / "out";
    fs::create_directory(source);
    job.source_folder = source;
    job.save_mode = CropSaveMode::kToFolder;
    job.output_folder = out;
    job.settings.mode = kCropFixedSize;
    job.settings.fixed_width = 30;
    job.settings.fixed_height = 20;
  }

  RunOutcome Run() {
    RunList list;
    std::optional<Refusal> refusal = ValidateCropStart(job, list);
    EXPECT_FALSE(refusal) << refusal->Text();
    return RunCropJob(job, std::move(list), observer, stop);
  }

  TempFolder folder;
  fs::path source;
  fs::path out;
  CropJob job;
  RunObserver observer;
  std::atomic<bool> stop{false};
};

TEST_F(CropToolTest, StartValidationInOrder) {
  struct Step {
    std::function<void(CropJob&)> change;  // makes the check before pass, or this one fail
    std::string control, title, text;
  };
  auto refusal_of = [&]() {
    RunList list;
    std::optional<Refusal> refusal = ValidateCropStart(job, list);
    return refusal ? *refusal : Refusal{};
  };
  job = CropJob();
  job.settings.mode = kCropRatio;
  const std::vector<Step> steps = {
      {[](CropJob&) {}, kSourceButton, "请选择【源图片文件夹】", "源图片文件夹不能为空"},
      {[&](CropJob& j) { j.source_folder = folder / "gone"; }, kSourceButton, "请重新选择",
       "选择的【源图片文件夹】不存在"},
      {[&](CropJob& j) {
         j.source_folder = source;
         j.settings.load_format_option = kLoadPsd;
       },
       kCropJpgBox, "请选择", "加载的图片类型至少选择一项"},
      {[](CropJob& j) { j.settings.picture_list_source = true; }, kCropAddButton, "请先添加图片",
       "当前源图片列表为空"},
      {[&](CropJob& j) { j.pictures = {source / "a.jpg"}; }, kCropRatioWidthBox, "请输入",
       "这里不能为空"},
      {[](CropJob& j) { j.settings.ratio_width = 0; }, kCropRatioWidthBox, "这里不能小于 1",
       "请重新输入"},
      {[](CropJob& j) { j.settings.ratio_width = 4; }, kCropRatioHeightBox, "请输入",
       "这里不能为空"},
      {[](CropJob& j) { j.settings.ratio_height = 0; }, kCropRatioHeightBox, "这里不能小于 1",
       "请重新输入"},
      {[](CropJob& j) { j.settings.mode = kCropFixedSize; }, kCropWidthBox, "请输入",
       "宽与高至少填写一项"},
      {[](CropJob& j) { j.settings.mode = kCropPercentage; }, kCropWidthBox, "请输入",
       "宽与高至少填写一项"},
      {[](CropJob& j) {
         j.settings.mode = kCropTrimSides;
         j.settings.side_percent_top = 5;  // the other unit's boxes do not count
       },
       kCropLeftBox, "请输入", "左、右、上、下至少填写一项"},
      {[](CropJob& j) { j.settings.side_fixed_bottom = 0; }, kCropSaveToFolderOption, "请选择",
       "请选择图片处理后保存的方式"},
      {[](CropJob& j) { j.save_mode = CropSaveMode::kToFolder; }, kCropOutputButton, "请选择",
       "请选择图片处理后保存到的位置"},
  };
  for (const Step& step : steps) {
    step.change(job);
    Refusal refusal = refusal_of();
    EXPECT_EQ(refusal.control, step.control) << step.text;
    EXPECT_EQ(refusal.hint_title, step.title) << step.text;
    EXPECT_EQ(refusal.hint_text, step.text);
    EXPECT_EQ(refusal.icon, MessageIcon::kWarning) << step.text;
  }

  // A folder without a croppable picture: balloon and message; the output folder was made first.
  job.settings.picture_list_source = false;
  job.settings.load_format_option = kBasicLoadFormats;
  job.output_folder = out;
  test::WritePicture(source / "a.tif", 10, 10, "TIFF");
  Refusal empty = refusal_of();
  EXPECT_EQ(empty.hint_text, "没有可裁剪的图片");
  EXPECT_EQ(empty.message, "文件夹 " + source.string() + " 中没有可裁剪的图片，请重新选择。");
  EXPECT_EQ(empty.caption, "提示");
  EXPECT_TRUE(fs::is_directory(out));

  job.output_folder = folder / "missing/out";
  Refusal unmade = refusal_of();
  EXPECT_EQ(unmade.message, "创建文件夹 " + (folder / "missing/out").string() + " 失败，错误码：2");
  EXPECT_EQ(unmade.caption, "错误");
  EXPECT_EQ(unmade.icon, MessageIcon::kError);
}

TEST_F(CropToolTest, FolderRunNamesAndMirrorsSubFolders) {
  test::WritePicture(source / "x.png", 100, 80, "PNG");
  test::WritePicture(source / "x.gif", 100, 80, "GIF");
  test::WritePicture(source / "skip.tif", 100, 80, "TIFF");
  fs::create_directories(source / "sub/empty");
  test::WritePicture(source / "sub/y.BMP", 100, 80, "BMP");
  job.include_sub_folders = true;
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 3);
  EXPECT_EQ(outcome.folder_to_open, out);
  EXPECT_EQ(test::EntriesIn(out),
            (std::vector<std::string>{"sub", "sub/empty", "sub/y.jpg", "x(2).jpg", "x.jpg"}));
  EXPECT_EQ(SizeOf(out / "x.jpg"), (Size{30, 20}));
  EXPECT_EQ(FormatOf(out / "sub/y.jpg"), "JPEG");

  // Keeping the format keeps each picture's own extension as written.
  job.keep_format = true;
  job.output_folder = folder / "kept";
  ASSERT_EQ(Run().written, 3);
  EXPECT_EQ(test::EntriesIn(folder / "kept"),
            (std::vector<std::string>{"sub", "sub/empty", "sub/y.BMP", "x.gif", "x.png"}));
  EXPECT_EQ(FormatOf(folder / "kept/x.gif"), "GIF");
  EXPECT_EQ(FormatOf(folder / "kept/sub/y.BMP"), "BMP");
  EXPECT_EQ(SizeOf(folder / "kept/x.png"), (Size{30, 20}));
}

TEST_F(CropToolTest, ListRunWritesPngKeepingTransparency) {
  test::WriteHalfTransparentPng(folder / "t.png", 40, 20);
  test::WriteAnimatedGif(folder / "anim.gif", 40, 20);
  job.settings.picture_list_source = true;
  job.pictures = {folder / "t.png", folder / "anim.gif"};
  job.settings.format = ToolOutputFormat::kPng;
  job.settings.mode = kCropTrimSides;
  job.settings.side_fixed_top = 5;
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_EQ(InfoLog::Global().Text(),
            "不支持裁剪动态gif图片:\r\n" + (folder / "anim.gif").string() + "\r\n\r\n");
  MagickWandPtr kept = test::ReadBack(out / "t.png");
  EXPECT_EQ(MagickGetImageHeight(kept.get()), 15u);
  EXPECT_EQ(test::AlphaAt(kept.get(), 5, 5), 0);
}

TEST_F(CropToolTest, OverwriteKeepsFormatAndAFailedWriteLeavesTheSourceAsItWas) {
  test::WritePicture(source / "a.jpg", 200, 100, "JPEG");
  test::WritePicture(source / "b.png", 400, 300, "PNG");
  test::WritePicture(source / "c.gif", 200, 100, "GIF");
  const std::string b_before = test::ReadFile(source / "b.png");
  const std::string c_before = test::ReadFile(source / "c.gif");
  job.save_mode = CropSaveMode::kOverwrite;
  job.output_folder.clear();
  job.settings.fixed_width = 150;
  job.settings.fixed_height = 100;

  // The detailed b.png no longer fits under the file size limit; a.jpg, cropped, does.
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit lowered = saved;
  lowered.rlim_cur = 40 * 1024;
  setrlimit(RLIMIT_FSIZE, &lowered);
  RunOutcome outcome = Run();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  EXPECT_EQ(outcome.written, 1);
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text.rfind("MagickWriteImage() 发生错误：\n\n", 0), 0u);
  EXPECT_NE(outcome.message->text.find("目标文件名：" + (source / "b.png").string()),
            std::string::npos);
  EXPECT_EQ(outcome.folder_to_open, source);
  EXPECT_EQ(test::EntriesIn(source), (std::vector<std::string>{"a.jpg", "b.png", "c.gif"}));
  EXPECT_EQ(test::ReadFile(source / "b.png"), b_before);
  EXPECT_EQ(test::ReadFile(source / "c.gif"), c_before);
  EXPECT_EQ(SizeOf(source / "a.jpg"), (Size{150, 100}));
  MagickWandPtr a = test::ReadBack(source / "a.jpg");
  EXPECT_EQ(MagickGetImageCompressionQuality(a.get()), 100u);

  // Without the limit the rest is cropped in its own format.
  outcome = Run();
  EXPECT_EQ(outcome.written, 3);
  EXPECT_EQ(SizeOf(source / "b.png"), (Size{150, 100}));
  EXPECT_EQ(FormatOf(source / "c.gif"), "GIF");
  EXPECT_FALSE(fs::exists(folder / "out"));
}

TEST_F(CropToolTest, ACutTheImageLibraryRefusesStopsTheRunWithItsReasonAndWritesNothing) {
  test::WriteJpeg(source / "big.jpg", 400, 400, 90);  // opaque: nothing to flatten
  job.settings.fixed_width = 200;
  job.settings.fixed_height = 200;
  RunOutcome outcome;
  {
    // The picture's pixels (400 × 400 × 8 bytes) fit in the library's memory, the cut part beside
    // them does not, and there is no disk to spill to.
    test::ResourceLimit memory(MemoryResource, 1'400'000);
    test::ResourceLimit map(MapResource, 0);
    test::ResourceLimit disk(DiskResource, 0);
    outcome = Run();
  }
  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  EXPECT_EQ(outcome.written, 0);
  ASSERT_TRUE(outcome.message);
  const std::string& text = outcome.message->text;
  EXPECT_EQ(text.rfind("MagickWriteImage() 发生错误：\n\n", 0), 0u) << text;
  EXPECT_NE(text.find("exhausted"), std::string::npos) << text;  // ImageMagick's own reason
  EXPECT_NE(text.find("目标文件名：" + (out / "big.jpg").string()), std::string::npos) << text;
  EXPECT_TRUE(test::FilesIn(out).empty());
}

}  // namespace
}  // namespace brindle
