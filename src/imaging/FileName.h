#pragma once
// Names Windows file systems refuse, checked before anything is created.
#include <filesystem>

namespace korvan::imaging {

// Whether the path's file name (after the last / or \ and any drive) is one a file can
// have: not empty, at most 255 characters, none of < > : " / \ | ? * or control
// characters, no trailing dot or space, and no device name such as CON, PRN, AUX, NUL,
// COM0 to COM9 or LPT0 to LPT9, with or without an extension ("con.txt").
bool IsValidFileName(const std::filesystem::path& file);

} // namespace korvan::imaging
