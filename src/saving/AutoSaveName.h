#pragma once
#include <string>

namespace korvan {

// The stem of an automatic file name: the base without "." + defaultExt (any letter
// case) or, failing that, without whatever extension its file name has; a base without
// an extension is kept whole ("myImage" stays "myImage").
std::wstring AutoSaveStem(const std::wstring& base, const std::wstring& defaultExt);

// stem + counter + "." + defaultExt, e.g. C:\shots\myImage3.jpg.
std::wstring AutoSaveFileName(const std::wstring& base, const std::wstring& defaultExt, int counter);

} // namespace korvan
