#pragma once
// Remembers a window's placement across runs in the current user's registry: restored
// at every show, saved at every accepted close and at destruction. Values are strings
// under "Software\<executable name>\<window class>".
#include "platform/PlacementWindow.h"
#include "platform/Registry.h"

#include <optional>
#include <string>

namespace korvan {

enum class PlacementOption : unsigned { State = 1, Position = 2 };

class PlacementOptions {
public:
    constexpr PlacementOptions() = default;
    constexpr PlacementOptions(PlacementOption option) : bits_(static_cast<unsigned>(option)) {}
    constexpr PlacementOptions operator|(PlacementOptions other) const { return FromBits(bits_ | other.bits_); }
    constexpr bool Has(PlacementOption option) const { return (bits_ & static_cast<unsigned>(option)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }

private:
    static constexpr PlacementOptions FromBits(unsigned bits) {
        PlacementOptions options;
        options.bits_ = bits;
        return options;
    }
    unsigned bits_ = 0;
};

inline constexpr PlacementOptions operator|(PlacementOption a, PlacementOption b) {
    return PlacementOptions(a) | PlacementOptions(b);
}

// Splits "a,b c,,d" into four numbers; a missing field or one that is not a number
// takes its default.
void ParsePlacementNumbers(const std::wstring& text, int (&numbers)[4], const int (&defaults)[4]);
// "C:\dir\Program.exe" -> "Software\Program".
std::wstring PlacementKeyFor(const std::wstring& executablePath);

// A window's placement as its key in the registry holds it: every value a string, each
// missing when the key has none.
struct StoredPlacement {
    std::optional<std::wstring> formVersion, flags, showCmd, pixelsPerInch, minMaxPos, normPos, visible;
};

// One value of a window's key. A value kept per screen size is written under its name
// with the screen's size appended, "MinMaxPos(1024x768)", then under the plain name; it
// is read from the first of the two that is there and not empty.
struct PlacementValue {
    const wchar_t* name;
    bool perScreen;
    std::optional<std::wstring> StoredPlacement::*field;
};

// The layout of a window's key, in the order of saving.
inline constexpr PlacementValue kPlacementValues[] = {
    {L"FormVersion", false, &StoredPlacement::formVersion},      // the layout's version, a number
    {L"Flags", false, &StoredPlacement::flags},                  // the placement's flags, a number
    {L"ShowCmd", false, &StoredPlacement::showCmd},              // its show state, a number
    {L"PixelsPerInch", false, &StoredPlacement::pixelsPerInch},  // the screen's, a number
    {L"MinMaxPos", true, &StoredPlacement::minMaxPos},           // minimised x, y, maximised x, y
    {L"NormPos", true, &StoredPlacement::normPos},               // normal left, top, right, bottom
    {L"Visible", false, &StoredPlacement::visible},              // "1" when saved at destruction, else "0"
};

// The key is "Software\" + the executable's name, the section the window's class name.
class PlacementStore {
public:
    PlacementStore(IRegistry& registry, IPlacementWindow& window,
                   PlacementOptions options = PlacementOption::State | PlacementOption::Position);

    // The window's show, accepted close and destruction.
    void OnShow();
    void OnCloseQuery(bool canClose);
    void OnDestroy();

    void RestorePlacement();
    void SavePlacement();

    // Puts a window that is not shown yet where it was stored, without showing it and
    // without counting as a restore: what moves it before its first show (the frame
    // keys) then starts from there.
    void PlaceHidden();
    // The program moved the window while it was hidden. That place is kept: the next
    // show does not restore over it, and it is stored then or at destruction.
    void HiddenWindowMoved() { moved_ = true; }

private:
    std::wstring Key() const;
    std::wstring Section() const;
    std::wstring SectionPath() const;
    std::wstring ScreenSuffix() const;

    std::optional<std::wstring> ReadText(const std::wstring& name) const;
    StoredPlacement Read() const;
    void Write(const StoredPlacement& stored);

    void ApplyStoredPlacement(const StoredPlacement& stored);
    void ApplyPosition(WindowPlacementRecord placement, const StoredPlacement& stored);
    void ApplyState(const StoredPlacement& stored);
    void AdjustMaximizedPosition();
    WindowPlacementRecord VisiblePlacement() const;
    // In 64 bits: stored values near the limits of 32-bit integers must not overflow.
    PlacementRect BroughtOnScreen(long long left, long long top, long long width, long long height) const;

    IRegistry& registry_;
    IPlacementWindow& window_;
    PlacementOptions options_;
    bool restored_ = false;
    bool saved_ = false;
    bool destroying_ = false;
    bool moved_ = false;
};

} // namespace korvan
