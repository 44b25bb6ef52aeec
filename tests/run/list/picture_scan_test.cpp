#include "run/list/picture_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/info_log.h"
#include "platform/text/text_encoding.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

void Touch(const fs::path& path) { test::WriteFile(path, "x"); }

std::vector<std::string> Relative(const std::vector<fs::path>& paths, const fs::path& base) {
  std::vector<std::string> out;
  for (const fs::path& path : paths) out.push_back(path.lexically_relative(base).string());
  return out;
}

std::string ExpectedLongPathMessage(const char* what, std::size_t length, const fs::path& path) {
  return std::string("软件因下列原因意外退出：\n") + what + "路径长度大于 259 个字符！\n\n当前" +
         what + "路径长度：" + std::to_string(length) + " 个字符\n" + path.string() +
         "\n\n解决方案：修改" + what +
         "路径长度，使其长度不超过 259 个字符。\n\n提示：一个英文字母占 1 个字符，一个汉字占 2 "
         "个字符。";
}

// A name that makes folder/name exactly gbk_length bytes long in GBK, with Chinese characters in it
// so that the UTF-8 form is longer than the GBK one.
std::string NameForGbkLength(const fs::path& folder, std::size_t gbk_length,
                             const std::string& ending) {
  std::string name;
  for (int i = 0; i < 20; ++i) name += "图";
  std::size_t fixed = GbkLength((folder / (name + ending)).string());
  return name + std::string(gbk_length - fixed, 'a') + ending;
}

class PictureScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = temp.path() / "Holiday";
    fs::create_directories(root / "day2");
    fs::create_directories(root / "day1" / "inner");
    fs::create_directories(root / ".hidden");
    fs::create_directories(root / "folder.jpg");
    for (const char* name : {"b.JPG", "a.png", "c.txt", "d.Tiff", "e.tbi", "f.jpeg.bak", "g.JFIF",
                             "h.psd", "i.bmp", "j.gif", "k.tif", "l.jpeg", "noext", ".dot.jpg"}) {
      Touch(root / name);
    }
    Touch(root / "day1" / "x.jpg");
    Touch(root / "day1" / "inner" / "y.png");
    Touch(root / "day2" / "z.gif");
    Touch(root / ".hidden" / "secret.jpg");
    mkfifo((root / "pipe.jpg").c_str(), 0600);
  }
  TempFolder temp;
  fs::path root;
};

TEST_F(PictureScanTest, PictureFilesByExtensionInByteOrder) {
  ScanResult result = ListPictureFiles(root);
  EXPECT_TRUE(result.notices.empty());
  EXPECT_EQ(Relative(result.paths, root),
            (std::vector<std::string>{".dot.jpg", "a.png", "b.JPG", "d.Tiff", "e.tbi", "g.JFIF",
                                      "h.psd", "i.bmp", "j.gif", "k.tif", "l.jpeg"}));
}

TEST_F(PictureScanTest, FilesByPattern) {
  EXPECT_EQ(Relative(ListFiles(root, "*.jpg").paths, root),
            (std::vector<std::string>{".dot.jpg", "b.JPG"}));
  EXPECT_EQ(Relative(ListFiles(root, "?.TI*").paths, root),
            (std::vector<std::string>{"d.Tiff", "k.tif"}));
  std::vector<std::string> everything = Relative(ListFiles(root).paths, root);
  EXPECT_EQ(everything, Relative(ListFiles(root, "").paths, root));
  EXPECT_EQ(everything.size(), 14u);  // every file, "noext" too; no folders, no pipe
  EXPECT_NE(std::find(everything.begin(), everything.end(), "noext"), everything.end());
}

TEST_F(PictureScanTest, SubFoldersParentFirstWithoutHiddenOnes) {
  EXPECT_EQ(Relative(ListSubFolders(root, false).paths, root),
            (std::vector<std::string>{"day1", "day2", "folder.jpg"}));
  EXPECT_EQ(Relative(ListSubFolders(root, true).paths, root),
            (std::vector<std::string>{"day1", "day1/inner", "day2", "folder.jpg"}));
}

TEST_F(PictureScanTest, LinkBackToAnOuterFolderIsNotWalkedAgain) {
  fs::create_directory_symlink(root, root / "day1" / "inner" / "loop");
  fs::create_directory_symlink(root / "day2", root / "day3");
  EXPECT_EQ(Relative(ListSubFolders(root, true).paths, root),
            (std::vector<std::string>{"day1", "day1/inner", "day2", "folder.jpg"}));
}

TEST_F(PictureScanTest, TooLongFilePathIsReportedAndSkipped) {
  fs::path longest = root / NameForGbkLength(root, 259, ".jpg");
  fs::path too_long = root / NameForGbkLength(root, 260, ".jpg");
  ASSERT_GT(longest.string().size(), 259u);  // UTF-8 is longer; the limit counts GBK bytes
  Touch(longest);
  Touch(too_long);

  ScanResult result = ListPictureFiles(root);
  EXPECT_NE(std::find(result.paths.begin(), result.paths.end(), longest), result.paths.end());
  EXPECT_EQ(std::find(result.paths.begin(), result.paths.end(), too_long), result.paths.end());
  EXPECT_EQ(result.paths.size(), 12u);  // the scan went on
  ASSERT_EQ(result.notices.size(), 1u);
  EXPECT_EQ(result.notices[0].path, too_long);
  EXPECT_EQ(result.notices[0].message, ExpectedLongPathMessage("文件", 260, too_long));
}

