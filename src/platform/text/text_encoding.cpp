#include "platform/text/text_encoding.h"

#include <iconv.h>
#include <cerrno>

namespace brindle {
namespace {

// Length of the UTF-8 sequence that starts with this byte; 1 for a stray continuation byte.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// Bytes to drop at a UTF-8 sequence the converter refused: a whole character it cannot hold, or a
// broken sequence up to (not including) the first byte that cannot continue it, so the next
// character survives.
std::size_t RefusedUtf8Length(std::string_view rest) {
  std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(rest[0]));
  std::size_t taken = 1;
  while (taken < n && taken < rest.size() &&
         (static_cast<unsigned char>(rest[taken]) & 0xC0) == 0x80) {
    ++taken;
  }
  return taken;
}

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts the whole input; on a character that cannot be converted, skip_length(rest) bytes
  // are dropped and conversion goes on. An incomplete character at the end is dropped.
  template <typename Skip>
  std::string Convert(std::string_view input, Skip skip_length) {
    std::string out;
    out.reserve(input.size() * 3 / 2 + 16);
    char buffer[1024];
    char* in = const_cast<char*>(input.data());
    std::size_t in_left = input.size();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (in_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      std::size_t r = iconv(cd_, &in, &in_left, &dst, &dst_left);
      out.append(buffer, dst - buffer);
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) continue;
      if (errno == EILSEQ) {
        std::size_t n = skip_length(std::string_view(in, in_left));
        if (n == 0) n = 1;
        if (n > in_left) n = in_left;
        in += n;
        in_left -= n;
        continue;
      }
      break;  // EINVAL: incomplete character at the end, dropped
    }
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  Converter converter("UTF-8", "GBK");
  if (!converter.ok()) return std::string(gbk);
  return converter.Convert(gbk, [](std::string_view) { return std::size_t{1}; });
}

std::string Utf8ToGbk(std::string_view utf8) {
  Converter converter("GBK", "UTF-8");
  if (!converter.ok()) return std::string(utf8);
  return converter.Convert(utf8, RefusedUtf8Length);
}

std::size_t GbkLength(std::string_view utf8) { return Utf8ToGbk(utf8).size(); }

std::string CutToGbkBytes(std::string_view utf8, std::size_t max_gbk_bytes) {
  Converter converter("GBK", "UTF-8");
  if (!converter.ok()) return std::string(CutUtf8(utf8, max_gbk_bytes));
  std::size_t used = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
    if (pos + n > utf8.size()) break;
    std::size_t gbk = converter.Convert(utf8.substr(pos, n), RefusedUtf8Length).size();
    if (used + gbk > max_gbk_bytes) break;
    used += gbk;
    pos += n;
  }
  return std::string(utf8.substr(0, pos));
}

std::string_view CutUtf8(std::string_view utf8, std::size_t max_bytes) {
  if (utf8.size() <= max_bytes) return utf8;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
    if (pos + n > max_bytes) break;
    pos += n;
  }
  return utf8.substr(0, pos);
}

std::size_t Utf8CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++count) {
    pos += Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
  }
  return count;
}

std::size_t Utf8OffsetOfCharacter(std::string_view utf8, std::size_t index) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < index && pos < utf8.size(); ++i) {
    pos += Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
  }
  return pos < utf8.size() ? pos : utf8.size();
}

}  // namespace brindle
