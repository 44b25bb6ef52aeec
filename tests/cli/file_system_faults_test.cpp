// brindle-cli on a file system that fills up or turns read-only while it writes: every picture
// written is whole, every picture not written is explained by one log entry, the run goes on, and
// sources written over stay as they were wherever their write failed. A small file system of our
// own needs root; as another user the read-only case falls back to taking the folder's write
// permission away, and the full-disk cases are skipped.

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <thread>

#include "cli/batch_command_fixture.h"

namespace brindle::batch_test {
namespace {

// A tmpfs of the given size mounted over an empty folder, gone again with this object.
class SmallFileSystem {
 public:
  SmallFileSystem(const fs::path& where, size_t bytes) : where_(where) {
    fs::create_directories(where);
    std::string options = "size=" + std::to_string(bytes);
    mounted_ =
        ::geteuid() == 0 && ::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallFileSystem() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  bool mounted() const { return mounted_; }

 private:
  fs::path where_;
  bool mounted_ = false;
};

// A folder that can be made read-only while a program writes into it: as root a read-only bind
// mount of itself (permissions do not bind root), otherwise its write permission taken away.
class FolderLock {
 public:
  explicit FolderLock(const fs::path& folder) : folder_(folder) {
    bound_ =
        ::geteuid() == 0 && ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0;
  }
  ~FolderLock() {
    if (bound_) ::umount2(folder_.c_str(), MNT_DETACH);
    fs::permissions(folder_, fs::perms::owner_all);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // A mount cannot turn read-only while a file in it is open for writing: tried again until the
  // writer lets go between two pictures.
  bool MakeReadOnly() {
    if (!bound_) {
      fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
      return true;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) ==
          0) {
        return true;
      }
      if (errno != EBUSY) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
  }

