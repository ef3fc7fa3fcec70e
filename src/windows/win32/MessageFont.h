#pragma once
// The font Windows uses for text in message boxes, at a given DPI.
#include <windows.h>

namespace korvan::win {

// The system's message font at the DPI, named by the face that is really used (an alias
// such as "MS Shell Dlg" is resolved, so a font dialog finds it in its list).
LOGFONTW MessageFont(UINT dpi);

} // namespace korvan::win
