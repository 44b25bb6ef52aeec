#include "tools/slice/slice_names.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

TEST(SliceNamesTest, TileNamesPageNamesAndTileFolders) {
  test::TempFolder folder;
  auto tile = [&](long long number, long long total) {
    return SliceTilePath(folder.path(), "a", number, total, ".png").filename().string();
  };
  EXPECT_EQ(tile(9, 9), "a-9.png");
  EXPECT_EQ(tile(12, 12), "a-12.png");
  EXPECT_EQ(tile(7, 1000), "a-0007.png");
  EXPECT_EQ(tile(12345, 20000), "a-12345.png");
  // A taken name is padded with spaces to the same width and counted from 2.
  test::WriteFile(folder / "a-007.png", "");
  test::WriteFile(folder / "a-  7(2).png", "");
  EXPECT_EQ(tile(7, 100), "a-  7(3).png");

  const fs::path out = folder / "out";
  EXPECT_EQ(SliceTileFolder(out, "/x/y", "photo", false), out / "x/y");
  EXPECT_EQ(SliceTileFolder(out, "/x", " \tphoto \r\n", true), out / "x/photo");
  // Names that would lead back up or nowhere keep the tiles in the picture's own folder.
  EXPECT_EQ(SliceTileFolder(out, "/x", "..", true), out / "x");
  EXPECT_EQ(SliceTileFolder(out, "/x", " . ", true), out / "x");

  fs::create_directories(out / "x");
  test::WriteFile(out / "x/photo.html", "");
  EXPECT_EQ(SlicePagePath(out, "/x", "photo"), out / "x/photo(2).html");
  EXPECT_EQ(SlicePagePath(out, "/x", "photo "), out / "x/photo .html");
}

}  // namespace
}  // namespace brindle
