// The files installed beside the programs say what the programs do: the manual page names every
// command, option and exit status of brindle-cli, the bash completion offers its commands, options
// and setting names, and the desktop file opens every format the program reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/read/picture_classify.h"
#include "recipe/options_file.h"
#include "support/test_support.h"
#include "tools/common/tool_settings.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = BRINDLE_SOURCE_DIR;
const fs::path kCompletion = kSource / "data" / "completion" / "brindle-cli";
const fs::path kManual = kSource / "data" / "man" / "brindle-cli.1";

const std::vector<std::string> kCommands = {"recipe", "batch",   "convert", "png",  "crop",
                                            "join",   "slice",   "preview", "info", "classify"};

// Standard output of a bash script run after the completion file was read.
std::string Bash(const std::string& script) {
  // A folder of its own: the tests of this file run in parallel processes.
  test::TempFolder folder;
  const fs::path file = folder.path() / "completion-test.sh";
  test::WriteFile(file, "source '" + kCompletion.string() + "'\n" + script + "\n");
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("bash " + file.string()).c_str(), "r"),
                                             &pclose);
  std::string out;
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
  return out;
}

std::set<std::string> Words(const std::string& text) {
  std::set<std::string> words;
  std::istringstream stream(text);
  for (std::string word; stream >> word;) words.insert(word);
  return words;
}

template <typename Names>
std::set<std::string> AsSet(const Names& names) {
  return std::set<std::string>(names.begin(), names.end());
}

// The long options a usage text names.
std::set<std::string> UsageOptions(const std::string& command) {
  test::CommandResult help = test::RunCli({command, "--help"});
  EXPECT_EQ(help.status, 0) << command;
  std::set<std::string> options;
  const std::regex option("--[a-z][a-z-]*");
  for (auto it = std::sregex_iterator(help.out.begin(), help.out.end(), option);
       it != std::sregex_iterator(); ++it) {
    options.insert(it->str());
  }
  options.insert("--help");
  return options;
}

TEST(BashCompletion, OffersEverySettingNameOfTheTables) {
  EXPECT_EQ(Words(Bash("_brindle_cli_keys batch")), AsSet(OptionKeys()));
  EXPECT_EQ(Words(Bash("_brindle_cli_keys preview")), AsSet(OptionKeys()));
  EXPECT_EQ(Words(Bash("_brindle_cli_keys convert")),
            AsSet(ToolSettingNames<ConvertToolSettings>()));
  EXPECT_EQ(Words(Bash("_brindle_cli_keys png")), AsSet(ToolSettingNames<PngToolSettings>()));
  EXPECT_EQ(Words(Bash("_brindle_cli_keys crop")), AsSet(ToolSettingNames<CropToolSettings>()));
  EXPECT_EQ(Words(Bash("_brindle_cli_keys join")), AsSet(ToolSettingNames<JoinToolSettings>()));
  EXPECT_EQ(Words(Bash("_brindle_cli_keys slice")), AsSet(ToolSettingNames<SliceToolSettings>()));
}

TEST(BashCompletion, OffersTheOptionsOfEachCommandsUsage) {
  EXPECT_EQ(Words(Bash("echo $_brindle_cli_commands")), AsSet(kCommands));
  for (const std::string& command : kCommands) {
    if (command == "recipe") continue;  // its two sub-commands take no options
    EXPECT_EQ(Words(Bash("_brindle_cli_options " + command)), UsageOptions(command)) << command;
  }
}

