#include "tools/slice_names.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(SliceNamesTest, TileNumbersArePaddedToTheCountOfTiles) {
  TempFolder folder;
  auto name = [&](long long number, long long total) {
    return SliceTilePath(folder.path(), "photo", number, total, ".jpg").filename().string();
  };
  EXPECT_EQ(name(1, 9), "photo-1.jpg");
  EXPECT_EQ(name(9, 9), "photo-9.jpg");
  EXPECT_EQ(name(1, 12), "photo-01.jpg");
  EXPECT_EQ(name(12, 12), "photo-12.jpg");
  EXPECT_EQ(name(1, 100), "photo-001.jpg");
  EXPECT_EQ(name(100, 100), "photo-100.jpg");
  EXPECT_EQ(name(7, 1000), "photo-0007.jpg");
  EXPECT_EQ(name(12345, 20000), "photo-12345.jpg");
  EXPECT_EQ(SliceTilePath(folder.path(), "photo", 1, 4, ".png"), folder / "photo-1.png");
}

TEST(SliceNamesTest, TakenTileNamesArePaddedWithSpaces) {
  TempFolder folder;
  test::WriteFile(folder / "photo-01.jpg", "");
  EXPECT_EQ(SliceTilePath(folder.path(), "photo", 1, 12, ".jpg"), folder / "photo- 1(2).jpg");
  fs::create_directory(folder / "photo- 1(2).jpg");  // a folder takes the name too
  EXPECT_EQ(SliceTilePath(folder.path(), "photo", 1, 12, ".jpg"), folder / "photo- 1(3).jpg");
  test::WriteFile(folder / "photo-007.png", "");
  EXPECT_EQ(SliceTilePath(folder.path(), "photo", 7, 100, ".png"), folder / "photo-  7(2).png");
  test::WriteFile(folder / "a-3.jpg", "");
  EXPECT_EQ(SliceTilePath(folder.path(), "a", 3, 4, ".jpg"), folder / "a-3(2).jpg");
}

TEST(SliceNamesTest, TileFolderAndPage) {
  TempFolder folder;
  const fs::path out = folder / "out";
  EXPECT_EQ(SliceTileFolder(out, "", "photo", false), out);
  EXPECT_EQ(SliceTileFolder(out, "/x/y", "photo", false), out / "x/y");
  EXPECT_EQ(SliceTileFolder(out, "/x/y", "photo", true), out / "x/y/photo");
  // The folder loses the blanks around the name; the tile names keep them.
  EXPECT_EQ(SliceTileFolder(out, "", " \tphoto \r\n", true), out / "photo");
  // Names that would lead back up or nowhere keep the tiles in the picture's own folder.
  EXPECT_EQ(SliceTileFolder(out, "/x", "..", true), out / "x");
  EXPECT_EQ(SliceTileFolder(out, "/x", " . ", true), out / "x");
  EXPECT_EQ(SliceTileFolder(out, "/x", "  ", true), out / "x");

  EXPECT_EQ(SlicePagePath(out, "/x", "photo "), out / "x/photo .html");
  fs::create_directories(out / "x");
  test::WriteFile(out / "x/photo.html", "");
  EXPECT_EQ(SlicePagePath(out, "/x", "photo"), out / "x/photo(2).html");
  test::WriteFile(out / "x/photo(2).html", "");
  EXPECT_EQ(SlicePagePath(out, "/x", "photo"), out / "x/photo(3).html");
}

}  // namespace
}  // namespace brindle
