#pragma once
// The program speaks German on German systems and English elsewhere. Every translatable
// component carries a nonzero tag; two passes replace its caption and its hint by texts
// of the string table at base + tag. The windows are designed with English texts.
//
// A window takes part by registering its components (kind, tag, designed texts) with
// the program's LanguageTables when it is created; the passes then walk every registered
// window in creation order and tell each window that its texts changed.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvan {

// What a component is; it decides which of the two passes touch it.
enum class ControlKind {
    Label,
    Button,        // push button
    BitmapButton,  // push button with a picture; counts as a push button
    RadioButton,
    CheckBox,
    TabSheet,      // one page of a page control
    GroupBox,
    RadioGroup,
    MenuItem,
    SpeedButton,
    ToolButton,    // toolbar button: a hint, never a caption
    ComboBox,      // the kinds below never take part
    HotKey,
    Edit,
    TrackBar,
    PageControl,
    Panel,
};

bool TakesCaption(ControlKind kind);
bool TakesHint(ControlKind kind);

// One component as the passes see it.
struct Component {
    ControlKind kind = ControlKind::Label;
    int tag = 0;  // 0: keeps its designed texts
    std::wstring caption;
    std::wstring hint;
};

// The program's string table; an id without a text answers an empty text.
class IStringTable {
public:
    virtual ~IStringTable() = default;
    virtual std::wstring Text(int id) const = 0;
};

// German system: the system's default language is German (Germany), German
// (Switzerland) or German (Austria). Other German locales get English.
bool IsGermanSystem(uint16_t systemDefaultLanguage);

struct LanguageBases {
    int caption = 1000;
    int hint = 3000;
    static LanguageBases For(uint16_t systemDefaultLanguage);
};

// One window's components, in the window's ownership order.
struct ComponentSet {
    std::vector<Component> components;
    std::function<void()> textsChanged;  // pushes the new texts to the window's controls
};

// The windows that take part, in the order they were created.
class LanguageTables {
public:
    explicit LanguageTables(const IStringTable& table) : table_(table) {}

    void Register(ComponentSet& window);
    void Unregister(ComponentSet& window);

    // Caption := text(base + tag) for every tagged component of a captioned kind.
    void CaptionPass(int base);
    // Hint := text(base + tag) for every tagged component of a hinted kind.
    void HintPass(int base);
    // Both passes, then every window is told to show its texts.
    void Apply(LanguageBases bases);

private:
    const IStringTable& table_;
    std::vector<ComponentSet*> windows_;
};

} // namespace korvan
