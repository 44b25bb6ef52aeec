#include "platform/files/file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::vector<std::string> NamesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

TEST(WriteFileAtomically, CreatesANewFile) {
  TempFolder folder;
  fs::path target = folder / "新文件.dat";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(target, std::string("a\0b\r\n", 5), &error)) << error;
  EXPECT_EQ(test::ReadFile(target), std::string("a\0b\r\n", 5));
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"新文件.dat"});

  mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(ModeOf(target), 0666 & ~mask);
}

TEST(WriteFileAtomically, ReplacesTheWholeFile) {
  TempFolder folder;
  fs::path target = folder / "config.dat";
  test::WriteFile(target, std::string(10000, 'x'));
  ASSERT_TRUE(WriteFileAtomically(target, "short"));
  EXPECT_EQ(test::ReadFile(target), "short");

  ASSERT_TRUE(WriteFileAtomically(target, ""));
  EXPECT_EQ(fs::file_size(target), 0u);
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"config.dat"});
}

TEST(WriteFileAtomically, KeepsTheExistingFilesPermissions) {
  TempFolder folder;
  fs::path target = folder / "private.sz";
  test::WriteFile(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(target, "new"));
  EXPECT_EQ(test::ReadFile(target), "new");
  EXPECT_EQ(ModeOf(target), 0640u);

  ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
  ASSERT_TRUE(WriteFileAtomicallyWith(target, [](const fs::path& temp) {
    std::ofstream(temp, std::ios::binary) << "by writer";
    return true;
  }));
  EXPECT_EQ(test::ReadFile(target), "by writer");
  EXPECT_EQ(ModeOf(target), 0604u);
}

TEST(WriteFileAtomically, AMissingFolderFailsWithAReason) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "a.dat", "x", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(NamesIn(folder.path()).empty());
}

TEST(WriteFileAtomically, AFolderInTheWayIsLeftAloneAndNoTemporaryRemains) {
  TempFolder folder;
  fs::path target = folder / "taken";
  fs::create_directory(target);
  test::WriteFile(target / "inside", "keep");
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(target, "x", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"taken"});
  EXPECT_EQ(test::ReadFile(target / "inside"), "keep");
}

TEST(WriteFileAtomicallyWith, AFailingWriterLeavesTheOldFileAndNoTemporary) {
  TempFolder folder;
  fs::path target = folder / "photo.jpg";
  const std::string old_bytes("\xFF\xD8\xFF\xE0 old picture \0 bytes", 24);
  test::WriteFile(target, old_bytes);

  fs::path seen;
  std::string error;
  bool ok = WriteFileAtomicallyWith(
      target,
      [&](const fs::path& temp) {
        seen = temp;
        // Half a file, then the failure.
        std::ofstream(temp, std::ios::binary) << "\xFF\xD8 half";
        return false;
      },
      &error);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  // The writer worked on a file of its own in the same folder, not on the target.
  EXPECT_NE(seen, target);
  EXPECT_EQ(seen.parent_path(), target.parent_path());
  EXPECT_EQ(test::ReadFile(target), old_bytes);
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"photo.jpg"});
}

TEST(WriteFileAtomicallyWith, AThrowingWriterLeavesTheOldFileAndNoTemporary) {
  TempFolder folder;
  fs::path target = folder / "photo.png";
  test::WriteFile(target, "old");
  bool ok = WriteFileAtomicallyWith(target, [](const fs::path& temp) -> bool {
    std::ofstream(temp, std::ios::binary) << "partial";
    throw std::runtime_error("encoder failed");
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::ReadFile(target), "old");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"photo.png"});
}

TEST(WriteFileAtomicallyWith, AWriterThatReplacesTheTemporaryFileIsTaken) {
  // Libraries that write by name may remove and recreate the file they are given.
  TempFolder folder;
  fs::path target = folder / "out.png";
  test::WriteFile(target, "old");
  ASSERT_TRUE(WriteFileAtomicallyWith(target, [](const fs::path& temp) {
    fs::remove(temp);
    std::ofstream(temp, std::ios::binary) << "fresh";
    return true;
  }));
  EXPECT_EQ(test::ReadFile(target), "fresh");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"out.png"});
}

TEST(ReadWholeFile, ReadsEveryByteOrFails) {
  TempFolder folder;
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 37);
  test::WriteFile(folder / "blob", bytes);
  std::string read;
  ASSERT_TRUE(ReadWholeFile(folder / "blob", read));
  EXPECT_EQ(read, bytes);

  std::string untouched = "before";
  EXPECT_FALSE(ReadWholeFile(folder / "missing", untouched));
  EXPECT_EQ(untouched, "before");
  EXPECT_FALSE(ReadWholeFile(folder.path(), untouched));
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
