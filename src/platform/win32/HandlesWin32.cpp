#include "platform/win32/Handles.h"

#include <commctrl.h>

namespace korvan::win {

void ImageListTraits::Close(Type h) { ImageList_Destroy(static_cast<HIMAGELIST>(h)); }

} // namespace korvan::win
