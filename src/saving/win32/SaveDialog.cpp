#include "saving/win32/SaveDialog.h"

#include "platform/win32/WindowBase.h"
#include "saving/SaveFileTypes.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvan::win {
namespace {

constexpr wchar_t kTemplate[] = L"EXTDLGTEMPLATE2";
constexpr int kStandardControlsArea = 1119;  // the system's placeholder for its own controls
constexpr int kPanelHeight = 150;
constexpr size_t kNameBuffer = 32768;  // room for long paths

using D = SaveDialog;
using K = ControlKind;
enum : int { kExtraPanel, kExtraButton, kExtraGroup, kRadioGroup, kFirstDepth, kExtraGroup2 = kFirstDepth + 6,
             kExtEdit, kExtSlider };
constexpr wchar_t kDepthHint[] = L"Choose the color deepness.";

// The panel's controls as designed: pixels at 96 DPI, relative to the parent entry. The
// panel itself is placed below the standard controls when the dialog shows.
const ControlDesign kControls[] = {
    {K::Panel, "ExtraPanel", 0, nullptr, nullptr, {0, 0, 0, 0}, kOnWindow, D::kPanelId},
    {K::ComboBox, "ExtraButton", 0, L"", L"Choose your image format", {108, 1, 233, 21}, kExtraPanel,
     D::kSubFormatId, CBS_DROPDOWNLIST},
    {K::GroupBox, "ExtraGroup", 0, L"Color Deepness in Bits:", kDepthHint, {10, 30, 250, 100}, kExtraPanel,
     D::kDepthGroupId},
    {K::RadioGroup, "RadioGroup", 0, L"", kDepthHint, {12, 35, 230, 35}, kExtraGroup, D::kRadioGroupId},
    // The group's entries, one column each.
    {K::RadioButton, "RadioGroup", 0, L"", kDepthHint, {8, 12, 34, 17}, kRadioGroup, D::kFirstDepthId, WS_GROUP},
    {K::RadioButton, "RadioGroup", 0, L"", kDepthHint, {43, 12, 34, 17}, kRadioGroup, D::kFirstDepthId + 1},
    {K::RadioButton, "RadioGroup", 0, L"", kDepthHint, {78, 12, 34, 17}, kRadioGroup, D::kFirstDepthId + 2},
    {K::RadioButton, "RadioGroup", 0, L"", kDepthHint, {113, 12, 34, 17}, kRadioGroup, D::kFirstDepthId + 3},
    {K::RadioButton, "RadioGroup", 0, L"", kDepthHint, {148, 12, 34, 17}, kRadioGroup, D::kFirstDepthId + 4},
    {K::RadioButton, "RadioGroup", 0, L"", kDepthHint, {183, 12, 34, 17}, kRadioGroup, D::kFirstDepthId + 5},
    {K::GroupBox, "ExtraGroup2", 0, L"JPEG Compression", L"Choose the JPEG compression.", {265, 30, 130, 100},
     kExtraPanel, D::kQualityGroupId},
    // The edit's height follows its font.
    {K::Edit, "ExtEdit", 0, L"", nullptr, {10, 20, 70, 21}, kExtraGroup2, D::kQualityEditId},
    {K::TrackBar, "ExtSlider", 0, L"", nullptr, {5, 60, 110, 20}, kExtraGroup2, D::kSliderId, TBS_NOTICKS},
};
static_assert(std::size(kControls) == kExtSlider + 1);

std::wstring FilterText() {
    std::wstring filter(kSaveFilter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.push_back(L'\0');
    return filter;
}

std::wstring WindowText(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

SaveDialog* Self(HWND window) {
    // The hook dialog keeps the object from WM_INITDIALOG on.
    return reinterpret_cast<SaveDialog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace

bool SaveDialog::Execute() {
    std::wstring filter = FilterText();
    std::vector<wchar_t> name(kNameBuffer, L'\0');
    state_.FileName.copy(name.data(), std::min(state_.FileName.size(), kNameBuffer - 1));
    std::wstring defaultExt = state_.DefaultExt;
    int confirmedIndex = state_.FilterIndex;

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    // Owned by the window it was opened from (the options dialog runs it too).
    HWND active = ::GetActiveWindow();
    ofn.hwndOwner = active ? active : owner_;
    ofn.hInstance = ::GetModuleHandleW(nullptr);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(state_.FilterIndex);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrDefExt = defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY |
                OFN_ENABLESIZING;
    ofn.lpTemplateName = kTemplate;
    ofn.lpfnHook = &SaveDialog::Hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    bool confirmed = ::GetSaveFileNameW(&ofn) != FALSE;
    // The settings of the type and depth shown are taken also after Cancel.
    if (OnClose) OnClose();
    if (confirmed) {
        state_.FileName = name.data();
        state_.FilterIndex = static_cast<int>(ofn.nFilterIndex);
    } else {
        state_.FilterIndex = confirmedIndex;  // the type last confirmed
    }
    dialog_ = nullptr;
    controls_.reset();
    return confirmed;
}

UINT_PTR CALLBACK SaveDialog::Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
            ::SetWindowLongPtrW(dialog, GWLP_USERDATA, ofn->lCustData);
            return 0;
        }
        SaveDialog* self = Self(dialog);
        if (!self) return 0;
        if (message == WM_NOTIFY) {
            auto notify = reinterpret_cast<OFNOTIFYW*>(lParam);
            if (notify->hdr.code == CDN_INITDONE) self->InitDone(dialog);
            else if (notify->hdr.code == CDN_TYPECHANGE) self->TypeChanged(static_cast<int>(notify->lpOFN->nFilterIndex));
        } else if (message == WM_COMMAND) {
            // The panel passes its controls' messages on to the dialog.
            self->OnPanelCommand(LOWORD(wParam), HIWORD(wParam));
        } else if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == self->Item(kSliderId)) {
            self->OnSlider();
        } else if (message == WM_DESTROY) {
            self->controls_.reset();  // no hint outlives the dialog
        }
    } catch (...) {
        ShowCurrentException(dialog);
    }
    return 0;
}

