#include "tools/slice/slice_page.h"

#include "base/info_log.h"
#include "platform/files/file_write.h"
#include "platform/text/text_encoding.h"

namespace brindle {

namespace {

// The messages show at most this much of the page's path.
constexpr std::size_t kShownPathBytes = 259;

}  // namespace

void SlicePage::AppendGbk(std::string_view utf8) { text_ += Utf8ToGbk(utf8); }

void SlicePage::Begin(std::string_view title) {
  text_.clear();
  text_ +=
      "<html>\r\n<head>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">\r\n"
      "<title>";
  AppendGbk(title);
  text_ +=
      "</title>\r\n"
      "</head>\r\n<body bgcolor=\"#FFFFFF\">\r\n"
      "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\r\n";
}

void SlicePage::BeginRow() { text_ += "<tr>\r\n"; }

void SlicePage::AddTile(const std::filesystem::path& tile, std::size_t width, std::size_t height) {
  text_ += "<td><img src=\"";
  AppendGbk(tile.string());
  text_ += FormatMessage("\" width=\"%zu\" height=\"%zu\"></td>\r\n", width, height);
}

void SlicePage::EndRow() { text_ += "</tr>\r\n"; }

void SlicePage::End() { text_ += "</table>\r\n</body>\r\n</html>"; }

std::optional<RunMessage> SlicePage::Write(const std::filesystem::path& path) const {
  FileWriteFailure failure;
  if (WriteFileAtomically(path, text_, failure)) return std::nullopt;
  const char* format =
      failure.step == FileWriteFailure::Step::kOpen
          ? "生成HTML代码页的时候发生错误：fopen()，请检查硬盘空间是否用完。\n\n目标文件名：\n%s"
          : "生成HTML代码页的时候发生错误：fwrite()，请检查硬盘空间是否用完。\n\n目标文件名：\n%s";
  const std::string shown = CutToGbkBytes(path.string(), kShownPathBytes);
  return RunMessage{FormatMessage(format, shown.c_str()), "错误", MessageIcon::kError};
}

}  // namespace brindle
