// Runs brindle-cli over a corpus of damaged, hostile and enormous pictures (made by
// make_corpus.py when the test runs) and proves that nothing is lost: no crash, no hang, bounded
// memory, every good picture written, and every picture that is not written explained by exactly
// one line of the information log.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

struct LimitedRun {
  int status = -1;  // exit status, or 128 + signal
  bool timed_out = false;
  long max_rss_kib = 0;
  std::string err;
};

// Runs brindle-cli with a time limit, reporting its peak memory.
LimitedRun RunCliWithin(const std::vector<std::string>& args, int seconds,
                        const fs::path& scratch) {
  test::CliCommandLine command_line(args);
  fs::path err_file = scratch / "stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  LimitedRun run;
  int rc = posix_spawn(&pid, command_line.program(), &actions, nullptr, command_line.argv(),
                       command_line.envp());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return run;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int wstatus = 0;
  struct rusage usage {};
  while (wait4(pid, &wstatus, WNOHANG, &usage) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      run.timed_out = true;
      kill(pid, SIGKILL);
      wait4(pid, &wstatus, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  run.max_rss_kib = usage.ru_maxrss;
  run.err = test::ReadFile(err_file);
  return run;
}

class HostileCorpus : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    corpus_ = new TempFolder();
    std::string command = std::string("python3 '") + BRINDLE_SOURCE_DIR +
                          "/tests/hostile/make_corpus.py' '" + corpus_->path().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() {
    delete corpus_;
    corpus_ = nullptr;
  }
  static fs::path Pictures() { return corpus_->path() / "pictures"; }
  static fs::path Recipes() { return corpus_->path() / "recipes"; }

  static TempFolder* corpus_;
};

TempFolder* HostileCorpus::corpus_ = nullptr;

// The log entries of a run's standard error (each entry is followed by a blank line).
std::vector<std::string> LogEntries(const std::string& err) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start < err.size()) {
    std::size_t end = err.find("\n\n", start);
    if (end == std::string::npos) end = err.size();
    if (end > start) entries.push_back(err.substr(start, end - start));
    start = end + 2;
  }
  return entries;
}

TEST_F(HostileCorpus, MainBatchLosesNothing) {
  TempFolder out;
  LimitedRun run = RunCliWithin(
      {"batch", "--out", out.path().string(), "bSize=1", "sizeValue=120", Pictures().string()}, 180,
      out.path());
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.status, 1) << run.err.substr(0, 2000);
  // ImageMagick's memory limit is 1 GiB; the process stays well inside it with its own overhead.
  EXPECT_LT(run.max_rss_kib, 1400L * 1024);

  std::set<std::string> written;
  for (const auto& item : fs::directory_iterator(out.path())) {
    if (item.path().filename() != "stderr.txt") written.insert(item.path().filename().string());
  }
  std::vector<std::string> entries = LogEntries(run.err);
  int pictures = 0;
  for (const auto& item : fs::directory_iterator(Pictures())) {
    ++pictures;
    std::string name = item.path().filename().string();
    std::string stem = name.substr(0, name.rfind('.'));
    bool was_written = false;
    for (const std::string& file : written) {
      if (file == stem + ".jpg" || file.rfind(stem + "(", 0) == 0) was_written = true;
    }
    if (name.rfind("good-", 0) == 0) {
      EXPECT_TRUE(was_written) << name;
      continue;
    }
    if (was_written) continue;  // damage the decoder could live with
    int mentions = 0;
    for (const std::string& entry : entries) {
      std::string path = item.path().string();
      bool at_end = entry.size() >= path.size() &&
                    entry.compare(entry.size() - path.size(), path.size(), path) == 0;
      if (at_end || entry.find(path + "\n") != std::string::npos) ++mentions;
    }
    EXPECT_EQ(mentions, 1) << name;
  }
  EXPECT_GT(pictures, 150);
}