TEST_F(PictureScanTest, TooLongFolderPathIsReportedAndNotEntered) {
  fs::path deep = root / "day2" / NameForGbkLength(root / "day2", 265, "");
  fs::create_directories(deep / "below");
  Touch(deep / "p.jpg");

  ScanResult result = ListSubFolders(root, true);
  EXPECT_EQ(Relative(result.paths, root),
            (std::vector<std::string>{"day1", "day1/inner", "day2", "folder.jpg"}));
  ASSERT_EQ(result.notices.size(), 1u);
  EXPECT_EQ(result.notices[0].path, deep);
  EXPECT_EQ(result.notices[0].message, ExpectedLongPathMessage("文件夹", 265, deep));

  FolderScan scan = ScanPictureFolder(root, true);
  ASSERT_EQ(scan.notices.size(), 1u);
  EXPECT_EQ(scan.notices[0].path, deep);
}

TEST_F(PictureScanTest, ChosenFolderGivesSubPathsFromItsOwnName) {
  FolderScan own = ScanPictureFolder(root.string() + "/", false);
  EXPECT_TRUE(own.has_sub_folders);
  ASSERT_EQ(own.pictures.size(), 11u);
  for (const ScannedPicture& picture : own.pictures) EXPECT_EQ(picture.source_sub_path, "Holiday");

  FolderScan all = ScanPictureFolder(root, true);
  ASSERT_EQ(all.pictures.size(), 14u);
  EXPECT_EQ(all.pictures[10].path, root / "l.jpeg");
  EXPECT_EQ(all.pictures[11].path, root / "day1" / "x.jpg");
  EXPECT_EQ(all.pictures[11].source_sub_path, "Holiday/day1");
  EXPECT_EQ(all.pictures[12].path, root / "day1" / "inner" / "y.png");
  EXPECT_EQ(all.pictures[12].source_sub_path, "Holiday/day1/inner");
  EXPECT_EQ(all.pictures[13].path, root / "day2" / "z.gif");
  EXPECT_EQ(all.pictures[13].source_sub_path, "Holiday/day2");

  FolderScan pngs = ScanPictureFolder(root, true, "*.png");
  ASSERT_EQ(pngs.pictures.size(), 2u);
  EXPECT_EQ(pngs.pictures[0].path, root / "a.png");
  EXPECT_EQ(pngs.pictures[1].source_sub_path, "Holiday/day1/inner");

  FolderScan leaf = ScanPictureFolder(root / "day2", true);
  EXPECT_FALSE(leaf.has_sub_folders);
  ASSERT_EQ(leaf.pictures.size(), 1u);
  EXPECT_EQ(leaf.pictures[0].source_sub_path, "day2");
}

TEST_F(PictureScanTest, DotAndDotDotStandForTheFolderTheyLeadTo) {
  FolderScan dot = ScanPictureFolder(root / ".", true);
  ASSERT_EQ(dot.pictures.size(), 14u);
  EXPECT_EQ(dot.pictures[0].source_sub_path, "Holiday");
  EXPECT_EQ(dot.pictures[13].path, root / "." / "day2" / "z.gif");
  EXPECT_EQ(dot.pictures[13].source_sub_path, "Holiday/day2");

  FolderScan up = ScanPictureFolder(root.string() + "/day1/../", true);
  ASSERT_EQ(up.pictures.size(), 14u);
  EXPECT_EQ(up.pictures[0].source_sub_path, "Holiday");
  EXPECT_EQ(up.pictures[11].source_sub_path, "Holiday/day1");

  fs::path cwd = fs::current_path();
  fs::current_path(root / "day2");
  FolderScan here = ScanPictureFolder(".", false);
  fs::current_path(cwd);
  ASSERT_EQ(here.pictures.size(), 1u);
  EXPECT_EQ(here.pictures[0].path, fs::path("./z.gif"));
  EXPECT_EQ(here.pictures[0].source_sub_path, "day2");
}

TEST(PictureScan, RootFolderIsRecognised) {
  EXPECT_TRUE(IsFileSystemRoot("/"));
  EXPECT_TRUE(IsFileSystemRoot("//"));
  EXPECT_FALSE(IsFileSystemRoot("/pics"));
  EXPECT_FALSE(IsFileSystemRoot(""));
}

TEST(PictureScan, MissingFolderGivesNothing) {
  TempFolder temp;
  EXPECT_TRUE(ListPictureFiles(temp / "missing").paths.empty());
  EXPECT_TRUE(ListSubFolders(temp / "missing", true).paths.empty());
  EXPECT_TRUE(ScanPictureFolder(temp / "missing", true).pictures.empty());
}

}  // namespace
}  // namespace brindle
