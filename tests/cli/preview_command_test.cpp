// brindle-cli preview: the effect preview of one picture written as the window shows it, with the
// window's two status texts on standard output.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/batch_command_fixture.h"
#include "engine/read/picture_info.h"
#include "run/preview/effect_preview.h"

namespace brindle::batch_test {
namespace {

class PreviewCommand : public BatchCommand {
 protected:
  CommandResult Preview(std::vector<std::string> args) {
    args.insert(args.begin(), "preview");
    return test::RunCli(args, Environment());
  }
};

TEST_F(PreviewCommand, ShowsWhatTheBatchWouldWrite) {
  fs::path in = Folder("in");
  WriteJpeg(in / "photo.jpg", 400, 300, 92);
  const std::vector<std::string> recipe = {"bSize=1", "sizeValue=200", "bQuanlity=1",
                                           "quanlity=70"};
  fs::path shown = work_ / "shown.jpg";
  std::vector<std::string> args = {(in / "photo.jpg").string(), "--to", shown.string()};
  args.insert(args.end(), recipe.begin(), recipe.end());
  CommandResult preview = Preview(args);
  ASSERT_EQ(preview.status, 0) << preview.err;
  EXPECT_EQ(preview.err, "");

  // The batch with the same recipe writes the very bytes the preview shows, and the status line
  // gives their length.
  fs::path out = Folder("out");
  std::vector<std::string> batch = {"--out", out.string()};
  batch.insert(batch.end(), recipe.begin(), recipe.end());
  batch.push_back((in / "photo.jpg").string());
  ASSERT_EQ(Batch(batch).status, 0);
  const std::string written = test::ReadFile(out / "photo.jpg");
  EXPECT_EQ(test::ReadFile(shown), written);
  EXPECT_EQ(SizeOf(shown), "200x150");
  const auto source_size = static_cast<std::int64_t>(fs::file_size(in / "photo.jpg"));
  EXPECT_EQ(preview.out, "原图" + FormatPictureInfo(400, 300, "JPEG", source_size) + "\n" +
                             ResultStatusText(200, 150, written.size()) + "\n");

  // Named .png, the same pixels are written as PNG.
  fs::path png = work_ / "shown.png";
  args[2] = png.string();
  ASSERT_EQ(Preview(args).status, 0);
  ReadBack as_png = Read(png);
  EXPECT_EQ(as_png.format, "PNG");
  EXPECT_EQ(SizeOf(png), "200x150");
  ReadBack as_jpeg = Read(shown);
  EXPECT_EQ(PixelAt(as_png.wand.get(), 120, 70), PixelAt(as_jpeg.wand.get(), 120, 70));
}

TEST_F(PreviewCommand, RefusalsAndPicturesThatCannotBeShown) {
  fs::path in = Folder("in");
  fs::path picture = Picture(in / "a.png", 40, 30, "PNG");
  test::WriteAnimatedGif(in / "moving.gif", 12, 8);
  WriteBrokenPng(in / "broken.png");
  fs::path shown = work_ / "shown.jpg";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{picture.string(), "--to", shown.string(), "bSize=1", "sizeValue=0"}, 2, "图片宽不能为 0\n"},
      {{picture.string(), "--to", shown.string(), "sizeValeu=1"}, 2, "未知的设置项: sizeValeu\n"},
      {{(in / "gone.png").string(), "--to", shown.string()},
       2,
       "图片文件不存在: " + (in / "gone.png").string() + "\n"},
      {{picture.string(), "--to", shown.string(), "--recipe", (in / "none.sz").string()},
       2,
       "图片处理设置文件:[" + (in / "none.sz").string() + "]不存在\n"},
      {{(in / "moving.gif").string(), "--to", shown.string()},
       1,
       "不支持gif动画图片:\n" + (in / "moving.gif").string() + "\n\n"},
      {{(in / "broken.png").string(), "--to", shown.string()},
       1,
       "图片读取失败:\n" + (in / "broken.png").string() + "\n\n"},
  };
  for (const Case& c : cases) {
    CommandResult result = Preview(c.args);
    EXPECT_EQ(result.status, c.status) << c.err;
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.out, "");
  }
  // Usage errors: no --to, a name that is neither JPEG nor PNG, two pictures.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{picture.string()},
        std::vector<std::string>{picture.string(), "--to", (work_ / "x.gif").string()},
        std::vector<std::string>{picture.string(), picture.string(), "--to", shown.string()}}) {
    CommandResult result = Preview(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("用法: brindle-cli preview FILE --to OUT.jpg"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(shown));
  EXPECT_FALSE(fs::exists(work_ / "x.gif"));
  EXPECT_EQ(Preview({"--help"}).out.rfind("用法: brindle-cli preview FILE --to OUT.jpg", 0), 0u);
  EXPECT_NE(test::RunCli({"--help"}).out.find("  preview FILE --to OUT.jpg"), std::string::npos);
}

}  // namespace
}  // namespace brindle::batch_test
