#include "windows/HelpFile.h"

#include "engine/AtomicFile.h"
#include "engine/SdkStatus.h"
#include "platform/Exception.h"

namespace korvan {

std::string_view HelpFileName(bool germanSystem) { return germanSystem ? "help_de.rtf" : "help_us.rtf"; }

void SaveHelpFile(const std::filesystem::path& file, std::string_view richText) {
    sdk::AtomicFile output;
    bool written = output.Open(file) == sdk::kSuccess && output.Write(richText.data(), richText.size()) &&
                   output.Commit(false) == sdk::kSuccess;
    if (!written) {
        std::error_code ec;
        std::filesystem::path shown = std::filesystem::absolute(file, ec);
        std::u8string name = (ec ? file : shown).u8string();
        throw Exception("Cannot create file " + std::string(name.begin(), name.end()));
    }
}

} // namespace korvan
