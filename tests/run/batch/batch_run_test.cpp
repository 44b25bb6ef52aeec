#include "run/batch/batch_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/info_log.h"
#include "recipe/options_file.h"
#include "run/batch/batch_progress.h"
#include "run/batch/thread_count.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(DecideThreadCount, FollowsMemoryProcessorsAndPictures) {
  const std::vector<std::uint64_t> small(5, kMiB);
  EXPECT_EQ(DecideThreadCount(2, {4096 * kMiB, 2}, 10, small), 1);  // two processors
  EXPECT_EQ(DecideThreadCount(2, {4096 * kMiB, 3}, 2, small), 2);
  EXPECT_EQ(DecideThreadCount(2, {4096 * kMiB, 3}, 1, small), 1);   // one picture
  EXPECT_EQ(DecideThreadCount(2, {900 * kMiB, 4}, 10, small), 1);   // 900 / 500 = 1
  EXPECT_EQ(DecideThreadCount(2, {1000 * kMiB, 4}, 10, small), 2);  // 1000 / 500 = 2
  EXPECT_EQ(DecideThreadCount(2, {400 * kMiB, 4}, 10, small), 1);
  EXPECT_EQ(DecideThreadCount(2, {std::nullopt, 8}, 10, small), 1);  // memory unknown
  EXPECT_EQ(DecideThreadCount(1, {4096 * kMiB, 8}, 10, small), 1);
  EXPECT_EQ(DecideThreadCount(0, {4096 * kMiB, 8}, 10, small), 2);  // read as 2

  std::vector<std::uint64_t> third_large = small;
  third_large[2] = 60 * kMiB;
  EXPECT_EQ(DecideThreadCount(2, {4096 * kMiB, 8}, 10, third_large), 1);
  std::vector<std::uint64_t> sixth_large = small;
  sixth_large.push_back(60 * kMiB);
  EXPECT_EQ(DecideThreadCount(2, {4096 * kMiB, 8}, 10, sixth_large), 2);
}

TEST(ReadMachineFacts, ReadsThisMachine) {
  MachineFacts facts = ReadMachineFacts();
  ASSERT_TRUE(facts.available_memory);
  EXPECT_GT(*facts.available_memory, 0u);
  EXPECT_GE(facts.processors, 1u);
}

TEST(BatchProgress, TextAndBarScale) {
  EXPECT_EQ(BatchProgressText(33, 26), "共 33 张图片，正在处理第 26 张。");
  EXPECT_EQ(ProgressBarDivisor(65535), 1);
  EXPECT_EQ(ProgressBarDivisor(65536), 2);
  EXPECT_EQ(ProgressBarDivisor(70000), 2);
  EXPECT_EQ(70000 / ProgressBarDivisor(70000), 35000);
  EXPECT_EQ(ProgressBarDivisor(200000), 4);
}

// Records progress and can ask for a stop when a given picture is taken.
class Recorder : public RunObserver {
 public:
  explicit Recorder(std::atomic<bool>* stop = nullptr, int stop_at = 0)
      : stop_(stop), stop_at_(stop_at) {}
  void OnPictureStarted(int index, int count) override {
    std::lock_guard<std::mutex> lock(mutex_);
    progress.emplace_back(count, index + 1);
    if (stop_ && index + 1 == stop_at_) stop_->store(true);
  }
  void OnPictureDone(const PictureOutcome& outcome) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (outcome.end == PictureEnd::kWritten) {
      written.push_back(static_cast<std::size_t>(outcome.index));
    } else {
      reasons.push_back(outcome.reason);
    }
  }
  std::vector<std::pair<int, int>> progress;
  std::vector<std::size_t> written;
  std::vector<std::string> reasons;

 private:
  std::mutex mutex_;
  std::atomic<bool>* stop_;
  int stop_at_;
};

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    recipe_.options = InitialProcessingOptions();
    recipe_.options.bSize = 1;
    recipe_.options.sizeValue = 40;
    fs::create_directory(sources_);
  }

  PictureEntry Entry(const std::string& name, size_t width, size_t height, const char* format) {
    fs::path path = sources_ / name;
    test::WritePicture(path, width, height, format);
    PictureEntry entry;
    entry.name = name;
    entry.path = path;
    return entry;
  }

  std::map<std::string, std::string> Written(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::directory_iterator(folder)) {
      files[item.path().filename().string()] = test::ReadFile(item.path());
    }
    return files;
  }

  TempFolder folder_;
  fs::path sources_ = folder_ / "sources";
  RunRecipe recipe_;
};

