#include "windows/win32/MessageFont.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WindowBase.h"

namespace korvan::win {

LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    LOGFONTW font{};
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        font = metrics.lfMessageFont;
    } else {
        font.lfHeight = -Scale(11, dpi);
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        wcscpy_s(font.lfFaceName, L"Tahoma");
    }
    GdiObject created(::CreateFontIndirectW(&font));
    WindowDc screen(nullptr);
    HGDIOBJ old = ::SelectObject(screen.get(), created.get());
    ::GetTextFaceW(screen.get(), LF_FACESIZE, font.lfFaceName);
    ::SelectObject(screen.get(), old);
    return font;
}

} // namespace korvan::win