namespace {

// The panel makes the dialog taller; it is kept on its monitor's work area.
void KeepOnMonitor(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    MONITORINFO monitor{sizeof(monitor)};
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    int left = std::max(std::min(rect.left, work.right - (rect.right - rect.left)), work.left);
    int top = std::max(std::min(rect.top, work.bottom - (rect.bottom - rect.top)), work.top);
    if (left != rect.left || top != rect.top)
        ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void SaveDialog::InitDone(HWND dialog) {
    dialog_ = ::GetParent(dialog);
    CreatePanel(dialog);
    KeepOnMonitor(dialog_);
    if (OnShow) OnShow();
    Render();
}

void SaveDialog::TypeChanged(int index) {
    state_.FilterIndex = index;
    if (OnTypeChange) OnTypeChange();
    Render();
}

// The panel sits below the standard controls' area, as wide as that area.
void SaveDialog::CreatePanel(HWND dialog) {
    controls_ = std::make_unique<ControlTable>();
    controls_->Create(dialog, kControls);
    RECT area{};
    ::GetWindowRect(::GetDlgItem(dialog, kStandardControlsArea), &area);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    ::SetWindowPos((*controls_)[kExtraPanel], HWND_TOP, area.left, area.bottom, area.right - area.left,
                   Scale(kPanelHeight, DpiOf(dialog)), SWP_NOACTIVATE);
    HWND slider = Item(kSliderId);
    ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, kSliderMin);
    ::SendMessageW(slider, TBM_SETRANGEMAX, TRUE, kSliderMax);
    // The component's own show step: the captions again, the percent of the slider.
    ::SetWindowTextW(Item(kQualityGroupId), L"JPEG Compression");
    ::SetWindowTextW(Item(kDepthGroupId), L"Color Deepness in Bits:");
    Panel.QualityText = std::to_wstring(QualityPercent(Panel.SliderPosition()));
}

HWND SaveDialog::Item(int id) const {
    int index = controls_ ? controls_->IndexOfId(id) : -1;
    return index >= 0 ? (*controls_)[index] : nullptr;
}

// Shows the panel's state in its controls.
void SaveDialog::Render() {
    if (!controls_) return;
    HWND subFormats = Item(kSubFormatId), edit = Item(kQualityEditId), slider = Item(kSliderId);
    ::SendMessageW(subFormats, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : Panel.SubFormats)
        ::SendMessageW(subFormats, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageW(subFormats, CB_SETCURSEL, static_cast<WPARAM>(Panel.SubFormatIndex), 0);
    ::ShowWindow(subFormats, Panel.SubFormatVisible ? SW_SHOW : SW_HIDE);
    for (int i = 0; i < kMaxDepths; ++i) {
        HWND radio = Item(kFirstDepthId + i);
        bool present = i < static_cast<int>(Panel.Depths.size());
        if (present) ::SetWindowTextW(radio, std::to_wstring(Panel.Depths[static_cast<size_t>(i)]).c_str());
        ::SendMessageW(radio, BM_SETCHECK, present && i == Panel.DepthIndex ? BST_CHECKED : BST_UNCHECKED, 0);
        ::ShowWindow(radio, present ? SW_SHOW : SW_HIDE);
    }
    ::EnableWindow(edit, Panel.QualityEnabled);
    ::EnableWindow(slider, Panel.QualityEnabled);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, Panel.SliderPosition());
    SetEditText(Panel.QualityText);
    if (dialog_) ::SendMessageW(dialog_, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(state_.DefaultExt.c_str()));
}

void SaveDialog::SetEditText(const std::wstring& text) {
    HWND edit = Item(kQualityEditId);
    if (WindowText(edit) == text) return;
    settingText_ = true;
    ::SetWindowTextW(edit, text.c_str());
    settingText_ = false;
}

void SaveDialog::OnPanelCommand(int id, int code) {
    if (id >= kFirstDepthId && id < kFirstDepthId + kMaxDepths && code == BN_CLICKED) {
        Panel.ClickDepth(id - kFirstDepthId);
        Render();
    } else if (id == kQualityEditId && code == EN_CHANGE && !settingText_) {
        if (Panel.EditQuality(WindowText(Item(kQualityEditId)))) SetEditText(Panel.QualityText);
        ::SendMessageW(Item(kSliderId), TBM_SETPOS, TRUE, Panel.SliderPosition());
    }
}

void SaveDialog::OnSlider() {
    Panel.MoveSlider(static_cast<int>(::SendMessageW(Item(kSliderId), TBM_GETPOS, 0, 0)));
    SetEditText(Panel.QualityText);
}

} // namespace korvan::win