TEST(BashCompletion, CompletesCommandsOptionsAndKeys) {
  auto complete = [](const std::string& words) {
    return Bash("COMP_WORDS=(" + words + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _brindle_cli; "
                "printf '%s\\n' \"${COMPREPLY[@]}\"");
  };
  EXPECT_EQ(complete("brindle-cli ba"), "batch\n");
  EXPECT_EQ(complete("brindle-cli batch --thr"), "--threads-model\n");
  EXPECT_EQ(complete("brindle-cli batch --threads-model ''"), "1\n2\n");
  EXPECT_EQ(complete("brindle-cli crop crop_mo"), "crop_mode=\n");
  EXPECT_EQ(complete("brindle-cli batch bRemove"), "bRemovePhotoOtherInfo=\n");
  EXPECT_EQ(complete("brindle-cli recipe n"), "normalize\n");
  // A value after "=" (a word of its own for bash) is the user's.
  EXPECT_EQ(complete("brindle-cli batch sizeValue = ''"), "\n");
}

TEST(ManualPage, NamesEveryCommandOptionAndExitStatus) {
  const std::string page = test::ReadFile(kManual);
  // Options appear as "\-\-name" in the page's source.
  auto escaped = [](std::string text) {
    std::string out;
    for (char c : text) {
      if (c == '-') out += '\\';
      out += c;
    }
    return out;
  };
  for (const std::string& command : kCommands) {
    EXPECT_NE(page.find(".B " + escaped(command)), std::string::npos) << command;
    if (command == "recipe") continue;
    for (const std::string& option : UsageOptions(command)) {
      EXPECT_NE(page.find(escaped(option)), std::string::npos) << command << " " << option;
    }
  }
  EXPECT_NE(page.find(escaped("--version")), std::string::npos);
  const std::string statuses = page.substr(page.find(".SH EXIT STATUS"));
  for (const char* status : {"0", "1", "2", "3", "4", "255"}) {
    EXPECT_NE(statuses.find(std::string(".B ") + status + "\n"), std::string::npos) << status;
  }
}

TEST(ManualPage, BothPagesFormatWithoutWarnings) {
  for (const char* page : {"brindle.1", "brindle-cli.1"}) {
    const fs::path file = kSource / "data" / "man" / page;
    const std::string command = "LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l '" +
                                file.string() + "' 2>&1 >/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string warnings;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) warnings += buffer;
    EXPECT_EQ(warnings, "") << page;
  }
}

TEST(DesktopFile, OpensEveryFormatTheProgramReads) {
  const std::string desktop = test::ReadFile(kSource / "src" / "app" / "brindle.desktop");
  const std::string mime_line = desktop.substr(desktop.find("\nMimeType=") + 1);
  const std::set<std::string> listed = [&] {
    std::set<std::string> types;
    std::string line = mime_line.substr(9, mime_line.find('\n') - 9);
    for (std::size_t at = 0; at < line.size();) {
      std::size_t end = line.find(';', at);
      types.insert(line.substr(at, end - at));
      at = end + 1;
    }
    return types;
  }();
  const std::vector<std::pair<std::string, std::string>> mime_of = {
      {"JPEG", "image/jpeg"}, {"PNG", "image/png"},   {"GIF", "image/gif"},
      {"BMP", "image/bmp"},   {"TIFF", "image/tiff"}, {"PSD", "image/vnd.adobe.photoshop"},
      {"HEIF", "image/heif"}, {"AVIF", "image/avif"}, {"WEBP", "image/webp"},
  };
  int formats = 0;
  for (int code = static_cast<int>(PictureClass::kJpeg);; ++code) {
    const auto picture_class = static_cast<PictureClass>(code);
    if (!IsPictureFormat(picture_class) || PictureClassName(picture_class).empty()) break;
    ++formats;
    const std::string name(PictureClassName(picture_class));
    auto found = std::find_if(mime_of.begin(), mime_of.end(),
                              [&](const auto& entry) { return entry.first == name; });
    ASSERT_NE(found, mime_of.end()) << "no media type known for " << name;
    EXPECT_TRUE(listed.count(found->second)) << found->second;
  }
  EXPECT_GE(formats, 6);
  // Folders are dropped on the list as well.
  EXPECT_TRUE(listed.count("inode/directory"));
}

}  // namespace
}  // namespace brindle
