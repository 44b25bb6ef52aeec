#pragma once
// The HTML page the slice tool writes beside a picture's tiles: a borderless table that puts the
// tiles back together, in GBK (the page says charset=gbk). The text is built in one buffer that
// is kept for the whole run and grows as far as a page needs, however many tiles it lists.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "run/batch/run_message.h"

namespace brindle {

class SlicePage {
 public:
  // The room the buffer starts with; a longer page makes it grow.
  static constexpr std::size_t kInitialCapacity = 2 * 1024 * 1024;

  SlicePage() { text_.reserve(kInitialCapacity); }

  // Starts a new page with its title (the base name followed by the output extension).
  void Begin(std::string_view title);
  void BeginRow();
  // One tile: its full path as written, its width and height.
  void AddTile(const std::filesystem::path& tile, std::size_t width, std::size_t height);
  void EndRow();
  // Closes the table and the page.
  void End();

  // The page's bytes (GBK).
  const std::string& text() const { return text_; }

  // Writes the page to path in one piece; on failure, the message that ends the run.
  std::optional<RunMessage> Write(const std::filesystem::path& path) const;

 private:
  void AppendGbk(std::string_view utf8);

  std::string text_;
};

}  // namespace brindle
