// Saving by hand and choosing the automatic saving's name: the save button's steps, the
// frame keys around the dialog, and failures that never lose a file.
#include "saving/SaveCommands.h"
#include "unit/capture/CaptureFakes.h"
#include "unit/imaging/FakeFileStore.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvan {
namespace {

using fakes::CallLog;
using fakes::FakeFileStore;
using Calls = std::vector<std::string>;

class FakeDialog final : public ISaveDialog {
public:
    FakeDialog(CallLog& log, SaveDialogState& state) : log_(log), state_(state) {}
    bool Execute() override {
        log_.Add("Execute(type " + std::to_string(state_.FilterIndex) + ", name '" +
                 std::string(state_.FileName.begin(), state_.FileName.end()) + "')");
        return user ? user(state_) : false;
    }
    // What the user does in the dialog; answers whether a name was confirmed.
    std::function<bool(SaveDialogState&)> user;

private:
    CallLog& log_;
    SaveDialogState& state_;
};

class FakeKeys final : public IFrameKeySwitch {
public:
    explicit FakeKeys(CallLog& log) : log_(log) {}
    void SwitchOff() override { log_.Add("KeysOff"); }
    void SwitchOn() override { log_.Add("KeysOn"); }
    bool EnableFrameKeys() const override { return enabled; }
    bool enabled = true;

private:
    CallLog& log_;
};

struct SaveRig {
    CallLog log;
    fakes::FakeGrabber grabber{log};
    fakes::FakeClipboard clipboard{log};
    ImageDocument image{grabber, clipboard};
    FakeFileStore store;
    SaveDialogState extSave;
    SaveSettings settings{6, 24, 63};
    FakeDialog dialog{log, extSave};
    FakeKeys keys{log};
    SaveCommands commands{extSave, settings, image, dialog, keys};

