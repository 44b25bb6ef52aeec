#pragma once
// The program's name and version as its windows and brindle-cli show them.

#include <string>

namespace brindle {

inline constexpr const char* kProductTitle = "Brindle图片批量处理工具";

// "Brindle图片批量处理工具(V13.7)"
inline std::string ProductTitleWithVersion() {
  std::string title = kProductTitle;
  title.append("(V").append(BRINDLE_VERSION).append(")");
  return title;
}

}  // namespace brindle
