#pragma once
// The help window's file: its name follows the system language, and saving replaces
// the file only once the new content is completely written.
#include "platform/LanguageTables.h"  // IsGermanSystem

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace korvan {

// "help_de.rtf" on German systems, "help_us.rtf" on all others.
std::string_view HelpFileName(bool germanSystem);

// Writes the rich text to the file, replacing an existing one. Throws Exception
// "Cannot create file <file>" when the file cannot be written; the old file then
// stays as it was.
void SaveHelpFile(const std::filesystem::path& file, std::string_view richText);

} // namespace korvan