TEST_F(BatchRunTest, OneAndTwoWorkersWriteTheSameFiles) {
  std::vector<PictureEntry> entries;
  for (int i = 0; i < 6; ++i)
    entries.push_back(Entry("p" + std::to_string(i) + ".png", 90, 60, "PNG"));
  entries.push_back(Entry("p0.bmp", 90, 60, "BMP"));  // collides with p0.png's name

  std::map<std::string, std::string> results[2];
  for (int threads : {1, 2}) {
    fs::path out = folder_ / ("out" + std::to_string(threads));
    fs::create_directory(out);
    BatchSettings settings;
    settings.placement = PlacementMode::kSaveToFolder;
    settings.target_folder = out.string();
    settings.thread_count = threads;
    ASSERT_FALSE(PrepareBatchRun(settings, entries));
    Recorder recorder;
    std::atomic<bool> stop{false};
    RunOutcome outcome = RunBatch(recipe_, settings, entries, recorder, stop);
    EXPECT_EQ(outcome.written, 7);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_EQ(outcome.end, RunEnd::kCompleted);
    ASSERT_EQ(recorder.progress.size(), 7u);
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(recorder.progress[n - 1], std::make_pair(7, n));
    results[threads - 1] = Written(out);
  }
  // Names are decided in list order even with two workers; the bytes are the same too.
  ASSERT_EQ(results[0].size(), 7u);
  EXPECT_TRUE(results[0].count("p0.jpg") && results[0].count("p0(2).jpg"));
  std::vector<std::string> names0, names1;
  for (auto& [name, bytes] : results[0]) names0.push_back(name);
  for (auto& [name, bytes] : results[1]) names1.push_back(name);
  EXPECT_EQ(names0, names1);
  EXPECT_EQ(results[0]["p3.jpg"], results[1]["p3.jpg"]);
}

TEST_F(BatchRunTest, StopFinishesThePictureInHand) {
  std::vector<PictureEntry> entries;
  for (int i = 0; i < 5; ++i)
    entries.push_back(Entry("s" + std::to_string(i) + ".png", 60, 40, "PNG"));
  fs::path out = folder_ / "out";
  fs::create_directory(out);
  BatchSettings settings;
  settings.placement = PlacementMode::kSaveToFolder;
  settings.target_folder = out.string() + "/";
  std::atomic<bool> stop{false};
  Recorder recorder(&stop, 2);
  RunOutcome outcome = RunBatch(recipe_, settings, entries, recorder, stop);
  EXPECT_EQ(outcome.end, RunEnd::kStopped);
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(Written(out).size(), 2u);
  EXPECT_TRUE(fs::exists(out / "s1.jpg"));
}

TEST_F(BatchRunTest, FailedPictureLeavesNoReservedFileWithTwoWorkers) {
  std::vector<PictureEntry> entries{Entry("good.png", 50, 50, "PNG"),
                                    Entry("ok.png", 50, 50, "PNG")};
  test::WriteFile(sources_ / "bad.png", "\x89PNG broken");
  PictureEntry bad;
  bad.name = "bad.png";
  bad.path = sources_ / "bad.png";
  entries.insert(entries.begin() + 1, bad);

  fs::path out = folder_ / "out";
  fs::create_directory(out);
  BatchSettings settings;
  settings.placement = PlacementMode::kSaveToFolder;
  settings.target_folder = out.string();
  settings.thread_count = 2;
  Recorder recorder;
  std::atomic<bool> stop{false};
  RunOutcome outcome = RunBatch(recipe_, settings, entries, recorder, stop);
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(outcome.failed, 1);
  std::map<std::string, std::string> files = Written(out);
  EXPECT_EQ(files.size(), 2u);
  EXPECT_FALSE(files.count("bad.jpg"));
  EXPECT_NE(InfoLog::Global().Text().find("图片读取失败:\r\n" + bad.path.string()),
            std::string::npos);
}

TEST_F(BatchRunTest, APictureWhoseBorderTheImageLibraryRefusesFailsAloneWithItsReason) {
  recipe_.options.bSize = 0;
  recipe_.options.bBorder = 1;
  recipe_.options.border_size = 10;
  recipe_.options.border_padding = 0;
  std::vector<PictureEntry> entries{Entry("wide.png", 90, 30, "PNG"),
                                    Entry("narrow.png", 40, 30, "PNG")};
  fs::path out = folder_ / "out";
  fs::create_directory(out);
  BatchSettings settings;
  settings.placement = PlacementMode::kSaveToFolder;
  settings.target_folder = out.string();
  settings.thread_count = 1;
  Recorder recorder;
  std::atomic<bool> stop{false};
  RunOutcome outcome;
  {
    // Framed, the wide picture is 110 pixels wide: past the limit; the narrow one, 60, is not.
    test::ResourceLimit width(WidthResource, 100);
    outcome = RunBatch(recipe_, settings, entries, recorder, stop);
  }
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(outcome.failed, 1);
  std::map<std::string, std::string> files = Written(out);
  EXPECT_EQ(files.size(), 1u);
  EXPECT_TRUE(files.count("narrow.jpg"));
  const std::string log = InfoLog::Global().Text();
  EXPECT_EQ(log.rfind("图片处理失败：\r\n" + entries[0].path.string() + "\r\n原因：", 0), 0u)
      << log;
  EXPECT_NE(log.find("limit"), std::string::npos) << log;  // ImageMagick's own reason
}

