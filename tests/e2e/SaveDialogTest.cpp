// The save dialog as a user works it: the format panel below the system's controls, a
// type change that enables the JPEG compression, files written at the chosen quality and
// depth, the overwrite question, and a folder that refuses the file.
#include "e2e/Driver.h"
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "saving/win32/SaveDialog.h"
#include "support/win32/WinePath.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>

namespace korvan::e2e {
namespace {

using win::SaveDialog;
constexpr int kFileTypeList = 0x470;  // the system dialog's type combo box (cmb1)
constexpr int kFileNameBox = 0x47c;   // its file name combo box (cmb13)

struct IdSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK MatchId(HWND window, LPARAM lParam) {
    auto search = reinterpret_cast<IdSearch*>(lParam);
    if (::GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

// A control anywhere inside a window, by its id.
HWND Control(HWND root, int id) {
    IdSearch search{id};
    ::EnumChildWindows(root, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct DialogSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK MatchSaveDialog(HWND window, LPARAM lParam) {
    auto search = reinterpret_cast<DialogSearch*>(lParam);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !::IsWindowVisible(window)) return TRUE;
    if (!Control(window, SaveDialog::kPanelId)) return TRUE;
    search->found = window;
    return FALSE;
}

// The program's save dialog, once it shows with its panel.
HWND SaveDialog(const Program& program) {
    DialogSearch search{program.ProcessId()};
    WaitFor([&] {
        search.found = nullptr;
        ::EnumWindows(MatchSaveDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

HWND OpenSaveDialog(Program& program) {
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    program.ClickButton(Id(Command::Save));
    return SaveDialog(program);
}

// The depths the panel offers and the one selected ("" when none).
std::wstring Depths(HWND dialog, std::wstring* selected) {
    std::wstring list;
    for (int i = 0; i < SaveDialog::kMaxDepths; ++i) {
        HWND radio = Control(dialog, SaveDialog::kFirstDepthId + i);
        if (!radio || !::IsWindowVisible(radio)) continue;
        list += (list.empty() ? L"" : L",") + WindowText(radio);
        if (::SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED) *selected = WindowText(radio);
    }
    return list;
}

void ChooseType(HWND dialog, int zeroBasedIndex) {
    HWND types = ::GetDlgItem(dialog, kFileTypeList);
    ::SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(zeroBasedIndex), 0);
    ::SendMessageW(::GetParent(types), WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELENDOK),
                   reinterpret_cast<LPARAM>(types));
}

void ChooseDepth(HWND dialog, const std::wstring& depth) {
    for (int i = 0; i < SaveDialog::kMaxDepths; ++i) {
        HWND radio = Control(dialog, SaveDialog::kFirstDepthId + i);
        if (radio && ::IsWindowVisible(radio) && WindowText(radio) == depth) ::SendMessageW(radio, BM_CLICK, 0, 0);
    }
}

// Types the name and presses Save; the dialog may ask before replacing a file.
void ConfirmName(HWND dialog, const std::filesystem::path& file) {
    ::SendMessageW(::GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.wstring().c_str()));
    ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

std::filesystem::path Folder(const std::string& name) {
    std::filesystem::path folder = std::filesystem::path(Env(L"KORVAN_ARTIFACTS").empty()
                                                             ? std::filesystem::temp_directory_path().wstring()
                                                             : Env(L"KORVAN_ARTIFACTS")) /
                                   name;
    std::wstring text = test::WindowsPath(folder.wstring());
    std::error_code ec;
    std::filesystem::remove_all(text, ec);
    std::filesystem::create_directories(text);
    return text;
}

std::string Language() { return PRIMARYLANGID(::GetSystemDefaultLangID()) == LANG_GERMAN ? "de" : "en"; }

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The panel sits below the standard controls, whole; JPEG enables the compression box,
// and the files come out at 50 % quality and at 8 bits. A decoder on the Linux side
// checks them against the captured picture (decode-saved-files.sh).
TEST(SaveDialog, PanelBelowTheStandardControlsSavesJpegAndPng) {
    Program program;
    PatternWindow pattern;
    ASSERT_NE(program.CaptureDesktop(), nullptr);
    std::filesystem::path folder = Folder("saved-" + Language());
    std::optional<imaging::Bitmap> captured = ClipboardImage();
    ASSERT_TRUE(captured.has_value());
    ASSERT_EQ(imaging::SaveBitmapFile(folder / "captured.bmp", *captured, imaging::kFormatBmp, 24, 0), imaging::kSuccess);

    HWND dialog = OpenSaveDialog(program);
    ASSERT_NE(dialog, nullptr);
    HWND panel = Control(dialog, SaveDialog::kPanelId);
    RECT client{}, panelRect = WindowRect(panel);
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(Inside(panelRect, client)) << "the panel is cut off";
    EXPECT_GE(panelRect.top, WindowRect(::GetDlgItem(dialog, kFileTypeList)).bottom);
    EXPECT_GE(panelRect.top, WindowRect(::GetDlgItem(dialog, kFileNameBox)).bottom);
    for (int id : {SaveDialog::kDepthGroupId, SaveDialog::kQualityGroupId})
        EXPECT_TRUE(Inside(WindowRect(Control(dialog, id)), panelRect));
    EXPECT_EQ(WindowText(Control(dialog, SaveDialog::kDepthGroupId)), L"Color Deepness in Bits:");
    EXPECT_EQ(WindowText(Control(dialog, SaveDialog::kQualityGroupId)), L"JPEG Compression");
    EXPECT_FALSE(::IsWindowVisible(Control(dialog, SaveDialog::kSubFormatId)));
    std::wstring selected;
    EXPECT_EQ(Depths(dialog, &selected), L"1,4,8,16,24,32");
    EXPECT_EQ(selected, L"24");
    HWND quality = Control(dialog, SaveDialog::kQualityEditId);
    EXPECT_FALSE(::IsWindowEnabled(quality));
    EXPECT_EQ(WindowText(quality), L"76");
    SaveArtifact(dialog, "save-dialog-bmp-" + Language());

    ChooseType(dialog, 1);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(quality) != 0; }));
    selected.clear();
    EXPECT_EQ(Depths(dialog, &selected), L"8,24");
    EXPECT_EQ(selected, L"24");
    ::SendMessageW(quality, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"50"));
    EXPECT_EQ(::SendMessageW(Control(dialog, SaveDialog::kSliderId), TBM_GETPOS, 0, 0), -129);
    SaveArtifact(dialog, "save-dialog-jpeg-" + Language());
    ConfirmName(dialog, folder / "shot.jpg");
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(folder / "shot.jpg"); }));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));

    dialog = OpenSaveDialog(program);
    ASSERT_NE(dialog, nullptr);
    ChooseType(dialog, 2);
    ASSERT_TRUE(WaitFor([&] { return Depths(dialog, &selected) == L"1,4,8,24"; }));
    ChooseDepth(dialog, L"8");
    EXPECT_TRUE(WaitFor([&] { return Depths(dialog, &selected) == L"1,4,8,24" && selected == L"8"; }));
    ConfirmName(dialog, folder / "shot.png");
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(folder / "shot.png"); }));
}

