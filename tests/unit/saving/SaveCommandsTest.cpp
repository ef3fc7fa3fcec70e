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

// Logs how it is opened; the user's answer is Cancel with the format it opened with
// unless a test says otherwise.
class FakeDialog final : public ISaveDialog {
public:
    explicit FakeDialog(CallLog& log) : log_(log) {}
    SaveChoice Run(const SaveDialogStart& start) override {
        log_.Add("Dialog(type " + std::to_string(start.fileType) + ", name '" +
                 std::string(start.fileName.begin(), start.fileName.end()) + "')");
        return user ? user(start) : SaveChoice{std::nullopt, start.fileType, start.last};
    }
    std::function<SaveChoice(const SaveDialogStart&)> user;

private:
    CallLog& log_;
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
    fakes::FakeSystem system{log};
    AutomaticSaving automatic{system, system};
    FakeDialog dialog{log};
    FakeKeys keys{log};
    SaveCommands commands{automatic, image, dialog, keys};

    SaveRig() { image.SetFileStore(store); }
    void Capture() {
        image.Capture(0, 0, 0, 4, 3);
        log.calls.clear();
    }
    // The user confirms the name with the given type and format.
    void UserChooses(const std::wstring& name, int type = 1, SaveFormat format = {L"bmp", {6, 24, 63}}) {
        dialog.user = [=](const SaveDialogStart&) { return SaveChoice{name, type, format}; };
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
        {"confirmed", true, true, true, {"KeysOff", "Dialog(type 0, name '')", "KeysOn"}},
        {"cancelled", true, true, false, {"KeysOff", "Dialog(type 0, name '')", "KeysOn"}},
        {"cancelled, hot keys disabled", true, false, false, {"KeysOff", "Dialog(type 0, name '')"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SaveRig rig;
        if (row.captured) rig.Capture();
        rig.keys.enabled = row.keysEnabled;
        rig.automatic.Take({L"C:\\shots\\old.bmp", 3, {L"png", {75, 8, 0}}});
        if (row.confirmed) rig.UserChooses(L"shot.png", 3, {L"png", {75, 8, 0}});
        rig.commands.SaveImage();
        EXPECT_EQ(rig.log.calls, row.calls);
        if (row.captured && row.confirmed) {
            ASSERT_EQ(rig.store.files.size(), 1u);
            EXPECT_EQ(rig.store.files.begin()->first, "shot.png");
            EXPECT_EQ(rig.store.files.begin()->second[1], 'P');  // written with the dialog's settings
        } else {
            EXPECT_TRUE(rig.store.files.empty());
            EXPECT_EQ(rig.automatic.DialogStart(false).fileName, L"");
        }
    }
}

// The options dialog runs the same dialog: checking the box opens on the first type,
// editing on the type kept. Every answer counts for automatic saving: a confirmed one
// with its name and type; a cancelled one keeps the name and the type it opened on but
// takes the format the panel showed.
TEST(SaveOptions, ChoosingTheAutomaticSavingTakesTheDialogsAnswer) {
    struct Row {
        const char* what;
        bool onFirstType, confirmed;
        std::string call;
        std::wstring name;
        int type;
    };
    const Row rows[] = {
        {"edit, confirmed", false, true, "Dialog(type 2, name 'C:\\shots\\a.jpg')", L"C:\\shots\\auto.png", 3},
        {"edit, cancelled", false, false, "Dialog(type 2, name 'C:\\shots\\a.jpg')", L"C:\\shots\\a.jpg", 2},
        {"checked, confirmed", true, true, "Dialog(type 0, name 'C:\\shots\\a.jpg')", L"C:\\shots\\auto.png", 3},
        {"checked, cancelled", true, false, "Dialog(type 0, name 'C:\\shots\\a.jpg')", L"C:\\shots\\a.jpg", 0},
    };
    const SaveFormat png{L"png", {75, 24, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SaveRig rig;
        rig.automatic.Take({L"C:\\shots\\a.jpg", 2, {L"jpg", {10, 24, 63}}});
        if (row.confirmed) rig.UserChooses(L"C:\\shots\\auto.png", 3, png);
        else rig.dialog.user = [&](const SaveDialogStart& start) { return SaveChoice{std::nullopt, start.fileType, png}; };
        rig.commands.ChooseAutomaticSaving(row.onFirstType);
        EXPECT_EQ(rig.log.calls, (Calls{row.call}));
        SaveDialogStart next = rig.automatic.DialogStart(false);
        EXPECT_EQ(next.fileName, row.name);
        EXPECT_EQ(next.fileType, row.type);
        EXPECT_EQ(next.last, png);
        EXPECT_TRUE(rig.store.files.empty());
    }
}

// The dialog opens with the format chosen last and the held image's depth; the save
// dialog's first name and type before anything was chosen.
TEST(SaveButton, OpensWithTheLastFormatAndTheHeldDepth) {
    SaveRig rig;
    EXPECT_EQ(rig.automatic.DialogStart(false).fileName, L"myImage");
    EXPECT_EQ(rig.automatic.DialogStart(false).fileType, 1);
    rig.image.Capture(0, 0, 0, 4, 3);
    rig.automatic.Take({L"a.png", 3, {L"png", {75, 8, 0}}});
    SaveDialogStart seen;
    rig.dialog.user = [&](const SaveDialogStart& start) {
        seen = start;
        return SaveChoice{std::nullopt, start.fileType, start.last};
    };
    rig.commands.SaveImage();
    EXPECT_EQ(seen.last, (SaveFormat{L"png", {75, 8, 0}}));
    EXPECT_EQ(seen.heldBitsPerPixel, 24);
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
        EXPECT_EQ(rig.log.calls, (Calls{"KeysOff", "Dialog(type 0, name '')", "KeysOn"}));
        ASSERT_EQ(rig.store.files.size(), 1u);  // nothing created, no temporary file left
        EXPECT_EQ(rig.store.files["shot.bmp"], (FakeFileStore::Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(rig.automatic.DialogStart(false).last, (SaveFormat{L"bmp", {6, 24, 63}}));
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
