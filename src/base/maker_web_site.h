#pragma once
// The maker's web site as the program names it in its messages ("请进入官方网站 ...
// 联系我们的客服").

namespace brindle {

inline constexpr const char* kMakerWebSiteHost = "www.brindle.example";

}  // namespace brindle
