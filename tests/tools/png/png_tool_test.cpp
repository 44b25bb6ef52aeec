#include "tools/png/png_tool.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "base/info_log.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

bool IsPng(const fs::path& path) {
  return test::ReadFile(path).substr(0, 8) == "\x89PNG\r\n\x1a\n";
}

class PngToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    source = folder / "src";
    out = folder / "out";
    fs::create_directory(source);
    job.source_folder = source;
    job.save_mode = PngSaveMode::kToFolder;
    job.output_folder = out;
  }

  RunOutcome Run() { return RunPngJob(job, observer, stop); }

  void Zoom(PngZoomKind kind, PngZoomSide side, int value) {
    job.settings.zoom = true;
    job.settings.zoom_kind = kind;
    job.settings.zoom_side = side;
    job.settings.zoom_value = value;
  }

  static std::pair<size_t, size_t> SizeOf(const fs::path& path) {
    MagickWandPtr wand = test::ReadBack(path);
    return {MagickGetImageWidth(wand.get()), MagickGetImageHeight(wand.get())};
  }

  TempFolder folder;
  fs::path source;
  fs::path out;
  PngJob job;
  RunObserver observer;
  std::atomic<bool> stop{false};
};

TEST_F(PngToolTest, ShrinkToWidthKeepsProportions) {
  test::WriteSolid(source / "big.png", 1000, 750, "#406080");
  test::WriteSolid(source / "small.png", 600, 450, "#406080");
  Zoom(PngZoomKind::kShrink, PngZoomSide::kWidth, 800);
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(SizeOf(out / "big.png"), (std::pair<size_t, size_t>{800, 600}));
  EXPECT_EQ(SizeOf(out / "small.png"), (std::pair<size_t, size_t>{600, 450}));
  EXPECT_EQ(outcome.folder_to_open, out);
}

TEST_F(PngToolTest, ScaleRoundsTheOtherSideHalfUp) {
  test::WriteSolid(source / "a.png", 1000, 499, "#808080");
  test::WriteSolid(source / "b.png", 1000, 501, "#808080");
  Zoom(PngZoomKind::kScale, PngZoomSide::kWidth, 3);
  ASSERT_EQ(Run().written, 2);
  EXPECT_EQ(SizeOf(out / "a.png"), (std::pair<size_t, size_t>{3, 1}));
  EXPECT_EQ(SizeOf(out / "b.png"), (std::pair<size_t, size_t>{3, 2}));
}

TEST_F(PngToolTest, EnlargeByHeightWithAndWithoutProportions) {
  test::WriteSolid(source / "a.png", 400, 200, "#336699");
  Zoom(PngZoomKind::kEnlarge, PngZoomSide::kHeight, 300);
  ASSERT_EQ(Run().written, 1);
  EXPECT_EQ(SizeOf(out / "a.png"), (std::pair<size_t, size_t>{600, 300}));
  job.settings.zoom_keep_proportions = false;
  ASSERT_EQ(Run().written, 1);
  EXPECT_EQ(SizeOf(out / "a(2).png"), (std::pair<size_t, size_t>{400, 300}));
}

TEST_F(PngToolTest, Png8IsOnByDefaultAndOnlyPngFilesAreTaken) {
  test::WritePicture(source / "photo.png", 160, 120, "PNG");
  test::WritePicture(source / "photo.jpg", 160, 120, "JPEG");
  test::WritePicture(source / "UPPER.PNG", 16, 12, "PNG");
  fs::create_directory(source / "sub");
  test::WritePicture(source / "sub/in-sub.png", 16, 12, "PNG");
  job.settings.png8_color_count = 32;
  ASSERT_EQ(Run().written, 2);
  EXPECT_EQ(test::EntriesIn(out), (std::vector<std::string>{"UPPER.png", "photo.png"}));
  MagickWandPtr back = test::ReadBack(out / "photo.png");
  EXPECT_EQ(MagickGetImageType(back.get()), PaletteType);
  EXPECT_LE(MagickGetImageColors(back.get()), 32u);

  job.include_sub_folders = true;
  job.output_folder = folder / "all";
  job.settings.png8 = false;
  ASSERT_EQ(Run().written, 3);
  EXPECT_EQ(test::EntriesIn(folder / "all"),
            (std::vector<std::string>{"UPPER.png", "photo.png", "sub", "sub/in-sub.png"}));
  EXPECT_GT(MagickGetImageColors(test::ReadBack(folder / "all/photo.png").get()), 256u);
}