// The tools over the same corpus: no crash, no hang, bounded memory, every good picture written and
// the run carried to its end (a damaged picture is not taken for a failed disk).
TEST_F(HostileCorpus, ToolsLoseNothing) {
  struct ToolRun {
    std::vector<std::string> args;
    std::string source_extension;  // the good pictures the tool takes
  };
  const std::vector<ToolRun> runs = {
      {{"convert", "convert_load_format_option=8191"}, ""},
      {{"convert", "convert_load_format_option=8191", "convert_format=PNG", "convert_png8=1"}, ""},
      {{"convert", "convert_load_format_option=8191", "convert_format=WEBP"}, ""},
      {{"png"}, ".png"},
  };
  for (const ToolRun& tool : runs) {
    TempFolder out;
    std::vector<std::string> args = tool.args;
    args.insert(args.begin() + 1, {"--source", Pictures().string(), "--out", (out / "o").string()});
    LimitedRun run = RunCliWithin(args, 180, out.path());
    ASSERT_FALSE(run.timed_out) << tool.args[0];
    EXPECT_EQ(run.status, 1) << tool.args[0] << run.err.substr(0, 2000);
    EXPECT_LT(run.max_rss_kib, 1400L * 1024);
    std::set<std::string> stems;
    for (const auto& item : fs::directory_iterator(out / "o")) {
      std::string name = item.path().filename().string();
      stems.insert(name.substr(0, name.rfind('.')));
    }
    for (const auto& item : fs::directory_iterator(Pictures())) {
      std::string name = item.path().filename().string();
      if (name.rfind("good-", 0) != 0) continue;
      if (!tool.source_extension.empty() && item.path().extension() != tool.source_extension)
        continue;
      std::string stem = name.substr(0, name.rfind('.'));
      bool written = stems.count(stem) > 0;
      for (const std::string& other : stems) written = written || other.rfind(stem + "(", 0) == 0;
      EXPECT_TRUE(written) << tool.args[0] << " " << name;
    }
  }
}

// The crop tool over the corpus, from the folder (the jpg, png, gif and bmp files) and as a list of
// every file kept in its own format, and its preview: no crash, no hang, bounded memory, every good
// picture written and every other one either written or explained by exactly one log line.
TEST_F(HostileCorpus, CropLosesNothing) {
  std::vector<fs::path> pictures;
  for (const auto& item : fs::directory_iterator(Pictures())) pictures.push_back(item.path());
  std::sort(pictures.begin(), pictures.end());
  auto taken_from_folder = [](const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".jpg" || extension == ".jpeg" || extension == ".png" ||
           extension == ".gif" || extension == ".bmp";
  };
  struct CropRun {
    std::vector<std::string> args;
    bool list;
  };
  const std::vector<CropRun> runs = {
      {{"crop", "--source", Pictures().string(), "crop_fixed_width=32"}, false},
      {{"crop", "--keep-format", "crop_mode=1", "crop_percent_width=50", "--"}, true},
  };
  for (const CropRun& crop : runs) {
    TempFolder out;
    std::vector<std::string> args = crop.args;
    args.insert(args.begin() + 1, {"--out", (out / "o").string()});
    if (crop.list) {
      for (const fs::path& picture : pictures) args.push_back(picture.string());
    }
    LimitedRun run = RunCliWithin(args, 180, out.path());
    ASSERT_FALSE(run.timed_out) << crop.list;
    EXPECT_EQ(run.status, 1) << crop.list << run.err.substr(0, 2000);
    EXPECT_LT(run.max_rss_kib, 1400L * 1024);
    std::set<std::string> written;
    for (const auto& item : fs::directory_iterator(out / "o")) {
      if (item.is_regular_file()) written.insert(item.path().filename().string());
    }
    std::vector<std::string> entries = LogEntries(run.err);
    for (const fs::path& picture : pictures) {
      if (!crop.list && !taken_from_folder(picture)) continue;
      const std::string name = picture.filename().string();
      const std::string stem = name.substr(0, name.rfind('.'));
      bool was_written = false;
      for (const std::string& file : written) {
        if (file.substr(0, file.rfind('.')) == stem) was_written = true;
      }
      int mentions = 0;
      for (const std::string& entry : entries) {
        const std::string path = picture.string();
        if (entry.size() >= path.size() &&
            entry.compare(entry.size() - path.size(), path.size(), path) == 0) {
          ++mentions;
        }
      }
      if (name.rfind("good-", 0) == 0) {
        EXPECT_TRUE(was_written) << name;
      }
      EXPECT_EQ(mentions, was_written ? 0 : 1) << crop.list << " " << name;
    }
  }

  TempFolder scratch;
  std::vector<std::string> preview = {"crop", "--preview", (scratch / "p.png").string(),
                                      "crop_fixed_width=32", "--"};
  for (const fs::path& picture : pictures) preview.push_back(picture.string());
  LimitedRun shown = RunCliWithin(preview, 180, scratch.path());
  ASSERT_FALSE(shown.timed_out);
  EXPECT_EQ(shown.status, 1) << shown.err.substr(0, 2000);  // the first pictures are damaged
  EXPECT_LT(shown.max_rss_kib, 1400L * 1024);
  EXPECT_TRUE(fs::is_regular_file(scratch / "p.png"));
}

