#include "windows/HelpFile.h"

#include "imaging/AtomicFile.h"
#include "imaging/Status.h"
#include "platform/Exception.h"

namespace korvan {

std::string_view HelpFileName(bool germanSystem) { return germanSystem ? "help_de.rtf" : "help_us.rtf"; }

void SaveHelpFile(const std::filesystem::path& file, std::string_view richText) {
    imaging::AtomicFile output;
    bool written = output.Open(file) == imaging::kSuccess && output.Write(richText.data(), richText.size()) &&
                   output.Commit(false) == imaging::kSuccess;
    if (!written) {
        std::error_code ec;
        std::filesystem::path shown = std::filesystem::absolute(file, ec);
        std::u8string name = (ec ? file : shown).u8string();
        throw Exception("Cannot create file " + std::string(name.begin(), name.end()));
    }
}

} // namespace korvan