// At 144 dots per inch the panel grows with the dialog and still fits below its controls.
TEST(SaveDialog, PanelScalesAt144DotsPerInch) {
    WriteDword(L"Control Panel\\Desktop", L"LogPixels", 144);
    Program program;
    ASSERT_NE(program.CaptureDesktop(), nullptr);
    HWND dialog = OpenSaveDialog(program);
    ASSERT_NE(dialog, nullptr);
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(Inside(WindowRect(dialog), screen)) << "the dialog runs off the screen";
    RECT client{}, panel = WindowRect(Control(dialog, SaveDialog::kPanelId));
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(Inside(panel, client)) << "the panel is cut off";
    RECT group = WindowRect(Control(dialog, SaveDialog::kQualityGroupId));
    EXPECT_EQ(group.right - group.left, 195);  // 130 at 96 dots per inch
    EXPECT_TRUE(Inside(group, panel));
    SaveArtifact(dialog, "save-dialog-144dpi");
    ::PostMessageW(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

// Saving over a file asks first; after Yes the new picture replaces it.
TEST(SaveDialog, ReplacesAnExistingFileAfterTheQuestion) {
    Program program;
    ASSERT_NE(program.CaptureDesktop(), nullptr);
    std::filesystem::path folder = Folder("replace");
    std::ofstream(folder / "old.bmp") << "old";
    HWND dialog = OpenSaveDialog(program);
    ASSERT_NE(dialog, nullptr);
    ConfirmName(dialog, folder / "old.bmp");
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        question = FindMessageBox(program.ProcessId(), L"already exists");
        return question != nullptr;
    }));
    EXPECT_EQ(std::filesystem::file_size(folder / "old.bmp"), 3u);
    SaveArtifact(question, "save-overwrite-question");
    ::PostMessageW(::GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(WaitFor([&] {
        std::error_code ec;
        return std::filesystem::file_size(folder / "old.bmp", ec) == 54u + uintmax_t(width) * 3 * uintmax_t(height);
    }));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

// A folder that refuses new files: the error box names the file and the cause, nothing is
// written. The folder is made read-only on the Linux side (KORVAN_READONLY_DIR).
TEST(SaveDialog, ReadOnlyFolderGivesTheErrorBoxAndNoFile) {
    std::wstring readOnly = test::PathFromEnvironment(L"KORVAN_READONLY_DIR");
    if (readOnly.empty()) GTEST_SKIP() << "no read-only folder was arranged";
    if (!std::filesystem::exists(readOnly)) GTEST_SKIP() << "no read-only folder could be arranged";
    Program program;
    ASSERT_NE(program.CaptureDesktop(), nullptr);
    HWND dialog = OpenSaveDialog(program);
    ASSERT_NE(dialog, nullptr);
    std::filesystem::path file = std::filesystem::path(readOnly) / "refused.bmp";
    ConfirmName(dialog, file);
    std::wstring text;
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        box = FindMessageBox(program.ProcessId(), L"Save:", &text);
        return box != nullptr;
    }));
    EXPECT_NE(text.find(L"ShotImage"), std::wstring::npos) << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(file.wstring()), std::wstring::npos);
    SaveArtifact(box, "save-error-read-only-folder");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(readOnly), std::filesystem::directory_iterator()), 0);
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// Runs the save dialog from the options dialog's control with that caption and confirms
// the name; then closes the options dialog with Ok.
void ChooseAutomaticName(Program& program, const wchar_t* control, const std::filesystem::path& name) {
    program.ClickButton(Id(Command::Options));
    HWND options = program.FindForm(L"Toptionfrm");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) != 0; }));
    ::PostMessageW(ChildWithText(options, control), BM_CLICK, 0, 0);
    HWND dialog = SaveDialog(program);
    ASSERT_NE(dialog, nullptr);
    ChooseType(dialog, 1);
    ConfirmName(dialog, name);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    ::PostMessageW(ChildWithText(options, L"Ok"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(options); }));
}

