// The start-up question about Print Screen: a task dialog in the program's language whose
// buttons and check box give the answer.
#include "app/MessageTexts.h"
#include "app/win32/PrintScreenCheckWin32.h"
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "platform/win32/StringTableWin32.h"
#include "support/TextContrast.h"
#include "support/win32/HighContrastColours.h"
#include "support/win32/Artifacts.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace korvan::win {
namespace {

struct Found {
    HWND dialog = nullptr;
};

BOOL CALLBACK FindQuestion(HWND window, LPARAM lParam) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t title[64] = L"", name[16] = L"";
    ::GetWindowTextW(window, title, 64);
    ::GetClassNameW(window, name, 16);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && std::wstring(name) == L"#32770" &&
        std::wstring(title) == L"Korvan Screenshot") {
        reinterpret_cast<Found*>(lParam)->dialog = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForQuestion() {
    for (int attempt = 0; attempt < 500; ++attempt) {
        Found found;
        ::EnumWindows(FindQuestion, reinterpret_cast<LPARAM>(&found));
        if (found.dialog) return found.dialog;
        ::Sleep(20);
    }
    return nullptr;
}

// Every text the dialog shows, its child windows' texts joined.
std::wstring ShownTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[1024] = L"";
        ::GetWindowTextW(child, text, 1024);
        texts += std::wstring(text) + L"|";
    }
    return texts;
}

// The window's picture once painting is done (two grabs in a row agree).
imaging::Bitmap SteadyPicture(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    imaging::ScreenGrabberWin32 grabber;
    auto grab = [&] {
        imaging::Bitmap picture;
        (void)grabber.GrabRect(0, rect.left, rect.top, rect.right, rect.bottom, picture);
        return picture;
    };
    imaging::Bitmap picture = grab(), next;
    for (int attempt = 0; attempt < 100; ++attempt, picture = std::move(next)) {
        ::Sleep(30);
        next = grab();
        if (!picture.Empty() && next.SizeBytes() == picture.SizeBytes() &&
            std::memcmp(next.Data(), picture.Data(), picture.SizeBytes()) == 0)
            break;
    }
    return picture;
}

std::string Language() { return ::GetSystemDefaultLangID() == 0x0407 ? "de" : "en"; }

std::wstring Text(MessageText text) { return StringTableWin32().Text(MessageTextId(text, ::GetSystemDefaultLangID())); }

// Each button gives its answer; Escape or the close box leaves the setting on.
TEST(PrintScreenQuestion, EachButtonGivesItsAnswer) {
    struct Case {
        int button;
        PrintScreenAnswer answer;
    } cases[] = {
        {PrintScreenQuestionWin32::kSwitchOffButton, PrintScreenAnswer::SwitchOff},
        {PrintScreenQuestionWin32::kLeaveOnButton, PrintScreenAnswer::LeaveOn},
        {PrintScreenQuestionWin32::kLeaveOnForGoodButton, PrintScreenAnswer::LeaveOnForGood},
        {IDCANCEL, PrintScreenAnswer::LeaveOn},
    };
    bool pictured = false;
    for (const Case& c : cases) {
        SCOPED_TRACE("button " + std::to_string(c.button));
        std::wstring shown;
        std::atomic<bool> closedByHand = false;
        std::thread user([&] {
            HWND dialog = WaitForQuestion();
            if (!dialog) return;
            shown = ShownTexts(dialog);
            if (!pictured) {
                test::SaveArtifactPicture(SteadyPicture(dialog), "print-screen-question-" + Language());
                pictured = true;
            }
            ::PostMessageW(dialog, TDM_CLICK_BUTTON, static_cast<WPARAM>(c.button), 0);
            for (int wait = 0; wait < 250 && ::IsWindow(dialog); ++wait) ::Sleep(20);
            // Not the task dialog after all: ends whatever it is, so the test goes on.
            closedByHand = ::IsWindow(dialog) != 0;
            if (closedByHand) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        PrintScreenAnswer answer = PrintScreenQuestionWin32(nullptr).Ask();
        user.join();
        EXPECT_FALSE(closedByHand) << "the buttons did not end the question";
        EXPECT_EQ(answer, c.answer);
        for (MessageText text : {MessageText::PrintScreenHeading, MessageText::PrintScreenSwitchOff,
                                 MessageText::PrintScreenLeaveOn, MessageText::PrintScreenLeaveOnForGood}) {
            ASSERT_FALSE(Text(text).empty());
            EXPECT_NE(shown.find(Text(text)), std::wstring::npos) << "shown: " << std::string(shown.begin(), shown.end());
        }
    }
}

// In a high-contrast theme every text of the question reads at 4.5 to 1 or better.
TEST(PrintScreenQuestion, ReadsInHighContrast) {
    test::SystemColourSet previous = test::ApplySystemColours(test::HighContrastBlack());
    std::vector<std::pair<std::wstring, double>> measured;
    std::thread user([&] {
        HWND dialog = WaitForQuestion();
        if (!dialog) return;
        imaging::Bitmap picture = SteadyPicture(dialog);
        test::SaveArtifactPicture(picture, "print-screen-question-high-contrast-" + Language());
        RECT origin{};
        ::GetWindowRect(dialog, &origin);
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[512] = L"";
            if (!::IsWindowVisible(child) || !::GetWindowTextW(child, text, 512)) continue;
            RECT area{};
            ::GetWindowRect(child, &area);
            std::optional<test::TextContrast> contrast = test::MeasureText(
                picture, area.left - origin.left, area.top - origin.top, area.right - area.left, area.bottom - area.top);
            measured.emplace_back(text, contrast ? contrast->ratio : 1.0);
        }
        ::PostMessageW(dialog, TDM_CLICK_BUTTON, PrintScreenQuestionWin32::kLeaveOnButton, 0);
    });
    EXPECT_EQ(PrintScreenQuestionWin32(nullptr).Ask(), PrintScreenAnswer::LeaveOn);
    user.join();
    test::ApplySystemColours(previous);
    EXPECT_GE(measured.size(), 5u);  // heading, explanation, three buttons
    for (const auto& [text, ratio] : measured) EXPECT_GE(ratio, 4.5) << std::string(text.begin(), text.end());
}

} // namespace
} // namespace korvan::win