TEST_F(BatchRunTest, OverwriteReplacesSourcesAndResetsTheirTurns) {
  std::vector<PictureEntry> entries{Entry("a.png", 80, 40, "PNG"), Entry("b.jpg", 80, 40, "JPEG")};
  test::WriteFile(sources_ / "c.png", "not a picture");
  PictureEntry broken;
  broken.name = "c.png";
  broken.path = sources_ / "c.png";
  entries.push_back(broken);
  for (PictureEntry& entry : entries) {
    entry.rotation = 90;
    entry.flip = FlipState::kByHorizontalFlip;
  }
  fs::permissions(entries[0].path, fs::perms(0640));

  BatchSettings settings;
  settings.placement = PlacementMode::kOverwrite;
  ASSERT_FALSE(PrepareBatchRun(settings, entries));
  Recorder recorder;
  std::atomic<bool> stop{false};
  RunOutcome outcome = RunBatch(recipe_, settings, entries, recorder, stop);
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_EQ(recorder.written, (std::vector<std::size_t>{0, 1}));

  for (const PictureEntry& entry : entries) {
    EXPECT_EQ(entry.rotation, 0);
    EXPECT_EQ(entry.flip, FlipState::kNone);
  }
  // a.png now holds a JPEG, turned (40 x 80 before the resize to width 40 -> 40 x 80), same mode.
  std::string bytes = test::ReadFile(entries[0].path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
  MagickWandPtr back = MakeMagickWand();
  ASSERT_TRUE(ReadPictureFile(back.get(), entries[0].path, nullptr));
  EXPECT_EQ(MagickGetImageWidth(back.get()), 40u);
  EXPECT_EQ(MagickGetImageHeight(back.get()), 80u);
  EXPECT_EQ(fs::status(entries[0].path).permissions() & fs::perms::all, fs::perms(0640));
  // The picture that could not be read is untouched.
  EXPECT_EQ(test::ReadFile(entries[2].path), "not a picture");
}

TEST_F(BatchRunTest, SourceRemovedAfterListingFailsAloneInBothModes) {
  for (PlacementMode mode : {PlacementMode::kSaveToFolder, PlacementMode::kOverwrite}) {
    InfoLog::Global().Clear();
    std::vector<PictureEntry> entries{Entry("keep1.png", 40, 30, "PNG"),
                                      Entry("gone.png", 40, 30, "PNG"),
                                      Entry("keep2.png", 40, 30, "PNG")};
    fs::path out = folder_ / (mode == PlacementMode::kOverwrite ? "unused" : "out");
    fs::create_directories(out);
    BatchSettings settings;
    settings.placement = mode;
    settings.target_folder = out.string();
    ASSERT_FALSE(PrepareBatchRun(settings, entries));
    fs::remove(entries[1].path);  // gone between listing and reading

    Recorder recorder;
    std::atomic<bool> stop{false};
    RunOutcome outcome = RunBatch(recipe_, settings, entries, recorder, stop);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_EQ(InfoLog::Global().Text(),
              "图片读取失败:\r\n" + entries[1].path.string() + "\r\n\r\n");
    EXPECT_EQ(recorder.reasons,
              (std::vector<std::string>{"图片读取失败:\r\n" + entries[1].path.string()}));
    EXPECT_FALSE(fs::exists(entries[1].path));  // nothing made in its place
    if (mode == PlacementMode::kSaveToFolder) {
      EXPECT_EQ(Written(out).size(), 2u);
      EXPECT_FALSE(fs::exists(out / "gone.jpg"));
    }
  }
}

TEST_F(BatchRunTest, RefusalsBeforeAnythingIsTouched) {
  std::vector<PictureEntry> entries{Entry("a.png", 20, 20, "PNG")};
  BatchSettings settings;
  std::optional<Refusal> none = PrepareBatchRun(settings, entries);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->message, "请选择图片处理后保存的方式");
  EXPECT_EQ(none->hint_title, "看这里");
  EXPECT_EQ(none->caption, "提示");
  EXPECT_EQ(none->scroll, PanelScroll::kBottom);

  settings.placement = PlacementMode::kSaveToFolder;
  settings.target_folder = (folder_ / "missing").string();
  std::optional<Refusal> missing = PrepareBatchRun(settings, entries);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->message, "图片处理后保存到的位置不存在，请重新选择");
}

TEST_F(BatchRunTest, StoringTheRecipeIsItsOwnStepAndAFailureIsLogged) {
  ASSERT_TRUE(StoreRunRecipe(recipe_, folder_ / "config.dat"));
  ProcessingOptions stored{};
  ASSERT_TRUE(ReadOptionsFile(stored, folder_ / "config.dat"));
  EXPECT_EQ(stored, recipe_.options);

  InfoLog::Global().Clear();
  const fs::path nowhere = folder_ / "missing" / "config.dat";
  EXPECT_FALSE(StoreRunRecipe(recipe_, nowhere));
  EXPECT_EQ(InfoLog::Global().Text(), "保存图片设置到文件 " + nowhere.string() + " 失败。\r\n\r\n");
}

}  // namespace
}  // namespace brindle
