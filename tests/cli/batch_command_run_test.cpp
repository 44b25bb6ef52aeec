// brindle-cli batch, end to end: writing over the sources, writes that fail, stop signals while
// pictures are in progress, and the progress line.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch_command_fixture.h"

namespace brindle::batch_test {
namespace {

TEST_F(BatchCommand, OverwriteReplacesSourcesWithJpegUnderTheirOwnNames) {
  fs::path in = Folder("in");
  fs::path png = Picture(in / "drawing.png", 60, 40, "PNG");
  fs::path bmp = Picture(in / "scan.bmp", 50, 30, "BMP");
  fs::path jpeg = in / "photo.jpg";
  WriteJpeg(jpeg, 80, 60, 80);
  fs::path broken = in / "z-broken.png";
  WriteBrokenPng(broken);
  fs::permissions(png, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::permissions(bmp, fs::perms::owner_read | fs::perms::owner_write);
  const fs::perms png_perms = PermissionsOf(png);
  const fs::perms bmp_perms = PermissionsOf(bmp);
  const std::string broken_bytes = test::ReadFile(broken);

  CommandResult result = Batch({"--overwrite", "--threads-model", "1", "bSize=1", "sizeType=1",
                                "sizeValue=20", in.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "图片读取失败:\n" + broken.string() + "\n\n");

  EXPECT_EQ(FilesIn(in),
            (std::vector<std::string>{"drawing.png", "photo.jpg", "scan.bmp", "z-broken.png"}));
  for (const fs::path& source : {png, bmp, jpeg}) {
    std::string bytes = test::ReadFile(source);
    EXPECT_TRUE(EndsLikeAJpeg(bytes)) << source.filename();
    ReadBack written = Read(source);
    EXPECT_EQ(written.format, "JPEG") << source.filename();
    EXPECT_EQ(written.height, 20u) << source.filename();
  }
  EXPECT_EQ(SizeOf(png), "30x20");
  EXPECT_EQ(SizeOf(bmp), "33x20");
  EXPECT_EQ(SizeOf(jpeg), "27x20");
  EXPECT_EQ(Read(png).quality, 94u);
  EXPECT_EQ(Read(jpeg).quality, 80u);
  EXPECT_EQ(PermissionsOf(png), png_perms);
  EXPECT_EQ(PermissionsOf(bmp), bmp_perms);
  EXPECT_EQ(test::ReadFile(broken), broken_bytes);
}

// Files the program writes from now on may hold at most `bytes` bytes; a write beyond that fails
// with EFBIG instead of ending the process. Lasts while the object lives; programs started
// meanwhile keep the limit.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_handler_ = SIG_DFL;
};

TEST_F(BatchCommand, AFailedWriteLeavesNothingHalfWritten) {
  // The sources are small, the pictures made from them large: only writing the results fails.
  fs::path in = Folder("in");
  fs::path source = Picture(in / "tiny.png", 40, 30, "PNG");
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  const fs::perms permissions = PermissionsOf(source);
  const std::string original = test::ReadFile(source);
  constexpr rlim_t kLimit = 32 * 1024;
  ASSERT_LT(original.size(), kLimit);
  const std::vector<std::string> enlarge = {"bSize=1", "zoomType=1", "sizeValue=900"};
  const std::vector<std::string> env = Environment();

  auto run_limited = [&](std::vector<std::string> args) {
    args.insert(args.begin(), "batch");
    args.insert(args.end(), enlarge.begin(), enlarge.end());
    args.push_back(source.string());
    std::optional<test::CliProcess> process;
    {
      FileSizeLimit limit(kLimit);
      process.emplace(args, env);
    }
    return process->Wait();
  };

  fs::path out = Folder("out");
  CommandResult result = run_limited({"--out", out.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "图片处理后保存失败：\nFile too large\n源图片：" + source.string() +
                            "\n保存到：" + (out / "tiny.jpg").string() + "\n\n");
  EXPECT_TRUE(FilesIn(out).empty());

  result = run_limited({"--overwrite"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "图片处理后保存时, fwrite('" + source.string() +
                            "') 失败 errno:27\nFile too large\n\n");
  EXPECT_EQ(test::ReadFile(source), original);
  EXPECT_EQ(PermissionsOf(source), permissions);
  EXPECT_EQ(FilesIn(in), std::vector<std::string>{"tiny.png"});

  // Without the limit the same run writes the large picture.
  result = Batch({"--overwrite", enlarge[0], enlarge[1], enlarge[2], source.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_GT(fs::file_size(source), kLimit);
  EXPECT_EQ(SizeOf(source), "900x675");
}

bool StartsLikeAJpeg(const fs::path& path) {
  char start[2] = {};
  std::ifstream(path, std::ios::binary).read(start, 2);
  return start[0] == '\xFF' && start[1] == '\xD8';
}

// Waits until condition holds; false after ten seconds.
template <typename Condition>
bool WaitFor(Condition condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

TEST_F(BatchCommand, InterruptFinishesThePictureInProgressAndStops) {
  constexpr int kCount = 40;
  std::vector<fs::path> sources = ManyPictures(work_ / "in", kCount, 480, 360);
  fs::path out = Folder("out");
  test::CliProcess process(
      {"batch", "--out", out.string(), "--threads-model", "1", (work_ / "in").string()},
      Environment());
  ASSERT_GT(process.pid(), 0);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(out / "p01.jpg"); }));
  kill(process.pid(), SIGINT);
  CommandResult result = process.Wait();

  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, "");
  // The first pictures, in list order, each whole; no temporary file left.
  std::vector<std::string> written = FilesIn(out);
  ASSERT_GE(written.size(), 1u);
  EXPECT_LT(written.size(), static_cast<std::size_t>(kCount));
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(written[i], sources[i].stem().string() + ".jpg");
    EXPECT_TRUE(EndsLikeAJpeg(test::ReadFile(out / written[i]))) << written[i];
    EXPECT_EQ(SizeOf(out / written[i]), "480x360") << written[i];
  }
}

TEST_F(BatchCommand, TerminateDuringOverwriteLeavesEachSourceWholeOrReplaced) {
  constexpr int kCount = 40;
  std::vector<fs::path> sources = ManyPictures(work_ / "in", kCount, 480, 360);
  const std::string original = test::ReadFile(sources[0]);
  test::CliProcess process(
      {"batch", "--overwrite", "--threads-model", "1", (work_ / "in").string()}, Environment());
  ASSERT_GT(process.pid(), 0);
  ASSERT_TRUE(WaitFor([&] { return StartsLikeAJpeg(sources[0]); }));
  kill(process.pid(), SIGTERM);
  CommandResult result = process.Wait();

  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, "");
  // The names are the sources' own, none added: the first ones replaced, the rest untouched.
  std::vector<std::string> expected_names;
  for (const fs::path& source : sources) expected_names.push_back(source.filename().string());
  EXPECT_EQ(FilesIn(work_ / "in"), expected_names);
  std::size_t replaced = 0;
  while (replaced < sources.size() && test::ReadFile(sources[replaced]) != original) ++replaced;
  EXPECT_GE(replaced, 1u);
  EXPECT_LT(replaced, sources.size());
  for (std::size_t i = 0; i < sources.size(); ++i) {
    std::string bytes = test::ReadFile(sources[i]);
    if (i < replaced) {
      EXPECT_TRUE(EndsLikeAJpeg(bytes)) << sources[i].filename();
      EXPECT_EQ(SizeOf(sources[i]), "480x360");
    } else {
      EXPECT_EQ(bytes, original) << sources[i].filename();
    }
  }
}

// Runs brindle-cli with its standard error on a terminal (the slave side of a pseudo-terminal);
// returns what it wrote there, or nullopt when no terminal could be had.
std::optional<std::string> RunCliOnTerminal(const std::vector<std::string>& args,
                                            const std::vector<std::string>& environment) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return std::nullopt;
  std::string terminal = ptsname(master);