TEST_F(PngToolTest, TransparencyKeptOrFlattenedOntoWhite) {
  test::WriteHalfTransparentPng(source / "t.png", 40, 20);
  job.settings.png8 = false;
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr kept = test::ReadBack(out / "t.png");
  EXPECT_EQ(test::AlphaAt(kept.get(), 5, 10), 0);

  job.settings.transparent = false;
  job.output_folder = folder / "flat";
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr flat = test::ReadBack(folder / "flat/t.png");
  EXPECT_EQ(MagickGetImageAlphaChannel(flat.get()), MagickFalse);
  EXPECT_EQ(test::PixelAt(flat.get(), 5, 10), "255,255,255,255");
  EXPECT_EQ(test::PixelAt(flat.get(), 35, 10), "0,0,255,255");

  // PNG-8 keeps the transparency through its palette.
  job.settings.transparent = true;
  job.settings.png8 = true;
  job.output_folder = folder / "png8";
  ASSERT_EQ(Run().written, 1);
  MagickWandPtr png8 = test::ReadBack(folder / "png8/t.png");
  EXPECT_EQ(test::AlphaAt(png8.get(), 5, 10), 0);
  EXPECT_EQ(test::PixelAt(png8.get(), 35, 10), "0,0,255,255");
}

TEST_F(PngToolTest, BlackAndWhite) {
  test::WriteSolid(source / "red.png", 20, 20, "#ff0000");
  job.settings.black_white = true;
  ASSERT_EQ(Run().written, 1);
  std::string pixel = test::PixelAt(test::ReadBack(out / "red.png").get(), 10, 10);
  std::string grey = pixel.substr(0, pixel.find(','));
  EXPECT_EQ(pixel, grey + "," + grey + "," + grey + ",255");
}

TEST_F(PngToolTest, OverwriteWritesEachFileBackAsPng) {
  test::WritePicture(source / "a.png", 50, 40, "PNG");
  test::WritePicture(source / "b.png", 50, 40, "JPEG");  // a JPEG under a PNG name
  fs::create_symlink(source / "a.png", source / "link.png");
  job.save_mode = PngSaveMode::kOverwrite;
  job.output_folder.clear();
  RunOutcome outcome = Run();
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 3);
  EXPECT_EQ(outcome.folder_to_open, source);
  EXPECT_EQ(test::EntriesIn(source), (std::vector<std::string>{"a.png", "b.png", "link.png"}));
  EXPECT_TRUE(IsPng(source / "b.png"));
  EXPECT_TRUE(fs::is_symlink(source / "link.png"));
  EXPECT_EQ(MagickGetImageType(test::ReadBack(source / "a.png").get()), PaletteType);
  EXPECT_FALSE(fs::exists(folder / "src_处理后"));
}

