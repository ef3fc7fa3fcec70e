#include "windows/InfoDesign.h"

namespace korvan {

std::wstring_view ProductPage(bool germanSystem) {
    return germanSystem ? L"https://korvan-screenshot.example/de/" : L"https://korvan-screenshot.example/en/";
}

} // namespace korvan
