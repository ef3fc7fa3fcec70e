#pragma once
// The options dialog's settings at their defaults, for the capture command tests:
// clipboard and preview on, no direct paste, no automatic saving.
#include "capture/CapturePorts.h"

namespace korvan {

class OptionsDefaults final : public IOptionsSettings {
public:
    bool CopytoClipboard() const override { return copyToClipboard; }
    bool Pastedirect() const override { return pasteDirect; }
    bool OtherAppsEnabled() const override { return copyToClipboard && pasteDirect; }
    int OtherAppsIndex() const override { return otherAppsIndex; }
    bool HideApp() const override { return hideApp; }
    bool Showpreviewwindow() const override { return showPreview; }
    bool CheckBox1() const override { return autoSave; }
    WindowHandle TargetWindow() const override { return targetWindow; }
    int AreaOptionsIndex() const override { return areaOptionsIndex; }

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
