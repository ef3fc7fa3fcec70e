#pragma once
// The help window's file: its name follows the system language, and saving replaces
// the file only once the new content is completely written.
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace korvan {

// Whether the system's default language is German as spoken in Germany, Switzerland
// or Austria; every other language, German ones included, counts as English.
bool IsGermanSystem(uint16_t languageId);

// "help_de.rtf" on German systems, "help_us.rtf" on all others.
std::string_view HelpFileName(bool germanSystem);

// Writes the rich text to the file, replacing an existing one. Throws Exception
// "Cannot create file <file>" when the file cannot be written; the old file then
// stays as it was.
void SaveHelpFile(const std::filesystem::path& file, std::string_view richText);

} // namespace korvan
