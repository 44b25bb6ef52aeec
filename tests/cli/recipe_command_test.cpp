#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recipe/options_file.h"
#include "support/test_support.h"

namespace brindle {
namespace {

using test::RunCli;
using test::TempFolder;

const std::string kSongTiGbk = "\xCB\xCE\xCC\xE5";

std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// The line of one key in brindle-cli's output; fails the test when there is none.
std::string LineOf(const std::string& text, const std::string& key) {
  for (const std::string& line : SplitCrLfLines(text)) {
    if (line.compare(0, key.size() + 1, key + "=") == 0) return line;
  }
  ADD_FAILURE() << "no line for " << key;
  return {};
}

// Runs `recipe normalize` on a file holding bytes; the command must succeed.
std::string Normalize(const std::string& bytes) {
  TempFolder folder;
  test::WriteFile(folder / "recipe.sz", bytes);
  test::CommandResult result = RunCli({"recipe", "normalize", (folder / "recipe.sz").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  return result.out;
}

TEST(RecipeCommand, DefaultPrintsTheDefaultRecipeBytes) {
  test::CommandResult result = RunCli({"recipe", "default"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out.size(), 745u);
  EXPECT_EQ(result.out, DefaultOptionsText());
  EXPECT_EQ(SplitCrLfLines(result.out).size(), 42u);
  EXPECT_EQ(SplitCrLfLines(result.out)[23], "sy_text_fontName=" + kSongTiGbk);
  EXPECT_EQ(result.err, "");
}

TEST(RecipeCommand, NormalizeWritesEveryKeyWithCrLf) {
  std::string out = Normalize("");
  std::vector<std::string> lines = SplitCrLfLines(out);
  ASSERT_EQ(lines.size(), 71u);
  EXPECT_EQ(lines.front(), "bSize=0");
  EXPECT_EQ(lines[3], "zoomUnit=0");
  EXPECT_EQ(lines.back(), "bDpiResample=0");
  EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
  // The presets of an empty file.
  EXPECT_EQ(LineOf(out, "fSizeValue"), "fSizeValue=100.000000");
  EXPECT_EQ(LineOf(out, "toColorspace"), "toColorspace=2");
  EXPECT_EQ(LineOf(out, "sy_text_background_color"), "sy_text_background_color=-1");
  EXPECT_EQ(LineOf(out, "dpi"), "dpi=-1");
  EXPECT_EQ(LineOf(out, "sizeValue"), "sizeValue=0");
}

TEST(RecipeCommand, NormalizeAppliesTheRangeRules) {
  std::string out = Normalize("zoomUnit=5\nqualityMode=1\nmaxFileSize=100000\n");
  EXPECT_EQ(LineOf(out, "zoomUnit"), "zoomUnit=0");
  EXPECT_EQ(LineOf(out, "qualityMode"), "qualityMode=1");
  EXPECT_EQ(LineOf(out, "maxFileSize"), "maxFileSize=0");
  EXPECT_EQ(LineOf(Normalize("maxFileSize=99999\n"), "maxFileSize"), "maxFileSize=99999");
}

TEST(RecipeCommand, NormalizeWritesStoredForms) {
  std::string out = Normalize("dpi=0\nfSizeValue=37.5\nsy_text_border_color=4294967295\n");
  EXPECT_EQ(LineOf(out, "dpi"), "dpi=-1");
  EXPECT_EQ(LineOf(out, "fSizeValue"), "fSizeValue=37.500000");
  EXPECT_EQ(LineOf(out, "sy_text_border_color"), "sy_text_border_color=-1");
}

TEST(RecipeCommand, NormalizeGivesTheSameOutputForCrLfAndLf) {
  const std::vector<std::string> lines = {"bSize=1", "sizeValue=1024",
                                          "sy_text=" + kSongTiGbk + " 2024",
                                          "sy_image=/tmp/logo.png", "quanlity=85"};
  std::string lf;
  std::string crlf;
  for (const std::string& line : lines) {
    lf += line + "\n";
    crlf += line + "\r\n";
  }
  std::string from_lf = Normalize(lf);
  EXPECT_EQ(Normalize(crlf), from_lf);
  EXPECT_EQ(LineOf(from_lf, "sy_text"), "sy_text=" + kSongTiGbk + " 2024");
  EXPECT_EQ(LineOf(from_lf, "sy_image"), "sy_image=/tmp/logo.png");
}

TEST(RecipeCommand, NormalizeSkipsOverlongKeysAndValues) {
  std::string text;
  text += std::string(128, 'k') + "=1\n";
  text += "sy_image=/kept.png\n";
  text += "sy_image=/" + std::string(1023, 'p') + "\n";      // 1024-byte value: skipped
  text += "sizeValue=" + std::string(1019, '0') + "1234\n";  // 1023-byte value: taken
  text += "no equals sign\n";
  text += "unknownKey=5\n";
  std::string out = Normalize(text);
  EXPECT_EQ(LineOf(out, "sy_image"), "sy_image=/kept.png");
  EXPECT_EQ(LineOf(out, "sizeValue"), "sizeValue=1234");
  EXPECT_EQ(SplitCrLfLines(out).size(), 71u);
}

TEST(RecipeCommand, NormalizeKeepsGbkTextsByteForByte) {
  std::string out = Normalize("sy_text_fontName=" + kSongTiGbk + "\r\n");
  EXPECT_EQ(LineOf(out, "sy_text_fontName"), "sy_text_fontName=" + kSongTiGbk);
  // Normalizing its own output changes nothing.
  EXPECT_EQ(Normalize(out), out);
  EXPECT_EQ(Normalize(DefaultOptionsText()), FormatOptionsText(InitialProcessingOptions()));
}

TEST(RecipeCommand, FileThatCannotBeReadIsRefused) {
  TempFolder folder;
  std::string missing = (folder / "missing.sz").string();
  test::CommandResult result = RunCli({"recipe", "normalize", missing});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;

  result = RunCli({"recipe", "normalize", folder.path().string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
}

TEST(RecipeCommand, UsageErrorsExitTwo) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"recipe"}, {"recipe", "normalize"}, {"recipe", "bogus"}, {"recipe", "default", "x"}}) {
    test::CommandResult result = RunCli(args);
    EXPECT_EQ(result.status, 2) << args.back();
    EXPECT_EQ(result.out, "") << args.back();
    EXPECT_NE(result.err, "") << args.back();
  }
}

TEST(BrindleCli, VersionAndHelp) {
  test::CommandResult version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("Brindle图片批量处理工具", 0), 0u) << version.out;
  EXPECT_NE(version.out.find(BRINDLE_VERSION), std::string::npos) << version.out;

  test::CommandResult help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("recipe"), std::string::npos);
  EXPECT_EQ(RunCli({"-h"}).status, 0);

  test::CommandResult recipe_help = RunCli({"recipe", "--help"});
  EXPECT_EQ(recipe_help.status, 0);
  EXPECT_NE(recipe_help.out.find("normalize"), std::string::npos);
}

TEST(BrindleCli, UnknownCommandOrNoneExitsTwo) {
  test::CommandResult result = RunCli({"frobnicate"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("frobnicate"), std::string::npos);
  EXPECT_EQ(RunCli({}).status, 2);
}

}  // namespace
}  // namespace brindle
