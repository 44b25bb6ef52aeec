#pragma once
// The MD5 digest of a byte string, as lower-case hexadecimal: the name the desktop's shared
// thumbnails are stored under.

#include <string>
#include <string_view>

namespace brindle {

std::string Md5Hex(std::string_view bytes);

}  // namespace brindle