    SaveRig() { image.SetFileStore(store); }
    void Capture() {
        image.Capture(0, 0, 0, 4, 3);
        log.calls.clear();
    }
    void UserChooses(const std::wstring& name) {
        dialog.user = [name](SaveDialogState& s) {
            s.FileName = name;
            return true;
        };
    }
    std::string SaveError() {
        try {
            commands.SaveImage();
        } catch (const ImageError& error) {
            return error.what();
        }
        return {};
    }
};

// The seven steps: name emptied, nothing shown without an image, type 0, keys off
// around the dialog and the save, on again only with "Enable" checked. A confirmed name
// is written with the dialog's settings; a cancelled dialog writes nothing.
TEST(SaveButton, StepsAroundTheDialogPerImageHotkeysAndAnswer) {
    struct Row {
        const char* what;
        bool captured, keysEnabled, confirmed;
        Calls calls;
    };
    const Row rows[] = {
        {"no image", false, true, true, {}},
        {"confirmed", true, true, true, {"KeysOff", "Execute(type 0, name '')", "KeysOn"}},
        {"cancelled", true, true, false, {"KeysOff", "Execute(type 0, name '')", "KeysOn"}},
        {"cancelled, hot keys disabled", true, false, false, {"KeysOff", "Execute(type 0, name '')"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SaveRig rig;
        if (row.captured) rig.Capture();
        rig.keys.enabled = row.keysEnabled;
        rig.extSave.FileName = L"C:\\shots\\old.bmp";
        rig.extSave.FilterIndex = 3;
        rig.settings = {75, 8, 0};
        if (row.confirmed) rig.UserChooses(L"shot.png");
        else rig.dialog.user = [](SaveDialogState&) { return false; };
        rig.commands.SaveImage();
        EXPECT_EQ(rig.log.calls, row.calls);
        if (row.captured && row.confirmed) {
            ASSERT_EQ(rig.store.files.size(), 1u);
            EXPECT_EQ(rig.store.files.begin()->first, "shot.png");
            EXPECT_EQ(rig.store.files.begin()->second[1], 'P');  // written with the dialog's settings
        } else {
            EXPECT_TRUE(rig.store.files.empty());
            EXPECT_EQ(rig.extSave.FileName, L"");
        }
    }
}

// The options dialog runs the same dialog: checking the box starts on type 0, editing keeps
// the type; a confirmed name becomes the base of automatic names, a cancelled one changes none.
TEST(SaveOptions, ChoosingTheAutomaticSavingRunsTheDialog) {
    SaveRig rig;
    rig.extSave.FilterIndex = 2;
    rig.commands.ChooseAutomaticSaving(false);
    rig.UserChooses(L"C:\\shots\\auto.jpg");
    rig.commands.ChooseAutomaticSaving(true);
    EXPECT_EQ(rig.log.calls, (Calls{"Execute(type 2, name 'myImage')", "Execute(type 0, name 'myImage')"}));
    EXPECT_EQ(rig.extSave.FileName, L"C:\\shots\\auto.jpg");
    EXPECT_TRUE(rig.store.files.empty());
}

// Every failure ends in the error box naming the file and the cause, after the keys are
// back on; the existing file, the held image and the settings stay as they were, and no
// temporary file is left behind. A name the file system refuses is told as such, before
// anything is created.
TEST(SaveButton, FailuresKeepTheOldFileAndTellWhichFileAndWhy) {
    struct Row {
        const char* what;
        std::function<void(FakeFileStore&)> arrange;
        std::wstring name;
        std::string message;
    };
    const auto nothing = [](FakeFileStore&) {};
    const auto invalid = [](const std::string& name) {
        return "ShotImage \nError code: -8\nSave: Invalid filename specified (" + name + ") ";
    };
    const std::vector<Row> rows{
        {"read-only or missing folder", [](FakeFileStore& s) { s.createFailure = "Access is denied."; }, L"shot.bmp",
         "ShotImage \nError code: -14\nSave: Not able to open file (shot.bmp: Access is denied.) "},
        {"disk full while writing", [](FakeFileStore& s) { s.spaceLeft = 20; }, L"shot.bmp",
         "ShotImage \nError code: -5\nSave: Error writing file (shot.bmp: There is not enough space on the disk.) "},
        {"read-only target", [](FakeFileStore& s) { s.moveFailure = "Access is denied."; }, L"shot.bmp",
         "ShotImage \nError code: -5\nSave: Error writing file (shot.bmp: Access is denied.) "},
        {"target held open",
         [](FakeFileStore& s) {
             s.moveFailure = "The process cannot access the file because it is being used by another process.";
         },
         L"shot.bmp",
         "ShotImage \nError code: -5\nSave: Error writing file (shot.bmp: The process cannot access the file "
         "because it is being used by another process.) "},
        {"invalid character", nothing, L"a?b.bmp", invalid("a?b.bmp")},
        {"reserved name", nothing, L"CON.bmp", invalid("CON.bmp")},
        {"trailing dot", nothing, L"shot.bmp.", invalid("shot.bmp.")},
        {"reserved name without extension", nothing, L"C:\\shots\\lpt1", invalid("C:\\shots\\lpt1")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SaveRig rig;
        rig.Capture();
        rig.store.files["shot.bmp"] = {'o', 'l', 'd'};
        row.arrange(rig.store);
        rig.UserChooses(row.name);
        EXPECT_EQ(rig.SaveError(), row.message);
        EXPECT_EQ(rig.log.calls, (Calls{"KeysOff", "Execute(type 0, name '')", "KeysOn"}));
        ASSERT_EQ(rig.store.files.size(), 1u);  // nothing created, no temporary file left
        EXPECT_EQ(rig.store.files["shot.bmp"], (FakeFileStore::Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(rig.settings, (SaveSettings{6, 24, 63}));
        EXPECT_EQ(rig.image.DisplayedWidth(), 4);
    }
}

// On the real disk: a missing folder is named with the system's reason, a path far
// beyond 260 characters is saved, and a read-only file is left as it is.
TEST(SaveButton, MissingFolderFailsALongPathSavesAReadOnlyFileStays) {
    auto root = std::filesystem::temp_directory_path() / "korvan-save-long";
    std::filesystem::remove_all(root);
    std::filesystem::path folder = root;
    for (int i = 0; i < 6; ++i) folder /= std::string(60, static_cast<char>('a' + i));
    std::filesystem::create_directories(folder);
    SaveRig rig;
    rig.image.SetFileStore(imaging::DiskFileStore());
    rig.Capture();
    std::filesystem::path missing = root / "no such folder" / "a.bmp";
    rig.UserChooses(missing.wstring());
    EXPECT_EQ(rig.SaveError(), "ShotImage \nError code: -14\nSave: Not able to open file (" + missing.string() +
                                   ": No such file or directory) ");
    std::filesystem::path longName = folder / "shot.bmp";
    ASSERT_GT(longName.string().size(), 360u);
    rig.UserChooses(longName.wstring());
    rig.commands.SaveImage();
    EXPECT_EQ(std::filesystem::file_size(longName), 54u + 3 * 12);
    std::filesystem::permissions(longName, std::filesystem::perms::owner_read);
    EXPECT_EQ(rig.SaveError(), "ShotImage \nError code: -5\nSave: Error writing file (" + longName.string() +
                                   ": Permission denied) ");
    EXPECT_EQ(std::filesystem::file_size(longName), 54u + 3 * 12);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove_all(root);
}

} // namespace
} // namespace korvan
