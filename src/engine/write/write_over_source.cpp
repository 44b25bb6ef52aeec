#include "engine/write/write_over_source.h"

#include <cstring>
#include <string>

#include "base/info_log.h"
#include "engine/write/output_encoding.h"
#include "platform/files/file_write.h"

namespace brindle {
namespace fs = std::filesystem;

fs::path FileBehindLink(const fs::path& source) {
  std::error_code ec;
  if (!fs::is_symlink(source, ec)) return source;
  fs::path target = fs::canonical(source, ec);
  return ec ? source : target;
}

bool WriteOverSource(MagickWand* wand, const fs::path& source, const ProcessingOptions& options) {
  std::string bytes;
  std::string error;
  if (!EncodeOutput(wand, options, bytes, &error)) {
    if (error.empty()) error = TakeMagickError(wand);
    LogInfo(FormatMessage("图片处理后保存到 '%s', MagickGetImageBlob() 发生错误:\r\n%s",
                          source.c_str(), error.c_str()));
    return false;
  }
  FileWriteFailure failure;
  if (WriteFileAtomically(FileBehindLink(source), bytes, failure)) return true;
  const char* format = failure.step == FileWriteFailure::Step::kOpen
                           ? "图片处理后保存时, fopen('%s') 失败, errno:%d\r\n%s"
                           : "图片处理后保存时, fwrite('%s') 失败 errno:%d\r\n%s";
  LogInfo(FormatMessage(format, source.c_str(), failure.error_number,
                        std::strerror(failure.error_number)));
  return false;
}

}  // namespace brindle