bool IsJpeg(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    return magic[0] == '\xFF' && magic[1] == '\xD8';
}

size_t Files(const std::filesystem::path& folder) {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

// "Save images automatically" runs the save dialog; every capture then writes the next
// free numbered name, never over an existing file. A cancelled manual save stops it until
// a name is chosen again ("Edit saving options").
TEST(AutomaticSaving, NumberedFilesSkipExistingNamesAndStopAfterACancelledSave) {
    Program program;
    std::filesystem::path folder = Folder("automatic");
    ChooseAutomaticName(program, L"Save images automtically", folder / "myImage.jpg");
    EXPECT_EQ(Files(folder), 0u);  // choosing the name writes nothing

    ASSERT_NE(program.CaptureDesktop(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(folder / "myImage1.jpg"); }));
    program.ClickButton(Id(Command::Desktop));
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(folder / "myImage2.jpg"); }));
    std::ofstream(folder / "myImage3.jpg") << "old";
    program.ClickButton(Id(Command::Desktop));
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(folder / "myImage4.jpg"); }));
    EXPECT_EQ(std::filesystem::file_size(folder / "myImage3.jpg"), 3u);
    for (const char* name : {"myImage1.jpg", "myImage2.jpg", "myImage4.jpg"}) EXPECT_TRUE(IsJpeg(folder / name)) << name;

    HWND dialog = OpenSaveDialog(program);
    ASSERT_NE(dialog, nullptr);
    ::PostMessageW(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    HWND preview = program.FindForm(L"TImage");
    program.ClickButton(Id(Command::Desktop));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(preview); }, std::chrono::milliseconds(2000)));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    PumpMessages(std::chrono::milliseconds(500));
    EXPECT_EQ(Files(folder), 4u);  // nothing written after the cancelled save

    ChooseAutomaticName(program, L"Edit saving options", folder / "again.jpg");
    program.ClickButton(Id(Command::Desktop));
    EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(folder / "again5.jpg"); }));  // the counter goes on
}

} // namespace
} // namespace korvan::e2e
