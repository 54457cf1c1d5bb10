// The maker's particulars, shown on the about box and the property page.
#pragma once

namespace quelo::maker {

inline constexpr const char* kWebsite = "https://www.torvel.example/varnikquelo";
inline constexpr const char* kEmail = "support@torvel.example";
inline constexpr const char* kCopyright = "Copyright (C) TORVEL. All rights reserved.";
inline constexpr const char* kContactLine = "Copyright (C) TORVEL. All rights reserved. support@torvel.example";

}  // namespace quelo::maker