// The slice tool over the corpus: every good picture it takes cut into its four tiles with its
// page, every picture that gives no tiles explained by exactly one log line, and the run carried to
// its end with bounded memory.
TEST_F(HostileCorpus, SliceLosesNothing) {
  TempFolder out;
  LimitedRun run =
      RunCliWithin({"slice", "--source", Pictures().string(), "--out", (out / "o").string(),
                    "slice_horizontal=1", "slice_horizontal_avg_value=2", "slice_vertical=1",
                    "slice_vertical_avg_value=2", "slice_format=PNG"},
                   180, out.path());
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.status, 1) << run.err.substr(0, 2000);
  EXPECT_LT(run.max_rss_kib, 1400L * 1024);

  std::set<std::string> written;
  for (const auto& item : fs::directory_iterator(out / "o")) {
    written.insert(item.path().filename().string());
  }
  std::vector<std::string> entries = LogEntries(run.err);
  int taken = 0;
  int logged = 0;
  for (const auto& item : fs::directory_iterator(Pictures())) {
    const std::string name = item.path().filename().string();
    const std::string extension = item.path().extension().string();
    if (extension != ".jpg" && extension != ".jpeg" && extension != ".png" && extension != ".gif" &&
        extension != ".bmp") {
      continue;  // not offered by the slice tool
    }
    ++taken;
    const std::string stem = name.substr(0, name.rfind('.'));
    bool sliced = written.count(stem + ".html") > 0;
    for (const char* tile : {"-1.png", "-2.png", "-3.png", "-4.png"}) {
      sliced = sliced && written.count(stem + tile) > 0;
    }
    const std::string path = item.path().string();
    int mentions = 0;
    for (const std::string& entry : entries) {
      bool at_end = entry.size() >= path.size() &&
                    entry.compare(entry.size() - path.size(), path.size(), path) == 0;
      if (at_end || entry.find(path + "\n") != std::string::npos) ++mentions;
    }
    logged += mentions > 0;
    if (name.rfind("good-", 0) == 0) {
      EXPECT_TRUE(sliced) << name;
      EXPECT_EQ(mentions, 0) << name;
    } else if (!sliced) {
      EXPECT_EQ(mentions, 1) << name;
    }
  }
  EXPECT_GT(taken, 100);
  // Every picture either has its page or its log line, never both (several pictures share a stem,
  // so their tiles and pages are numbered and only counted here).
  int pages = 0;
  for (const std::string& file : written) pages += file.size() > 5 && file.ends_with(".html");
  EXPECT_EQ(pages + logged, taken);
}

TEST_F(HostileCorpus, RecipeFilesAreReadSafely) {
  for (const auto& item : fs::directory_iterator(Recipes())) {
    test::CommandResult result = test::RunCli({"recipe", "normalize", item.path().string()});
    EXPECT_EQ(result.status, 0) << item.path();
    // Every key is written once, whatever the file held.
    std::size_t lines = 0;
    for (char c : result.out) lines += c == '\n';
    EXPECT_EQ(lines, 71u) << item.path();
  }
  test::CommandResult long_values =
      test::RunCli({"recipe", "normalize", (Recipes() / "long-values.sz").string()});
  EXPECT_NE(long_values.out.find("bSize=1\r\n"), std::string::npos);
  EXPECT_NE(long_values.out.find("sy_text=\r\n"), std::string::npos);  // the 5000-byte line skipped
}

