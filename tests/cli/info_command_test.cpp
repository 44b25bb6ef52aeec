#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TempFolder;
using test::WriteFile;

std::string SizeText(const fs::path& path) {
  auto size = fs::file_size(path);
  char text[32];
  if (size < 1024) {
    std::snprintf(text, sizeof text, "%llu 字节", static_cast<unsigned long long>(size));
  } else {
    std::snprintf(text, sizeof text, "%0.1f KB", size / 1024.0);
  }
  return text;
}

TEST(ClassifyCommand, OneLinePerFileInArgumentOrder) {
  TempFolder folder;
  test::WritePicture(folder / "a.jpg", 20, 10, "JPEG");
  test::WritePicture(folder / "b.png", 20, 10, "PNG");
  test::WritePicture(folder / "c.gif", 20, 10, "GIF");
  test::WritePicture(folder / "d.bmp", 20, 10, "BMP");
  test::WritePicture(folder / "e.psd", 20, 10, "PSD");
  test::WritePicture(folder / "f.tif", 20, 10, "TIFF");
  std::vector<std::string> args = {"classify"};
  for (const char* name : {"f.tif", "a.jpg", "b.png", "c.gif", "d.bmp", "e.psd"}) {
    args.push_back((folder / name).string());
  }
  test::CommandResult result = RunCli(args);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "TIFF\nJPEG\nPNG\nGIF\nBMP\nPSD\n");
  EXPECT_EQ(result.err, "");
}

TEST(ClassifyCommand, FailureCodesMakeExitStatusOne) {
  TempFolder folder;
  test::WriteAnimatedGif(folder / "anim.gif", 8, 8);
  WriteFile(folder / "notes.txt", "hello");
  test::WritePicture(folder / "ok.png", 10, 10, "PNG");
  test::CommandResult result =
      RunCli({"classify", (folder / "ok.png").string(), (folder / "missing.jpg").string(),
              (folder / "anim.gif").string(), (folder / "notes.txt").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "PNG\n0\n-1\n-2\n");
}

TEST(ClassifyCommand, UsageErrorsAndHelp) {
  test::CommandResult none = RunCli({"classify"});
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("用法: brindle-cli classify"), std::string::npos);

  test::CommandResult unknown = RunCli({"classify", "--fast", "x.jpg"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("未知的选项: --fast"), std::string::npos);

  test::CommandResult help = RunCli({"classify", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("用法: brindle-cli classify"), std::string::npos);

  test::CommandResult main_help = RunCli({"--help"});
  EXPECT_NE(main_help.out.find("classify FILE..."), std::string::npos);
  EXPECT_NE(main_help.out.find("info FILE..."), std::string::npos);
}

TEST(ClassifyCommand, NamesAreTakenAsTheyAre) {
  TempFolder folder;
  for (const char* name : {"-dash.png", "msl:x.png", "a[1].png", "100%.png"}) {
    test::WritePicture(folder / name, 10, 10, "PNG");
  }
  test::CommandResult result =
      RunCli({"classify", (folder / "msl:x.png").string(), (folder / "a[1].png").string(),
              (folder / "100%.png").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "PNG\nPNG\nPNG\n");
  // After "--" a name that starts with a dash is a file.
  fs::path cwd = fs::current_path();
  fs::current_path(folder.path());
  result = RunCli({"classify", "--", "-dash.png"});
  fs::current_path(cwd);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "PNG\n");
}

TEST(InfoCommand, PrintsTheInformationLineOfEachFile) {
  TempFolder folder;
  test::WritePicture(folder / "a.jpg", 320, 240, "JPEG");
  test::WritePicture(folder / "b.tif", 33, 22, "TIFF");
  test::CommandResult result =
      RunCli({"info", (folder / "a.jpg").string(), (folder / "b.tif").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "尺寸: 320 x 240, 类型: JPEG 图片, 大小: " + SizeText(folder / "a.jpg") +
                "\n尺寸: 33 x 22, 类型: TIFF 图片, 大小: " + SizeText(folder / "b.tif") + "\n");
  EXPECT_EQ(result.err, "");
}

TEST(InfoCommand, ExactSizeTexts) {
  TempFolder folder;
  // GIF header with sides 5 x 4, padded to exact lengths.
  std::string gif("GIF89a\x05\x00\x04\x00\x00\x00\x00;", 14);
  WriteFile(folder / "small.gif", gif + std::string(1023 - gif.size(), '\0'));
  WriteFile(folder / "kilo.gif", gif + std::string(1024 - gif.size(), '\0'));
  WriteFile(folder / "mega.gif", gif + std::string(1048576 - gif.size(), '\0'));
  test::CommandResult result =
      RunCli({"info", (folder / "small.gif").string(), (folder / "kilo.gif").string(),
              (folder / "mega.gif").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "尺寸: 5 x 4, 类型: GIF 图片, 大小: 1023 字节\n"
            "尺寸: 5 x 4, 类型: GIF 图片, 大小: 1.0 KB\n"
            "尺寸: 5 x 4, 类型: GIF 图片, 大小: 1.0 MB\n");
}

TEST(InfoCommand, UnrecognisedHeadersAreLoggedAndDecoded) {
  TempFolder folder;
  test::WritePicture(folder / "p.webp", 41, 17, "WEBP");
  WriteFile(folder / "junk.jpg", "junk");
  std::string webp = (folder / "p.webp").string();
  std::string junk = (folder / "junk.jpg").string();
  test::CommandResult result = RunCli({"info", webp, junk});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "尺寸: 41 x 17, 类型: WEBP 图片, 大小: " + SizeText(folder / "p.webp") +
                            "\n注意: 这不是一个有效的图片\n");
  // The WebP's header is read as the other formats' are; only the junk is logged.
  EXPECT_EQ(result.err, "无法识别的图片:\n" + junk + "\n\n");
}

TEST(InfoCommand, UsageErrors) {
  test::CommandResult none = RunCli({"info"});
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("用法: brindle-cli info"), std::string::npos);
  test::CommandResult unknown = RunCli({"info", "-v", "x.jpg"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  test::CommandResult help = RunCli({"info", "-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("退出状态"), std::string::npos);
}

}  // namespace
}  // namespace brindle
