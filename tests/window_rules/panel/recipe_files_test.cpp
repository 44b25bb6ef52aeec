#include "window_rules/panel/recipe_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "recipe/options_file.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

void SetAccessTime(const fs::path& path, time_t seconds) {
  const struct timespec times[2] = {{seconds, 0}, {0, UTIME_OMIT}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::vector<std::string> Names(const std::vector<fs::path>& paths) {
  std::vector<std::string> names;
  for (const fs::path& path : paths) names.push_back(path.filename().string());
  return names;
}

TEST(RecipeFiles, TenMostRecentlyAccessedAndSavingMovesToTheTop) {
  test::TempFolder folder;
  const fs::path sz = folder / "sz";
  EXPECT_TRUE(RecentRecipes(sz).empty());

  ProcessingOptions options{};
  SetReaderPresets(options);
  ASSERT_EQ(SaveRecipeFile(options, sz / "r00.sz", sz), std::nullopt);  // makes the folder
  for (int i = 0; i < 12; ++i) {
    const fs::path file =
        sz / std::string(i < 10 ? "r0" : "r1").append(std::to_string(i % 10)).append(".sz");
    if (i > 0) {
      ASSERT_TRUE(WriteOptionsFile(options, file));
    }
    SetAccessTime(file, 1'600'000'000 + i * 60);
  }
  std::ofstream(sz / "notes.txt") << "not a recipe";
  fs::create_directory(sz / "folder.sz");

  EXPECT_EQ(Names(RecentRecipes(sz)),
            (std::vector<std::string>{"r11.sz", "r10.sz", "r09.sz", "r08.sz", "r07.sz", "r06.sz",
                                      "r05.sz", "r04.sz", "r03.sz", "r02.sz"}));

  ASSERT_EQ(SaveRecipeFile(options, sz / "r01.sz", sz), std::nullopt);
  const std::vector<fs::path> recent = RecentRecipes(sz);
  ASSERT_EQ(recent.size(), 10u);
  EXPECT_EQ(recent[0].filename().string(), "r01.sz");
  EXPECT_EQ(recent[1].filename().string(), "r11.sz");
  EXPECT_EQ(RecentRecipeMenuText(recent[0]), "加载 - r01.sz");
}

TEST(RecipeFiles, NamesAndFailures) {
  EXPECT_EQ(RecipeSavePath("/a/水印").string(), "/a/水印.sz");
  EXPECT_EQ(RecipeSavePath("/a/b.SZ").string(), "/a/b.SZ");
  EXPECT_EQ(RecipeSavePath("/a/c.sz.txt").string(), "/a/c.sz.txt.sz");
  EXPECT_EQ(MissingRecipeText("/x/sz/old.sz"), "图片处理设置文件:[/x/sz/old.sz]不存在");

  test::TempFolder folder;
  std::ofstream(folder / "blocked") << "a file where the folder should be";
  const ProcessingOptions options{};
  EXPECT_EQ(SaveRecipeFile(options, folder / "blocked" / "a.sz", folder / "blocked"),
            "无法创建[设置]文件夹");
  const fs::path unwritable = folder / "blocked" / "a.sz";
  EXPECT_EQ(SaveRecipeFile(options, unwritable, folder.path()),
            std::string("保存图片设置到文件 ").append(unwritable.string()).append(" 失败。"));
}

}  // namespace
}  // namespace brindle
