#pragma once
#include "capture/InteractiveCapture.h"

#include <windows.h>

namespace korvan::imaging {

// The application's cursor table (the system cursors under the toolkit's ids) and the
// system colours.
class DisplayResourcesWin32 final : public IDisplayResources {
public:
    CursorHandle ScreenCursor(int cursorId) override;
    RgbValue SystemColor(int index) override;

    static CursorHandle ToHandleValue(HCURSOR cursor);
    static HCURSOR ToCursor(CursorHandle value);
};

} // namespace korvan::imaging