  test::CliCommandLine command_line(args, environment);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, terminal.c_str(), O_RDWR | O_NOCTTY, 0);
  posix_spawn_file_actions_addclose(&actions, master);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, command_line.program(), &actions, nullptr, command_line.argv(),
                       command_line.envp());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    close(master);
    return std::nullopt;
  }
  // Read while it runs, so a full terminal buffer never holds it up; the end of the slave side
  // shows as EIO.
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = read(master, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  waitpid(pid, nullptr, 0);
  close(master);
  return text;
}

TEST_F(BatchCommand, ProgressLineOnlyOnATerminal) {
  fs::path in = Folder("in");
  Picture(in / "a.png", 20, 10, "PNG");
  Picture(in / "b.png", 20, 10, "PNG");
  fs::path out = Folder("out");
  CommandResult result = Batch({"--out", out.string(), in.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");

  fs::path again = Folder("again");
  std::optional<std::string> shown =
      RunCliOnTerminal({"batch", "--out", again.string(), in.string()}, Environment());
  if (!shown) GTEST_SKIP() << "no pseudo-terminal here";
  EXPECT_NE(shown->find("共 2 张图片，正在处理第 1 张。"), std::string::npos) << *shown;
  EXPECT_NE(shown->find("共 2 张图片，正在处理第 2 张。"), std::string::npos) << *shown;
  EXPECT_EQ(FilesIn(again), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

}  // namespace
}  // namespace brindle::batch_test
