// The F1 help texts: one for every named control, each line narrow enough for the popup.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "support/test_support.h"
#include "window_rules/dialogs/help_texts.h"

namespace brindle {
namespace {

// Every control name the desktop program gives a widget (the panel's and the window's), read from
// the headers that declare them so that a control added there without a help text is caught.
std::set<std::string> DeclaredControls() {
  const std::regex name_literal(R"re(std::string_view\s+k\w+\s*=\s*"([a-z_]+)")re");
  std::set<std::string> names;
  for (const char* header : {"/src/panel/values/panel_controls.h",
                             "/src/engine/watermark/text_watermark_controls.h"}) {
    const std::string text = test::ReadFile(std::string(BRINDLE_SOURCE_DIR).append(header));
    for (auto it = std::sregex_iterator(text.begin(), text.end(), name_literal);
         it != std::sregex_iterator(); ++it) {
      names.insert((*it)[1]);
    }
  }
  return names;
}

// Columns a line takes: a Chinese character (any non-ASCII code point) two, ASCII one.
int LineWidth(std::string_view line) {
  int width = 0;
  for (const char byte : line) {
    const auto unit = static_cast<unsigned char>(byte);
    if (unit < 0x80) {
      width += 1;
    } else if ((unit & 0xC0) != 0x80) {
      width += 2;
    }
  }
  return width;
}

TEST(HelpTexts, EveryControlHasShortNarrowLines) {
  const std::set<std::string> declared = DeclaredControls();
  ASSERT_GT(declared.size(), 75u);
  std::set<std::string> helped;
  for (std::string_view control : HelpControls()) helped.emplace(control);
  EXPECT_EQ(helped, declared);

  for (const std::string& control : declared) {
    const std::optional<std::string_view> text = HelpText(control);
    if (!text) {
      ADD_FAILURE() << "no help text for " << control;
      continue;
    }
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start <= text->size()) {
      const std::size_t end = std::min(text->find('\n', start), text->size());
      const std::string_view line = text->substr(start, end - start);
      EXPECT_FALSE(line.empty()) << control << " line " << lines;
      EXPECT_LE(LineWidth(line), 48) << control << ": " << line;
      ++lines;
      start = end + 1;
    }
    EXPECT_LE(lines, 5u) << control;
  }

  EXPECT_EQ(HelpText("no_such_control"), std::nullopt);
  EXPECT_EQ(HelpText(""), std::nullopt);
}

}  // namespace
}  // namespace brindle
