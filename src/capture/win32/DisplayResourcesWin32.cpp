#include "capture/win32/DisplayResourcesWin32.h"

#include <cstdint>
#include <utility>

namespace korvan::imaging {

namespace {

// Toolkit cursor ids and the system cursors they stand for.
const std::pair<int, const wchar_t*> kCursorTable[] = {
    {0, IDC_ARROW},      {-2, IDC_ARROW},     {-3, IDC_CROSS},     {-4, IDC_IBEAM},  {-6, IDC_SIZENESW},
    {-7, IDC_SIZENS},    {-8, IDC_SIZENWSE},  {-9, IDC_SIZEWE},    {-10, IDC_UPARROW}, {-11, IDC_WAIT},
    {-18, IDC_NO},       {-19, IDC_APPSTARTING}, {-20, IDC_HELP},  {-21, IDC_HAND},  {-22, IDC_SIZEALL},
};

} // namespace

CursorHandle DisplayResourcesWin32::ToHandleValue(HCURSOR cursor) {
    return static_cast<CursorHandle>(reinterpret_cast<intptr_t>(cursor));
}

HCURSOR DisplayResourcesWin32::ToCursor(CursorHandle value) {
    return reinterpret_cast<HCURSOR>(static_cast<intptr_t>(value));
}

CursorHandle DisplayResourcesWin32::ScreenCursor(int cursorId) {
    if (cursorId == -1) return 0;
    const wchar_t* shape = IDC_ARROW;  // the default cursor for ids the table lacks
    for (const auto& [id, system] : kCursorTable)
        if (id == cursorId) shape = system;
    return ToHandleValue(::LoadCursorW(nullptr, shape));
}

RgbValue DisplayResourcesWin32::SystemColor(int index) { return ::GetSysColor(index); }

} // namespace korvan::imaging
