#include "engine/write/write_over_source.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "base/info_log.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::size_t FileCount(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class WriteOverSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    source = folder / "photo.png";
    test::WritePicture(source, 64, 48, "PNG");
    original = test::ReadFile(source);
  }
  TempFolder folder;
  fs::path source;
  std::string original;
};

TEST_F(WriteOverSourceTest, SourceKeepsItsNameAndPermissionsAndHoldsJpeg) {
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  MagickWandPtr wand = test::MakePicture(40, 30, "PNG");
  ASSERT_TRUE(WriteOverSource(wand.get(), source));

  std::string bytes = test::ReadFile(source);
  ASSERT_GE(bytes.size(), 3u);
  EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(fs::status(source).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FileCount(folder.path()), 1u);  // no temporary file left beside it
  EXPECT_TRUE(InfoLog::Global().Text().empty());

  MagickWandPtr back = MakeMagickWand();
  std::string error;
  ASSERT_TRUE(ReadPictureFile(back.get(), source, &error)) << error;
  MagickTextPtr format(MagickGetImageFormat(back.get()));
  EXPECT_STREQ(format.get(), "JPEG");
  EXPECT_EQ(MagickGetImageWidth(back.get()), 40u);
  EXPECT_EQ(MagickGetImageHeight(back.get()), 30u);
}

TEST_F(WriteOverSourceTest, LinkedSourceIsReplacedWhereItLies) {
  fs::path link = folder / "link.png";
  fs::create_symlink(source, link);
  MagickWandPtr wand = test::MakePicture(20, 10, "PNG");
  ASSERT_TRUE(WriteOverSource(wand.get(), link));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadFile(source).substr(0, 3), "\xFF\xD8\xFF");
}

TEST_F(WriteOverSourceTest, NothingToEncodeLeavesTheSource) {
  MagickWandPtr empty = MakeMagickWand();
  EXPECT_FALSE(WriteOverSource(empty.get(), source));
  EXPECT_EQ(test::ReadFile(source), original);
  std::string expected_start =
      "图片处理后保存到 '" + source.string() + "', MagickGetImageBlob() 发生错误:\r\n";
  std::string log = InfoLog::Global().Text();
  EXPECT_EQ(log.substr(0, expected_start.size()), expected_start);
  EXPECT_GT(log.size(), expected_start.size() + 4);  // ImageMagick's reason follows
  EXPECT_EQ(FileCount(folder.path()), 1u);
}

// Limits one resource of this process for the life of the object.
class ResourceLimit {
 public:
  ResourceLimit(int resource, rlim_t soft) : resource_(resource) {
    getrlimit(resource_, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = soft;
    setrlimit(resource_, &lowered);
  }
  ~ResourceLimit() { setrlimit(resource_, &saved_); }

 private:
  int resource_;
  rlimit saved_{};
};

TEST_F(WriteOverSourceTest, ShortWriteLeavesTheSource) {
  MagickWandPtr wand = test::MakePicture(200, 200, "PNG");
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  bool written = false;
  {
    // The file system refuses files above 1 KiB (even for root).
    ResourceLimit limit(RLIMIT_FSIZE, 1024);
    written = WriteOverSource(wand.get(), source);
  }
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFile(source), original);
  EXPECT_EQ(FileCount(folder.path()), 1u);
  EXPECT_EQ(InfoLog::Global().Text(), "图片处理后保存时, fwrite('" + source.string() +
                                          "') 失败 errno:27\r\nFile too large\r\n\r\n");
}

TEST_F(WriteOverSourceTest, FileThatCannotBeOpenedLeavesTheSource) {
  MagickWandPtr wand = test::MakePicture(20, 20, "PNG");
  // No descriptor left for the new file (even for root).
  int lowest_free = ::dup(0);
  ASSERT_GE(lowest_free, 0);
  ::close(lowest_free);
  bool written = false;
  {
    ResourceLimit limit(RLIMIT_NOFILE, static_cast<rlim_t>(lowest_free));
    written = WriteOverSource(wand.get(), source);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFile(source), original);
  EXPECT_EQ(InfoLog::Global().Text(), "图片处理后保存时, fopen('" + source.string() +
                                          "') 失败, errno:24\r\nToo many open files\r\n\r\n");
}

TEST_F(WriteOverSourceTest, ReadOnlyFolderLeavesTheSource) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  MagickWandPtr wand = test::MakePicture(20, 20, "PNG");
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  bool written = WriteOverSource(wand.get(), source);
  fs::permissions(folder.path(), fs::perms::owner_all);
  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFile(source), original);
  EXPECT_EQ(InfoLog::Global().Text(), "图片处理后保存时, fopen('" + source.string() +
                                          "') 失败, errno:13\r\nPermission denied\r\n\r\n");
}

}  // namespace
}  // namespace brindle
