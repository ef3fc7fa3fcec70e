#pragma once
// The options dialog's settings at their defaults, for the capture command tests:
// clipboard and preview on, no direct paste, no automatic saving.
#include "capture/CapturePorts.h"

namespace korvan {

class OptionsDefaults final : public IOptionsSettings {
public:
    bool CopyToClipboard() const override { return copyToClipboard; }
    bool PasteDirectly() const override { return pasteDirect; }
    bool PasteTargetEnabled() const override { return copyToClipboard && pasteDirect; }
    int PasteTargetIndex() const override { return otherAppsIndex; }
    bool HideTarget() const override { return hideApp; }
    bool ShowPreviewWindow() const override { return showPreview; }
    bool AutoSave() const override { return autoSave; }
    WindowHandle TargetWindow() const override { return targetWindow; }
    int AreaShapeIndex() const override { return areaOptionsIndex; }

    bool copyToClipboard = true;
    bool pasteDirect = false;
    int otherAppsIndex = 0;
    bool hideApp = false;
    bool showPreview = true;
    bool autoSave = false;
    WindowHandle targetWindow = 0;
    int areaOptionsIndex = 0;
};

} // namespace korvan
