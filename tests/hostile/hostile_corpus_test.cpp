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

#include <chrono>
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
      {{"convert", "convert_load_format_option=2047"}, ""},
      {{"convert", "convert_load_format_option=2047", "convert_format=PNG", "convert_png8=1"}, ""},
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

}  // namespace
}  // namespace brindle
