#pragma once
// The face the default recipe names, "宋体", and the installed font that stands in for it.

#include <optional>
#include <string_view>
#include <vector>

#include "fonts/font_catalogue.h"
#include "platform/text/font_config.h"

namespace brindle {

// The face the default recipe names. No Linux font is called so.
inline constexpr std::string_view kSongFaceName = "宋体";

// The mapping that lets the default recipe's "宋体" draw on a machine without a face of that name:
// "宋体" -> the file of an installed Song (Ming) style face that covers simplified Chinese, such as
// AR PL UMing. None when no such face is installed.
std::optional<FontMapping> DefaultSongFaceMapping(const std::vector<InstalledFont>& installed);

}  // namespace brindle
