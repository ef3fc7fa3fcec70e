#include "platform/PlacementStore.h"

#include "platform/Exception.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace korvan {
namespace {

constexpr uint32_t kShowMinimized = 2;  // SW_SHOWMINIMIZED
// The layout's version: a stored placement of a newer layout is not applied.
constexpr int kLayoutVersion = 0;

template <typename... Numbers> std::wstring Format(const wchar_t* format, Numbers... numbers) {
    wchar_t buffer[96];
    int length = std::swprintf(buffer, std::size(buffer), format, numbers...);
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        auto code = static_cast<uint32_t>(c);
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// A whole decimal integer, or nothing.
std::optional<int> ParseInteger(const std::wstring& text) {
    if (text.empty()) return std::nullopt;
    size_t i = (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (text[0] == L'-') value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// A stored number, or the fallback when it is missing or not a whole number.
int Number(const std::optional<std::wstring>& text, int fallback) {
    if (!text) return fallback;
    return ParseInteger(Trimmed(*text)).value_or(fallback);
}

bool IsMinimizedShowCmd(uint32_t showCmd) { return showCmd == 2 || showCmd == 6 || showCmd == 7; }

std::wstring FourNumbers(int a, int b, int c, int d) { return Format(L"%d,%d,%d,%d", a, b, c, d); }

BorderMetric MetricFor(BorderKind border) {
    switch (border) {
    case BorderKind::None: return BorderMetric::None;
    case BorderKind::Single:
    case BorderKind::ToolWindow: return BorderMetric::Border;
    case BorderKind::Sizeable:
    case BorderKind::SizeableToolWindow: return BorderMetric::Frame;
    case BorderKind::Dialog: return BorderMetric::DialogFrame;
    }
    return BorderMetric::None;
}

// A window rectangle in 64 bits: stored values may lie near the limits of 32-bit
// integers (a damaged or hand-edited key), where their sums would overflow.
struct Box {
    long long left, top, width, height;
    long long Right() const { return left + width; }
    long long Bottom() const { return top + height; }
};

bool Overlaps(const Box& a, const PlacementRect& b) {
    return a.left < b.right && b.left < a.Right() && a.top < b.bottom && b.top < a.Bottom();
}

// Squared gaps of positions within 32 bits stay below 2^65 only as doubles.
double GapSquared(const Box& rect, const PlacementRect& area) {
    double dx = static_cast<double>(std::max({0LL, area.left - rect.Right(), rect.left - area.right}));
    double dy = static_cast<double>(std::max({0LL, area.top - rect.Bottom(), rect.top - area.bottom}));
    return dx * dx + dy * dy;
}

// Slides [start, start + length) into [low, high); a longer span keeps its start at low.
long long SlideInto(long long start, long long length, long long low, long long high) {
    return std::max(low, std::min(start, high - length));
}

// The box around all work areas: the virtual screen as far as windows go.
PlacementRect VirtualScreenOf(const std::vector<PlacementRect>& areas) {
    PlacementRect all = areas.front();
    for (const PlacementRect& area : areas)
        all = {std::min(all.left, area.left), std::min(all.top, area.top), std::max(all.right, area.right),
               std::max(all.bottom, area.bottom)};
    return all;
}

Box SlidInto(Box box, const PlacementRect& area) {
    box.left = SlideInto(box.left, box.width, area.left, area.right);
    box.top = SlideInto(box.top, box.height, area.top, area.bottom);
    return box;
}

// Without monitors to go by, the rectangle only has to be one that 32 bits can hold.
PlacementRect Representable(Box box) {
    box.width = std::min<long long>(box.width, INT_MAX);
    box.height = std::min<long long>(box.height, INT_MAX);
    box.left = std::clamp<long long>(box.left, INT_MIN, INT_MAX - box.width);
    box.top = std::clamp<long long>(box.top, INT_MIN, INT_MAX - box.height);
    return {static_cast<int>(box.left), static_cast<int>(box.top), static_cast<int>(box.Right()),
            static_cast<int>(box.Bottom())};
}

} // namespace

void ParsePlacementNumbers(const std::wstring& text, int (&numbers)[4], const int (&defaults)[4]) {
    std::copy(std::begin(defaults), std::end(defaults), std::begin(numbers));
    size_t index = 0, position = 0;
    while (index < 4) {
        size_t start = text.find_first_not_of(L", ", position);
        if (start == std::wstring::npos) return;
        size_t end = std::min(text.find_first_of(L", ", start), text.size());
        if (auto number = ParseInteger(text.substr(start, end - start))) numbers[index] = *number;
        ++index;
        position = end;
    }
}

std::wstring PlacementKeyFor(const std::wstring& executablePath) {
    size_t slash = executablePath.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? executablePath : executablePath.substr(slash + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return L"Software\\" + name;
}

PlacementStore::PlacementStore(IRegistry& registry, IPlacementWindow& window, PlacementOptions options)
    : registry_(registry), window_(window), options_(options) {}

void PlacementStore::OnShow() { RestorePlacement(); }

void PlacementStore::OnCloseQuery(bool canClose) {
    if (canClose && window_.HasHandle()) SavePlacement();
}

void PlacementStore::OnDestroy() {
    if (saved_ && !moved_) return;
    struct ClearOnExit {
        bool& flag;
        ~ClearOnExit() { flag = false; }
    } clear{destroying_};
    destroying_ = true;
    SavePlacement();
}

std::wstring PlacementStore::Key() const { return PlacementKeyFor(window_.ExecutablePath()); }

std::wstring PlacementStore::Section() const { return window_.ClassName(); }

std::wstring PlacementStore::SectionPath() const { return Key() + L"\\" + Section(); }

std::wstring PlacementStore::ScreenSuffix() const {
    ScreenSize screen = window_.Screen();
    return Format(L"(%dx%d)", screen.width, screen.height);
}

std::optional<std::wstring> PlacementStore::ReadText(const std::wstring& name) const {
    auto value = registry_.ReadValue(SectionPath(), name);
    if (!value || value->type != RegistryValue::Type::String) return std::nullopt;
    return value->text;
}

StoredPlacement PlacementStore::Read() const {
    StoredPlacement stored;
    const std::wstring suffix = ScreenSuffix();
    for (const PlacementValue& value : kPlacementValues) {
        std::optional<std::wstring> text = ReadText(value.perScreen ? value.name + suffix : value.name);
        if (value.perScreen && (!text || text->empty())) text = ReadText(value.name);
        if (value.perScreen && text && text->empty()) text.reset();
        stored.*value.field = text;
    }
    return stored;
}

void PlacementStore::Write(const StoredPlacement& stored) {
    const std::wstring suffix = ScreenSuffix();
    for (const PlacementValue& value : kPlacementValues) {
        const std::wstring& text = *(stored.*value.field);
        if (value.perScreen) registry_.WriteValue(SectionPath(), value.name + suffix, RegistryValue::String(text));
        registry_.WriteValue(SectionPath(), value.name, RegistryValue::String(text));
    }
}

void PlacementStore::SavePlacement() {
    if (!restored_ && !moved_) return;  // never shown nor moved: keep what an earlier run stored
    registry_.OpenKey(Key(), true);
    if (!registry_.OpenKey(SectionPath(), true)) throw Exception("Failed to create key " + Narrow(Section()));
    WindowPlacementRecord placement = window_.GetPlacement();
    if (window_.MainRole() == MainWindowRole::ThisWindow && window_.ApplicationMinimized())
        placement.showCmd = kShowMinimized;
    const PlacementRect& normal = placement.normalRect;
    Write({std::to_wstring(kLayoutVersion), std::to_wstring(placement.flags), std::to_wstring(placement.showCmd),
           std::to_wstring(window_.PixelsPerInch()),
           FourNumbers(placement.minPosition.x, placement.minPosition.y, placement.maxPosition.x, placement.maxPosition.y),
           FourNumbers(normal.left, normal.top, normal.right, normal.bottom), destroying_ ? L"1" : L"0"});
    saved_ = true;
    moved_ = false;
}

void PlacementStore::RestorePlacement() {
    saved_ = false;
    bool keepMovedPlace = moved_;
    registry_.OpenKey(Key(), true);  // a key that cannot be made only leaves every read at its default
    if (!keepMovedPlace) {
        StoredPlacement stored = Read();
        if (Number(stored.formVersion, 0) >= kLayoutVersion) ApplyStoredPlacement(stored);
    }
    restored_ = true;
    AdjustMaximizedPosition();
    if (!keepMovedPlace) return;
    SavePlacement();
    saved_ = false;  // the window is shown now: its destruction still stores where it is then
}

void PlacementStore::PlaceHidden() {
    if (!options_.Has(PlacementOption::Position) || window_.Visible()) return;
    StoredPlacement stored = Read();
    if (Number(stored.formVersion, 0) >= kLayoutVersion) ApplyPosition(VisiblePlacement(), stored);
}

WindowPlacementRecord PlacementStore::VisiblePlacement() const {
    WindowPlacementRecord placement = window_.GetPlacement();
    if (!window_.Visible()) placement.showCmd = 0;  // handing it back must not show the window
    return placement;
}

void PlacementStore::ApplyStoredPlacement(const StoredPlacement& stored) {
    if (options_.Empty()) return;
    WindowPlacementRecord placement = VisiblePlacement();
    if (options_.Has(PlacementOption::Position)) ApplyPosition(placement, stored);
    if (options_.Has(PlacementOption::State)) ApplyState(stored);
    window_.Repaint();
}

void PlacementStore::ApplyPosition(WindowPlacementRecord placement, const StoredPlacement& stored) {
    placement.flags = static_cast<uint32_t>(Number(stored.flags, static_cast<int>(placement.flags)));
    const auto& minMax = stored.minMaxPos;
    if (minMax) {
        int n[4];
        ParsePlacementNumbers(*minMax, n, {0, 0, 0, 0});
        placement.minPosition = {n[0], n[1]};
        placement.maxPosition = {n[2], n[3]};
    }
    const PlacementRect bounds = window_.Bounds();
    PlacementRect& normal = placement.normalRect;
    normal = bounds;
    const auto& norm = stored.normPos;
    if (norm) {
        int n[4];
        ParsePlacementNumbers(*norm, n, {bounds.left, bounds.top, bounds.right, bounds.bottom});
        normal = {n[0], n[1], n[2], n[3]};
    }
    int pixelsPerInch = Number(stored.pixelsPerInch, window_.PixelsPerInch());
    if ((!minMax && !norm) || pixelsPerInch != window_.PixelsPerInch()) return;
    BorderKind border = window_.Border();
    bool sizeable = border == BorderKind::Sizeable || border == BorderKind::SizeableToolWindow;
    long long width = sizeable ? static_cast<long long>(normal.right) - normal.left : bounds.Width();
    long long height = sizeable ? static_cast<long long>(normal.bottom) - normal.top : bounds.Height();
    if (width <= 0) return;
    normal = BroughtOnScreen(normal.left, normal.top, width, height);
    if (window_.Position() == PositionRule::ScreenCenter) window_.SetPosition(PositionRule::Designed);
    window_.SetPlacement(placement);
}

void PlacementStore::ApplyState(const StoredPlacement& stored) {
    int showCmd = Number(stored.showCmd, 0);
    bool mainOrNone = window_.MainRole() != MainWindowRole::OtherWindow;
    // Show states 2, 6 and 7 are minimised, 3 maximised; every other one is normal.
    WindowState state = WindowState::Normal;
    if (IsMinimizedShowCmd(static_cast<uint32_t>(showCmd))) state = WindowState::Minimized;
    if (showCmd == 3) state = WindowState::Maximized;
    if (state == WindowState::Minimized && mainOrNone) {
        // The main window minimises through the application, so the taskbar entry goes too.
        window_.SetWindowState(WindowState::Normal);
        window_.PostMinimizeToApplication();
        return;
    }
    window_.SetWindowState(state);
}

void PlacementStore::AdjustMaximizedPosition() {
    if (!window_.HasHandle()) return;
    WindowPlacementRecord placement = VisiblePlacement();
    BorderMetric metric = MetricFor(window_.Border());
    PlacementPoint edge = metric == BorderMetric::None ? PlacementPoint{} : window_.BorderMetrics(metric);
    placement.maxPosition = {-edge.x, -edge.y};
    window_.SetPlacement(placement);
}

// A window stored on a monitor that is gone would open where nobody can reach it: it
// keeps its size and slides onto the nearest monitor's work area. None is larger than the
// virtual screen, and none reaches beyond it.
PlacementRect PlacementStore::BroughtOnScreen(long long left, long long top, long long width,
                                              long long height) const {
    Box rect{left, top, width, height};
    std::vector<PlacementRect> areas = window_.MonitorWorkAreas();
    if (areas.empty()) return Representable(rect);
    const PlacementRect screen = VirtualScreenOf(areas);
    rect.width = std::min<long long>(rect.width, screen.Width());
    rect.height = std::min<long long>(rect.height, screen.Height());
    bool onSomeArea = std::any_of(areas.begin(), areas.end(), [&](const auto& area) { return Overlaps(rect, area); });
    if (!onSomeArea) {
        rect = SlidInto(rect, *std::min_element(areas.begin(), areas.end(), [&](const auto& a, const auto& b) {
            return GapSquared(rect, a) < GapSquared(rect, b);
        }));
    }
    return Representable(SlidInto(rect, screen));
}

} // namespace korvan
