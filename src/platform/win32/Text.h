#pragma once
#include <string>

namespace korvan::win {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

} // namespace korvan::win
