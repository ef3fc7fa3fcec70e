#pragma once
// The program's own pictures: the ten toolbar images, the program icon and the
// window-pick cursor, drawn at any pixel size.
#include "imaging/Bitmap.h"

namespace korvan {

inline constexpr int kToolbarImageCount = 10;

// Toolbar image by index: 0 area, 1 info, 2 window, 3 save, 4 exit, 5 options,
// 6 grabber frame, 7 desktop, 8 object, 9 hide frame. Disabled images are grey.
imaging::Bitmap ToolbarImage(int index, int pixelSize, bool disabled = false);

// The program icon: a camera in the window colour.
imaging::Bitmap ProgramIconImage(int pixelSize);

// The window-pick cursor: an arrow with a small window beside it.
imaging::Bitmap WindowPickImage(int pixelSize);

} // namespace korvan