 private:
  fs::path folder_;
  bool bound_ = false;
};

std::map<fs::path, std::string> Contents(const std::vector<fs::path>& paths) {
  std::map<fs::path, std::string> contents;
  for (const fs::path& path : paths) contents[path] = test::ReadFile(path);
  return contents;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Fills the file system holding folder until nothing more fits.
void Fill(const fs::path& folder) {
  std::ofstream filler(folder / "filler", std::ios::binary);
  const std::string block(4096, 'x');
  while (filler.write(block.data(), block.size())) {
  }
}

// Every file in folder is a whole JPEG named after one of the sources; returns how many.
size_t WholeJpegsIn(const fs::path& folder) {
  size_t count = 0;
  for (const std::string& name : FilesIn(folder)) {
    EXPECT_EQ(fs::path(name).extension(), ".jpg") << name;
    EXPECT_TRUE(EndsLikeAJpeg(test::ReadFile(folder / name))) << name;
    ++count;
  }
  return count;
}

constexpr const char* kSaveFailed = "图片处理后保存失败：";

TEST_F(BatchCommand, FullDiskFailsThePicturesThatDoNotFitAndTheRunGoesOn) {
  constexpr int kCount = 8;
  std::vector<fs::path> sources = ManyPictures(work_ / "in", kCount, 400, 300);
  const std::vector<std::string> enlarge = {"bSize=1", "zoomType=1", "sizeValue=1200"};

  // One result's size, written where there is room, decides the small file system's size:
  // room for about three.
  fs::path roomy = Folder("roomy");
  CommandResult probe =
      Batch({"--out", roomy.string(), enlarge[0], enlarge[1], enlarge[2], sources[0].string()});
  ASSERT_EQ(probe.status, 0) << probe.err;
  const size_t one = fs::file_size(roomy / "p01.jpg");

  SmallFileSystem disk(work_ / "disk", one * 3 + one / 2);
  if (!disk.mounted()) GTEST_SKIP() << "a file system of our own needs root";
  std::vector<std::string> args = {"--out", (work_ / "disk").string()};
  args.insert(args.end(), enlarge.begin(), enlarge.end());
  args.push_back((work_ / "in").string());
  CommandResult result = Batch(args);

  EXPECT_EQ(result.status, 1);
  size_t written = WholeJpegsIn(work_ / "disk");
  EXPECT_GE(written, 2u);
  EXPECT_LT(written, static_cast<size_t>(kCount));
  EXPECT_EQ(Count(result.err, kSaveFailed), kCount - written) << result.err;
  EXPECT_NE(result.err.find("No space left on device"), std::string::npos) << result.err;
}

TEST_F(BatchCommand, FullDiskInOverwriteModeLeavesEverySourceAsItWas) {
  SmallFileSystem disk(work_ / "disk", 2 * 1024 * 1024);
  if (!disk.mounted()) GTEST_SKIP() << "a file system of our own needs root";
  std::vector<fs::path> sources = ManyPictures(work_ / "disk" / "in", 4, 200, 150);
  const std::map<fs::path, std::string> before = Contents(sources);
  Fill(work_ / "disk");

  CommandResult result = Batch(
      {"--overwrite", "bSize=1", "zoomType=1", "sizeValue=1000", (work_ / "disk" / "in").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(Contents(sources), before);
  EXPECT_EQ(FilesIn(work_ / "disk" / "in").size(), sources.size());  // no temporary file left
  EXPECT_EQ(Count(result.err, "No space left on device"), sources.size()) << result.err;
}

TEST_F(BatchCommand, FullDiskStopsAToolRunWithoutTouchingTheSources) {
  SmallFileSystem disk(work_ / "disk", 2 * 1024 * 1024);
  if (!disk.mounted()) GTEST_SKIP() << "a file system of our own needs root";
  std::vector<fs::path> sources = ManyPictures(work_ / "disk" / "in", 3, 300, 200);
  const std::map<fs::path, std::string> before = Contents(sources);
  Fill(work_ / "disk");

  CommandResult result = test::RunCli(
      {"png", "--source", (work_ / "disk" / "in").string(), "--overwrite"}, Environment());
  EXPECT_EQ(result.status, 4) << result.err;
  EXPECT_EQ(Contents(sources), before);
  EXPECT_EQ(FilesIn(work_ / "disk" / "in").size(), sources.size());

  result = test::RunCli({"convert", "--source", (work_ / "disk" / "in").string(), "--out",
                         (work_ / "disk" / "out").string(), "convert_load_format_option=15"},
                        Environment());
  EXPECT_EQ(result.status, 4) << result.err;
  EXPECT_EQ(Contents(sources), before);
}

TEST_F(BatchCommand, TargetFolderTurningReadOnlyMidRunFailsTheRestOnly) {
  constexpr int kCount = 40;
  std::vector<fs::path> sources = ManyPictures(work_ / "in", kCount, 480, 360);
  fs::path out = Folder("out");
  FolderLock lock(out);

  test::CliProcess process({"batch", "--out", out.string(), (work_ / "in").string()},
                           Environment());
  ASSERT_GT(process.pid(), 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(out / "p03.jpg") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(lock.MakeReadOnly());
  CommandResult result = process.Wait();

  EXPECT_EQ(result.status, 1) << result.err;
  size_t written = WholeJpegsIn(out);
  EXPECT_GE(written, 3u);
  EXPECT_LT(written, static_cast<size_t>(kCount));
  EXPECT_EQ(Count(result.err, kSaveFailed), kCount - written);
}

TEST_F(BatchCommand, SourcesTurningReadOnlyMidOverwriteStayWholeOrReplaced) {
  constexpr int kCount = 40;
  std::vector<fs::path> sources = ManyPictures(work_ / "in", kCount, 480, 360);
  const std::map<fs::path, std::string> before = Contents(sources);
  FolderLock lock(work_ / "in");

  test::CliProcess process({"batch", "--overwrite", (work_ / "in").string()}, Environment());
  ASSERT_GT(process.pid(), 0);
  const std::string& original = before.begin()->second;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (test::ReadFile(sources[2]) == original && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(lock.MakeReadOnly());
  CommandResult result = process.Wait();

  EXPECT_EQ(result.status, 1) << result.err;
  size_t replaced = 0;
  for (const fs::path& source : sources) {
    std::string now = test::ReadFile(source);
    if (now == before.at(source)) continue;
    EXPECT_TRUE(EndsLikeAJpeg(now)) << source;
    ++replaced;
  }
  EXPECT_GE(replaced, 3u);
  EXPECT_LT(replaced, static_cast<size_t>(kCount));
  EXPECT_EQ(FilesIn(work_ / "in").size(), sources.size());
  EXPECT_EQ(Count(result.err, "图片处理后保存时"), kCount - replaced) << result.err;
}

}  // namespace
}  // namespace brindle::batch_test
