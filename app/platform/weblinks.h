// The product's addresses on the web, in one place.
#pragma once

namespace ovelo {

inline constexpr const char* kProductSite = "https://www.vantorel.com/ovelo";
// The forum lies under the site.
inline constexpr const char* kProductForum = "https://www.vantorel.com/ovelo/bbs";

} // namespace ovelo
