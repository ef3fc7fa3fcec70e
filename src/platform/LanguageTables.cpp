#include "platform/LanguageTables.h"

#include <algorithm>

namespace korvan {

bool TakesCaption(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::BitmapButton:
    case ControlKind::RadioButton:
    case ControlKind::TabSheet:
    case ControlKind::CheckBox:
    case ControlKind::MenuItem:
    case ControlKind::SpeedButton:
    case ControlKind::GroupBox:
    case ControlKind::RadioGroup: return true;
    default: return false;
    }
}

bool TakesHint(ControlKind kind) {
    switch (kind) {
    case ControlKind::ToolButton:
    case ControlKind::TabSheet:
    case ControlKind::RadioGroup:
    case ControlKind::GroupBox:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
    case ControlKind::Button:
    case ControlKind::BitmapButton: return true;
    default: return false;
    }
}

bool IsGermanSystem(uint16_t language) { return language == 0x0407 || language == 0x0807 || language == 0x0C07; }

LanguageBases LanguageBases::For(uint16_t language) {
    return IsGermanSystem(language) ? LanguageBases{0, 2000} : LanguageBases{1000, 3000};
}

void LanguageTables::Register(ComponentSet& window) {
    if (std::find(windows_.begin(), windows_.end(), &window) == windows_.end()) windows_.push_back(&window);
}

void LanguageTables::Unregister(ComponentSet& window) { std::erase(windows_, &window); }

void LanguageTables::CaptionPass(int base) {
    for (ComponentSet* window : windows_)
        for (Component& component : window->components)
            if (component.tag != 0 && TakesCaption(component.kind)) component.caption = table_.Text(base + component.tag);
}

void LanguageTables::HintPass(int base) {
    for (ComponentSet* window : windows_)
        for (Component& component : window->components)
            if (component.tag != 0 && TakesHint(component.kind)) component.hint = table_.Text(base + component.tag);
}

void LanguageTables::Apply(LanguageBases bases) {
    CaptionPass(bases.caption);
    HintPass(bases.hint);
    for (ComponentSet* window : windows_)
        if (window->textsChanged) window->textsChanged();
}

} // namespace korvan
