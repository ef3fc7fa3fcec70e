#pragma once
// The info window's fixed facts: its size, the tag of its translated line, and the
// product's web pages it opens.
#include <string_view>

namespace korvan {

inline constexpr int kInfoClientWidth = 274;
inline constexpr int kInfoClientHeight = 213;
inline constexpr int kDescriptionTag = 60;  // the line under the version

// The domain the link label shows; both pages live under it.
inline constexpr std::wstring_view kProductDomain = L"korvan-screenshot.example";

// The product's web page in the system's language.
std::wstring_view ProductPage(bool germanSystem);

} // namespace korvan
