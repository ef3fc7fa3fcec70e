#include "platform/Exception.h"
#include "windows/InfoDesign.h"
#include "windows/HelpFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvan {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// German systems are exactly Germany, Switzerland and Austria; they choose the help
// file and the web page, whatever the rest of the language id says.
TEST(SystemLanguage, OnlyTheThreeGermanLanguageIdsCountAsGerman) {
    struct Case {
        uint16_t id;
        bool german;
    };
    for (Case c : {Case{0x0407, true}, Case{0x0807, true}, Case{0x0C07, true}, Case{0x1007, false},
                   Case{0x1407, false}, Case{0x0007, false}, Case{0x0409, false}, Case{0x0809, false},
                   Case{0x040C, false}, Case{0x0000, false}, Case{0xFFFF, false}}) {
        EXPECT_EQ(IsGermanSystem(c.id), c.german) << std::hex << c.id;
        EXPECT_EQ(HelpFileName(IsGermanSystem(c.id)), c.german ? "help_de.rtf" : "help_us.rtf") << std::hex << c.id;
        EXPECT_EQ(ProductPage(IsGermanSystem(c.id)), c.german ? L"https://korvan-screenshot.example/de/"
                                                             : L"https://korvan-screenshot.example/en/");
    }
}

// Both pages live under one domain, the one the link label shows.
TEST(InfoWindowDesign, LinkShowsTheDomainOfBothPages) {
    std::wstring domain = L"https://" + std::wstring(kProductDomain) + L"/";
    for (bool german : {true, false}) EXPECT_EQ(ProductPage(german).substr(0, domain.size()), domain);
}

class HelpFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  (std::string("korvan-help-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    size_t FilesInFolder() const { return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {})); }
    fs::path folder_;
};

// A second save replaces the file: nothing of the first, longer text remains.
TEST_F(HelpFileTest, SavingTwiceReplacesTheFile) {
    fs::path file = folder_ / "help_us.rtf";
    SaveHelpFile(file, "{\\rtf1 a much longer first text}");
    EXPECT_EQ(ReadAll(file), "{\\rtf1 a much longer first text}");
    SaveHelpFile(file, "{\\rtf1 short}");
    EXPECT_EQ(ReadAll(file), "{\\rtf1 short}");
    EXPECT_EQ(FilesInFolder(), 1u);
}

// A relative name lands in the current directory.
TEST_F(HelpFileTest, ARelativeNameIsSavedInTheCurrentDirectory) {
    fs::path before = fs::current_path();
    fs::current_path(folder_);
    SaveHelpFile("help_de.rtf", "{\\rtf1 Hilfe}");
    fs::current_path(before);
    EXPECT_EQ(ReadAll(folder_ / "help_de.rtf"), "{\\rtf1 Hilfe}");
}

// A folder where nothing can be created (even by an administrator) gives the message
// with the file's name.
TEST_F(HelpFileTest, AFolderWhereNothingCanBeCreatedGivesTheMessage) {
    for (fs::path file : {fs::path("/proc/help_us.rtf"), folder_ / "missing" / "help_de.rtf"}) {
        try {
            SaveHelpFile(file, "{\\rtf1 new}");
            ADD_FAILURE() << "no error for " << file;
        } catch (const Exception& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot create file " + file.string());
        }
        EXPECT_FALSE(fs::exists(file));
    }
}

// When the new file cannot take the old one's place, what was there stays, and no
// temporary file is left behind.
TEST_F(HelpFileTest, AFailedReplaceLeavesWhatWasThere) {
    fs::path file = folder_ / "help_us.rtf";
    fs::create_directories(file / "inside");
    EXPECT_THROW(SaveHelpFile(file, "{\\rtf1 new}"), Exception);
    EXPECT_TRUE(fs::is_directory(file / "inside"));
    EXPECT_EQ(FilesInFolder(), 1u);
}

} // namespace
} // namespace korvan
