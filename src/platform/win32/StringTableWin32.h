#pragma once
// The string table in the program's resources. Texts are read whole, with their line
// breaks and trailing blanks; an id without a text answers an empty text.
#include "platform/LanguageTables.h"

#include <windows.h>

namespace korvan::win {

class StringTableWin32 final : public IStringTable {
public:
    explicit StringTableWin32(HINSTANCE module = ::GetModuleHandleW(nullptr)) : module_(module) {}
    std::wstring Text(int id) const override;

private:
    HINSTANCE module_;
};

} // namespace korvan::win
