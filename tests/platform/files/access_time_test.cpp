#include "platform/files/access_time.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

TEST(MarkAccessedNow, MovesTheAccessTimeAndKeepsTheWriteTime) {
  test::TempFolder folder;
  const fs::path recipe = folder / "a.sz";
  test::WriteFile(recipe, "bSize=1\r\n");
  const time_t hour_ago = time(nullptr) - 3600;
  const struct timespec old_times[2] = {{hour_ago, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, recipe.c_str(), old_times, 0), 0);

  ASSERT_TRUE(MarkAccessedNow(recipe));
  struct stat facts {};
  ASSERT_EQ(stat(recipe.c_str(), &facts), 0);
  EXPECT_GT(facts.st_atim.tv_sec, hour_ago + 3000);
  EXPECT_EQ(facts.st_mtim.tv_sec, 1000000000);
  EXPECT_EQ(test::ReadFile(recipe), "bSize=1\r\n");
  EXPECT_FALSE(MarkAccessedNow(folder / "gone.sz"));
}

TEST(IsInsideFolder, ComparesWholeFolderNames) {
  test::TempFolder home;
  const fs::path recipes = home / "sz";
  EXPECT_TRUE(IsInsideFolder(recipes / "mine.sz", recipes));
  EXPECT_TRUE(IsInsideFolder(recipes / "old/mine.sz", recipes));
  EXPECT_TRUE(IsInsideFolder(recipes / "mine.sz", home / "sz/"));
  EXPECT_TRUE(IsInsideFolder(home / "x/../sz/mine.sz", recipes));
  EXPECT_FALSE(IsInsideFolder(home / "sz2/mine.sz", recipes));
  EXPECT_FALSE(IsInsideFolder(home / "mine.sz", recipes));
  EXPECT_FALSE(IsInsideFolder(recipes / "../mine.sz", recipes));
  EXPECT_FALSE(IsInsideFolder(recipes, recipes));
  EXPECT_FALSE(IsInsideFolder(recipes / "mine.sz", recipes / "mine.sz"));
}

}  // namespace
}  // namespace brindle
