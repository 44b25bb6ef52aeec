#include "tools/slice/slice_page.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(SlicePageTest, ExactBytesInGbk) {
  TempFolder folder;
  SlicePage page;
  page.Begin("照片.jpg");
  page.BeginRow();
  page.AddTile("/out/照片-1.jpg", 10, 6);
  page.AddTile("/out/照片-2.jpg", 9, 6);
  page.EndRow();
  page.BeginRow();
  page.AddTile("/out/照片-3.jpg", 10, 5);
  page.AddTile("/out/照片-4.jpg", 9, 5);
  page.EndRow();
  page.End();
  const std::string expected =
      "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
      "charset=gbk\">\r\n<title>\xd5\xd5\xc6\xac.jpg</title>\r\n</head>\r\n"
      "<body bgcolor=\"#FFFFFF\">\r\n<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\r\n"
      "<tr>\r\n"
      "<td><img src=\"/out/\xd5\xd5\xc6\xac-1.jpg\" width=\"10\" height=\"6\"></td>\r\n"
      "<td><img src=\"/out/\xd5\xd5\xc6\xac-2.jpg\" width=\"9\" height=\"6\"></td>\r\n"
      "</tr>\r\n<tr>\r\n"
      "<td><img src=\"/out/\xd5\xd5\xc6\xac-3.jpg\" width=\"10\" height=\"5\"></td>\r\n"
      "<td><img src=\"/out/\xd5\xd5\xc6\xac-4.jpg\" width=\"9\" height=\"5\"></td>\r\n"
      "</tr>\r\n</table>\r\n</body>\r\n</html>";
  EXPECT_EQ(page.text(), expected);
  ASSERT_EQ(page.Write(folder / "p.html"), std::nullopt);
  EXPECT_EQ(test::ReadFile(folder / "p.html"), expected);
}

TEST(SlicePageTest, LongPagesGrowAndAreWrittenWhole) {
  TempFolder folder;
  SlicePage page;
  page.Begin("big.jpg");
  const std::string long_folder = "/" + std::string(150, 'd');
  const int rows = 200, columns = 100;
  for (int row = 0; row < rows; ++row) {
    page.BeginRow();
    for (int column = 0; column < columns; ++column) {
      page.AddTile(long_folder + "/big-" + std::to_string(row * columns + column + 1) + ".jpg", 1,
                   1);
    }
    page.EndRow();
  }
  page.End();
  EXPECT_GT(page.text().size(), SlicePage::kInitialCapacity + 1024 * 1024);
  const std::string last =
      "big-20000.jpg\" width=\"1\" height=\"1\"></td>\r\n</tr>\r\n</table>"
      "\r\n</body>\r\n</html>";
  ASSERT_GE(page.text().size(), last.size());
  EXPECT_EQ(page.text().substr(page.text().size() - last.size()), last);
  ASSERT_EQ(page.Write(folder / "big.html"), std::nullopt);
  EXPECT_EQ(test::ReadFile(folder / "big.html"), page.text());
}

TEST(SlicePageTest, PageThatCannotBeMadeEndsTheRun) {
  TempFolder folder;
  SlicePage page;
  page.Begin("x.jpg");
  page.End();
  const fs::path path = folder / "missing" / "x.html";
  std::optional<RunMessage> failure = page.Write(path);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->text,
            "生成HTML代码页的时候发生错误：fopen()，请检查硬盘空间是否用完。\n\n目标文件名：\n" +
                path.string());
  EXPECT_EQ(failure->caption, "错误");
  EXPECT_EQ(failure->icon, MessageIcon::kError);
}

}  // namespace
}  // namespace brindle
