#include "app/PrintScreenCheck.h"
#include "unit/platform/FakeRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvan {
namespace {

using test::FakeRegistry;

constexpr WindowsVersion kWindows10{10, 0, 19045};
constexpr WindowsVersion kWindows11First{10, 0, 22000};  // 21H2: a missing value means off
constexpr WindowsVersion kWindows11{10, 0, 22621};       // 22H2: a missing value means on
constexpr WindowsVersion kWindows11Later{10, 0, 26100};

class FakeVersion final : public ISystemVersion {
public:
    explicit FakeVersion(WindowsVersion version) : version_(version) {}
    WindowsVersion Read() const override { return version_; }

private:
    WindowsVersion version_;
};

class FakeQuestion final : public IPrintScreenQuestion {
public:
    explicit FakeQuestion(PrintScreenAnswer answer) : answer_(answer) {}
    PrintScreenAnswer Ask() override {
        ++asked;
        return answer_;
    }
    int asked = 0;

private:
    PrintScreenAnswer answer_;
};

enum class Stored { Absent, Zero, One, Text };

struct Outcome {
    int asked = 0;
    int registeredAgain = 0;
    std::wstring keyboardValue;  // as FakeRegistry renders it, "<missing>" when absent
    std::wstring questionOff;
    std::vector<std::wstring> calls;
};

Outcome RunCheck(WindowsVersion version, Stored stored, PrintScreenAnswer answer, bool questionOff = false,
            bool failWrites = false) {
    FakeRegistry registry;
    registry.PlantKey(kKeyboardSettingsKey);
    if (stored == Stored::Zero || stored == Stored::One)
        registry.Plant(kKeyboardSettingsKey, kSnippingOnPrintScreenValue, RegistryValue::Dword(stored == Stored::One));
    if (stored == Stored::Text) registry.PlantString(kKeyboardSettingsKey, kSnippingOnPrintScreenValue, L"0");
    if (questionOff) registry.Plant(kProgramSettingsKey, kPrintScreenQuestionOffValue, RegistryValue::Dword(1));
    registry.FailWrites(failWrites);
    FakeVersion systemVersion(version);
    FakeQuestion question(answer);
    Outcome outcome;
    CheckPrintScreenAtStart({systemVersion, registry, question, [&] { ++outcome.registeredAgain; }});
    outcome.asked = question.asked;
    outcome.keyboardValue = registry.Text(kKeyboardSettingsKey, kSnippingOnPrintScreenValue);
    outcome.questionOff = registry.Text(kProgramSettingsKey, kPrintScreenQuestionOffValue);
    outcome.calls = registry.Calls();
    return outcome;
}

constexpr PrintScreenAnswer kSwitchOff = PrintScreenAnswer::SwitchOff;
constexpr PrintScreenAnswer kLeaveOn = PrintScreenAnswer::LeaveOn;
constexpr PrintScreenAnswer kNeverAsk = PrintScreenAnswer::LeaveOnForGood;

// Whether the system takes Print Screen: only from Windows 11 on; the stored DWORD
// decides, a missing one (or one of another type) means on from build 22621.
TEST(PrintScreenCheck, SystemTakesTheKeyByVersionAndValue) {
    struct Case {
        WindowsVersion version;
        Stored stored;
        bool takes;
    } cases[] = {
        {kWindows10, Stored::Absent, false},      {kWindows10, Stored::Zero, false},
        {kWindows10, Stored::One, false},         {{10, 0, 21999}, Stored::One, false},
        {kWindows11First, Stored::Absent, false}, {kWindows11First, Stored::Zero, false},
        {kWindows11First, Stored::One, true},     {{10, 0, 22620}, Stored::Absent, false},
        {kWindows11, Stored::Absent, true},       {kWindows11, Stored::Zero, false},
        {kWindows11, Stored::One, true},          {kWindows11, Stored::Text, true},
        {kWindows11Later, Stored::Absent, true},  {kWindows11Later, Stored::Zero, false},
        {{11, 0, 100}, Stored::Absent, true},     {{6, 3, 9600}, Stored::One, false},
    };
    for (const Case& c : cases) {
        std::optional<RegistryValue> value;
        if (c.stored == Stored::Zero || c.stored == Stored::One) value = RegistryValue::Dword(c.stored == Stored::One);
        if (c.stored == Stored::Text) value = RegistryValue::String(L"0");
        EXPECT_EQ(SystemTakesPrintScreen(c.version, value), c.takes)
            << c.version.major << "." << c.version.build << " stored " << static_cast<int>(c.stored);
    }
}

// At start: asked exactly when the system takes the key; before Windows 11 the registry is
// not even read.
TEST(PrintScreenCheck, AskedOnlyWhenWindows11TakesTheKey) {
    struct Case {
        WindowsVersion version;
        Stored stored;
        int asked;
    } cases[] = {
        {kWindows10, Stored::Absent, 0},      {kWindows10, Stored::Zero, 0},  {kWindows10, Stored::One, 0},
        {kWindows11First, Stored::Absent, 0}, {kWindows11First, Stored::One, 1},
        {kWindows11, Stored::Absent, 1},      {kWindows11, Stored::Zero, 0},  {kWindows11, Stored::One, 1},
        {kWindows11Later, Stored::Absent, 1}, {kWindows11Later, Stored::Zero, 0},
    };
    for (const Case& c : cases) {
        Outcome outcome = RunCheck(c.version, c.stored, kLeaveOn);
        SCOPED_TRACE("build " + std::to_string(c.version.build) + " stored " + std::to_string(static_cast<int>(c.stored)));
        EXPECT_EQ(outcome.asked, c.asked);
        EXPECT_EQ(outcome.registeredAgain, 0);
        EXPECT_TRUE(outcome.calls.empty() || c.version.build >= kFirstWindows11Build);
        EXPECT_EQ(outcome.questionOff, L"<missing>");
    }
}

// What each answer leaves behind; a stored "do not ask again" keeps the question away.
TEST(PrintScreenCheck, AnswersSwitchOffRememberOrLeaveAlone) {
    struct Case {
        const char* what;
        Stored stored;
        PrintScreenAnswer answer;
        bool questionOffBefore;
        int asked;
        int registeredAgain;
        std::wstring keyboardValue;
        std::wstring questionOff;
    } cases[] = {
        {"switch off, value missing", Stored::Absent, kSwitchOff, false, 1, 1, L"dword:0", L"<missing>"},
        {"switch off, value 1", Stored::One, kSwitchOff, false, 1, 1, L"dword:0", L"<missing>"},
        {"leave it on", Stored::One, kLeaveOn, false, 1, 0, L"dword:1", L"<missing>"},
        {"leave it on for good", Stored::Absent, kNeverAsk, false, 1, 0, L"<missing>", L"dword:1"},
        {"asked not to ask", Stored::One, kSwitchOff, true, 0, 0, L"dword:1", L"dword:1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Outcome outcome = RunCheck(kWindows11, c.stored, c.answer, c.questionOffBefore);
        EXPECT_EQ(outcome.asked, c.asked);
        EXPECT_EQ(outcome.registeredAgain, c.registeredAgain);
        EXPECT_EQ(outcome.keyboardValue, c.keyboardValue);
        EXPECT_EQ(outcome.questionOff, c.questionOff);
    }
}

// The setting could not be written: Print Screen is not registered again, since the
// system still has it.
TEST(PrintScreenCheck, FailedSwitchRegistersNothingAgain) {
    Outcome outcome = RunCheck(kWindows11, Stored::One, kSwitchOff, false, true);
    EXPECT_EQ(outcome.asked, 1);
    EXPECT_EQ(outcome.registeredAgain, 0);
    EXPECT_EQ(outcome.keyboardValue, L"dword:1");
}

} // namespace
} // namespace korvan