TEST_F(PngToolTest, OverwriteLeavesEveryFileAValidPngWhenAWriteFails) {
  test::WriteSolid(source / "a.png", 300, 200, "#204080");
  test::WritePicture(source / "b.png", 40, 30, "PNG");
  test::WriteSolid(source / "c.png", 300, 200, "#802040");
  const std::string b_before = test::ReadFile(source / "b.png");
  const std::string c_before = test::ReadFile(source / "c.png");
  // Enlarged, the detailed b.png no longer fits under the file size limit below; the flat
  // pictures stay small.
  Zoom(PngZoomKind::kEnlarge, PngZoomSide::kWidth, 300);
  job.save_mode = PngSaveMode::kOverwrite;

  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit lowered = saved;
  lowered.rlim_cur = 16 * 1024;
  setrlimit(RLIMIT_FSIZE, &lowered);
  RunOutcome outcome = Run();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(outcome.end, RunEnd::kAborted) << InfoLog::Global().Text();
  EXPECT_EQ(outcome.written, 1);
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text,
            "保存图片时发生错误，请检查硬盘空间是否用完。\n\n目标文件名：\n" +
                (source / "b.png").string());
  EXPECT_EQ(InfoLog::Global().Text(), "fwrite('" + (source / "b.png").string() +
                                          "') error: 27(File too large)\r\n---请进入官方网站 "
                                          "www.brindle.example 联系我们的客服。\r\n\r\n\r\n");
  // a.png was rewritten, b.png is as it was (not cut short), c.png was not reached; no
  // temporary file is left.
  EXPECT_EQ(test::EntriesIn(source), (std::vector<std::string>{"a.png", "b.png", "c.png"}));
  EXPECT_EQ(MagickGetImageType(test::ReadBack(source / "a.png").get()), PaletteType);
  EXPECT_EQ(test::ReadFile(source / "b.png"), b_before);
  EXPECT_EQ(test::ReadFile(source / "c.png"), c_before);
  for (const char* name : {"a.png", "b.png", "c.png"}) {
    EXPECT_TRUE(IsPng(source / name)) << name;
    EXPECT_GT(MagickGetImageWidth(test::ReadBack(source / name).get()), 0u) << name;
  }
}

TEST_F(PngToolTest, TargetNamesAreNumberedPastTakenOnes) {
  fs::create_directory(out);
  test::WriteFile(out / "a.png", "");
  test::WriteFile(out / "a(2).png", "");
  EXPECT_EQ(PngTargetPath(out, "a.png"), out / "a(3).png");
  EXPECT_EQ(PngTargetPath(out, "b.x.png"), out / "b.x.png");
  EXPECT_EQ(PngTargetPath(out, "c"), out / "c.png");
}

TEST_F(PngToolTest, StartValidation) {
  std::optional<Refusal> refusal = ValidatePngStart(job);
  EXPECT_FALSE(refusal);

  job.settings.zoom = true;
  refusal = ValidatePngStart(job);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->control, kZoomValueBox);
  EXPECT_EQ(refusal->hint_title, "请输入");
  EXPECT_EQ(refusal->hint_text, "这里不能为空");
  EXPECT_EQ(refusal->icon, MessageIcon::kWarning);

  job.settings.zoom_value = 0;
  refusal = ValidatePngStart(job);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->hint_title, "输入错误");
  EXPECT_EQ(refusal->hint_text, "这里不能小于1");
  EXPECT_EQ(refusal->icon, MessageIcon::kError);
  EXPECT_TRUE(refusal->take_focus);

  job.settings.zoom_value = 1;
  job.save_mode = PngSaveMode::kNone;
  refusal = ValidatePngStart(job);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->control, kSaveToFolderOption);
  EXPECT_EQ(refusal->hint_title, "请选择");
  EXPECT_EQ(refusal->hint_text, "请选择图片处理后保存的方式");
  EXPECT_FALSE(refusal->take_focus);

  job.source_folder = folder / "gone";
  refusal = ValidatePngStart(job);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->hint_text, "选择的【源图片文件夹】不存在");
}

TEST_F(PngToolTest, RunSettings) {
  job.settings.zoom = false;
  job.settings.zoom_value = 640;
  EXPECT_FALSE(PngRunSettingsOf(job).zoom);
  job.settings.zoom = true;
  job.settings.zoom_kind = PngZoomKind::kScale;
  job.settings.zoom_side = PngZoomSide::kHeight;
  job.settings.zoom_keep_proportions = false;
  job.save_mode = PngSaveMode::kOverwrite;
  PngRunSettings run = PngRunSettingsOf(job);
  ASSERT_TRUE(run.zoom);
  EXPECT_EQ(run.zoom->length, 640);
  EXPECT_EQ(run.zoom->kind, PngZoomKind::kScale);
  EXPECT_EQ(run.zoom->side, PngZoomSide::kHeight);
  EXPECT_FALSE(run.zoom->keep_proportions);
  EXPECT_TRUE(run.overwrite);
  EXPECT_TRUE(run.png8);
}

}  // namespace
}  // namespace brindle
