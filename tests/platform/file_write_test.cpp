#include "platform/file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(WriteFileAtomically, NewFileGetsTheUsualPermissionsAndOldOnesAreKept) {
  TempFolder folder;
  mode_t saved = ::umask(022);
  bool written = WriteFileAtomically(folder / "new.txt", "new");
  ::umask(saved);
  ASSERT_TRUE(written);
  EXPECT_EQ(fs::status(folder / "new.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);

  fs::permissions(folder / "new.txt", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(WriteFileAtomically(folder / "new.txt", "again"));
  EXPECT_EQ(test::ReadFile(folder / "new.txt"), "again");
  EXPECT_EQ(fs::status(folder / "new.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST(WriteFileAtomically, LongestNameTheFileSystemTakes) {
  TempFolder folder;
  fs::path path = folder / (std::string(251, 'n') + ".jpg");
  ASSERT_TRUE(WriteFileAtomically(path, "bytes"));
  EXPECT_EQ(test::ReadFile(path), "bytes");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(WriteFileAtomically, FailureSaysWhichStepAndWhy) {
  TempFolder folder;
  FileWriteFailure failure;
  EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "x.txt", "x", failure));
  EXPECT_EQ(failure.step, FileWriteFailure::Step::kOpen);
  EXPECT_EQ(failure.error_number, ENOENT);

  fs::create_directory(folder / "taken");
  test::WriteFile(folder / "taken" / "inside", "x");
  EXPECT_FALSE(WriteFileAtomically(folder / "taken", "x", failure));
  EXPECT_EQ(failure.step, FileWriteFailure::Step::kWrite);
  EXPECT_TRUE(failure.error_number == EISDIR || failure.error_number == ENOTEMPTY ||
              failure.error_number == EEXIST)
      << failure.error_number;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace brindle