// The join tool over the same corpus, the folder itself being the only group: no crash, no hang,
// bounded memory, the good pictures joined into one picture, and at most one line of each kind
// (size unreadable, picture undecodable) for every damaged picture. Side by side, the header of a
// picture a million pixels wide asks for a canvas larger than a PNG may be: nothing is joined, and
// the group is logged with its size and the limits.
TEST_F(HostileCorpus, JoinLosesNothing) {
  struct JoinRun {
    std::vector<std::string> settings;
    std::string output;  // empty when nothing can be joined
    size_t width;        // of the joined picture
  };
  const std::vector<JoinRun> runs = {
      {{"join_width_or_height_index=3", "join_width_or_height_value=64", "join_space=2"},
       "pictures.jpg",
       64},
      {{"join_width_or_height_index=3", "join_width_or_height_value=48", "join_format=PNG",
        "join_png8=1", "join_transparent=0"},
       "pictures.png",
       48},
      {{"join_layout=2", "join_format=PNG"}, "", 0},
  };
  for (const JoinRun& join : runs) {
    TempFolder out;
    std::vector<std::string> args = {"join", "--source", Pictures().string(), "--out",
                                     (out / "o").string()};
    args.insert(args.end(), join.settings.begin(), join.settings.end());
    LimitedRun run = RunCliWithin(args, 300, out.path());
    ASSERT_FALSE(run.timed_out) << join.output;
    EXPECT_EQ(run.status, 1) << join.output << run.err.substr(0, 2000);
    EXPECT_LT(run.max_rss_kib, 1400L * 1024);

    std::map<std::string, std::map<std::string, int>> mentions;  // path -> kind -> lines
    const std::string too_large = "拼接图片失败: ";
    for (const std::string& entry : LogEntries(run.err)) {
      if (entry.rfind(too_large, 0) == 0) {  // the group's folder, then its size and the limits
        mentions[entry.substr(too_large.size(), entry.find('\n') - too_large.size())]
                ["拼接图片失败"] += 1;
        continue;
      }
      std::size_t colon = entry.find(":\n");
      ASSERT_NE(colon, std::string::npos) << entry;
      mentions[entry.substr(colon + 2)][entry.substr(0, colon)] += 1;
    }
    if (join.output.empty()) {
      EXPECT_TRUE(fs::is_empty(out / "o"));
      // Refused with its size before any canvas is made: the group failed, nothing lost.
      EXPECT_EQ(mentions[Pictures().string()]["拼接图片失败"], 1);
    } else {
      MagickWandPtr joined = MakeMagickWand();
      test::EnsureMagick();
      ASSERT_TRUE(ReadPictureFile(joined.get(), out / "o" / join.output, nullptr)) << join.output;
      EXPECT_EQ(MagickGetImageWidth(joined.get()), join.width);
      // 13 good pictures of 64 × 48 with a join extension, each at least 36 pixels high.
      EXPECT_GE(MagickGetImageHeight(joined.get()), 13u * 36u);
    }
    for (const auto& item : fs::directory_iterator(Pictures())) {
      const std::string name = item.path().filename().string();
      const std::string extension = item.path().extension().string();
      if (extension != ".jpg" && extension != ".jpeg" && extension != ".png" &&
          extension != ".gif" && extension != ".bmp") {
        EXPECT_EQ(mentions.count(item.path().string()), 0u) << name;
        continue;
      }
      const std::map<std::string, int>& kinds = mentions[item.path().string()];
      if (name.rfind("good-", 0) == 0) {
        EXPECT_TRUE(kinds.empty()) << name;
        continue;
      }
      // At most one line: a picture whose size cannot be read is not decoded again.
      int lines = 0;
      for (const auto& [kind, count] : kinds) {
        EXPECT_TRUE(kind == "无法获取图片的尺寸" || kind == "无法识别的图片") << kind;
        lines += count;
      }
      EXPECT_LE(lines, 1) << name;
      // Empty files and noise behind the magic bytes can never be joined (a cut picture may still
      // be decoded as far as it goes).
      if (!join.output.empty() && (name.rfind("empty.", 0) == 0 || name.rfind("noise-", 0) == 0)) {
        EXPECT_EQ(lines, 1) << name;
      }
      if (name.rfind("empty.", 0) == 0) {
        EXPECT_EQ(kinds.count("无法获取图片的尺寸"), 1u) << name;
      }
    }
  }
}
}  // namespace
}  // namespace brindle
