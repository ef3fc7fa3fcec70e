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
// The entries of the table below.
enum : int { kPanel, kSubFormatList, kDepthGroup, kDepthList, kFirstDepthButton, kQualityGroup = kFirstDepthButton + 6,
             kQualityEdit, kQualitySlider };
constexpr wchar_t kDepthHint[] = L"Choose the color deepness.";

// The panel's controls as designed: pixels at 96 DPI, relative to the parent entry. The
// panel itself is placed below the standard controls when the dialog shows.
const ControlDesign kControls[] = {
    {K::Panel, 0, nullptr, nullptr, {0, 0, 0, 0}, kOnWindow, D::kPanelId},
    {K::ComboBox, 0, L"", L"Choose your image format", {108, 1, 233, 21}, kPanel,
     D::kSubFormatId, CBS_DROPDOWNLIST},
    {K::GroupBox, 0, L"Color Deepness in Bits:", kDepthHint, {10, 30, 250, 100}, kPanel,
     D::kDepthGroupId},
    {K::RadioGroup, 0, L"", kDepthHint, {12, 35, 230, 35}, kDepthGroup, D::kDepthListId},
    // The group's entries, one column each.
    {K::RadioButton, 0, L"", kDepthHint, {8, 12, 34, 17}, kDepthList, D::kFirstDepthId, WS_GROUP},
    {K::RadioButton, 0, L"", kDepthHint, {43, 12, 34, 17}, kDepthList, D::kFirstDepthId + 1},
    {K::RadioButton, 0, L"", kDepthHint, {78, 12, 34, 17}, kDepthList, D::kFirstDepthId + 2},
    {K::RadioButton, 0, L"", kDepthHint, {113, 12, 34, 17}, kDepthList, D::kFirstDepthId + 3},
    {K::RadioButton, 0, L"", kDepthHint, {148, 12, 34, 17}, kDepthList, D::kFirstDepthId + 4},
    {K::RadioButton, 0, L"", kDepthHint, {183, 12, 34, 17}, kDepthList, D::kFirstDepthId + 5},
    {K::GroupBox, 0, L"JPEG Compression", L"Choose the JPEG compression.", {265, 30, 130, 100},
     kPanel, D::kQualityGroupId},
    // The edit's height follows its font.
    {K::Edit, 0, L"", nullptr, {10, 20, 70, 21}, kQualityGroup, D::kQualityEditId},
    {K::TrackBar, 0, L"", nullptr, {5, 60, 110, 20}, kQualityGroup, D::kSliderId, TBS_NOTICKS},
};
static_assert(std::size(kControls) == kQualitySlider + 1);

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

SaveChoice SaveDialog::Run(const SaveDialogStart& start) {
    std::wstring filter = FilterText();
    std::vector<wchar_t> name(kNameBuffer, L'\0');
    start.fileName.copy(name.data(), std::min(start.fileName.size(), kNameBuffer - 1));
    panel_.Open(start.fileType, start.last, start.heldBitsPerPixel);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    // Owned by the window it was opened from (the options dialog runs it too).
    HWND active = ::GetActiveWindow();
    ofn.hwndOwner = active ? active : owner_;
    ofn.hInstance = ::GetModuleHandleW(nullptr);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(start.fileType);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrDefExt = start.last.extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY |
                OFN_ENABLESIZING;
    ofn.lpTemplateName = kTemplate;
    ofn.lpfnHook = &SaveDialog::Hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    bool confirmed = ::GetSaveFileNameW(&ofn) != FALSE;
    dialog_ = nullptr;
    controls_.reset();
    // The format of the type and depth shown counts also after Cancel.
    SaveChoice choice{std::nullopt, start.fileType, panel_.Close()};
    if (confirmed) {
        choice.path = name.data();
        choice.fileType = static_cast<int>(ofn.nFilterIndex);
    }
    return choice;
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
    Render();
}

void SaveDialog::TypeChanged(int index) {
    panel_.ChangeType(index);
    Render();
}

// The panel sits below the standard controls' area, as wide as that area.
void SaveDialog::CreatePanel(HWND dialog) {
    controls_ = std::make_unique<ControlTable>();
    controls_->Create(dialog, kControls);
    RECT area{};
    ::GetWindowRect(::GetDlgItem(dialog, kStandardControlsArea), &area);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    ::SetWindowPos((*controls_)[kPanel], HWND_TOP, area.left, area.bottom, area.right - area.left,
                   Scale(kPanelHeight, DpiOf(dialog)), SWP_NOACTIVATE);
    HWND slider = Item(kSliderId);
    ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, kSliderMin);
    ::SendMessageW(slider, TBM_SETRANGEMAX, TRUE, kSliderMax);
    // The captions once more, as the panel shows them every time.
    ::SetWindowTextW(Item(kQualityGroupId), L"JPEG Compression");
    ::SetWindowTextW(Item(kDepthGroupId), L"Color Deepness in Bits:");
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
    for (const std::wstring& entry : panel_.SubFormats())
        ::SendMessageW(subFormats, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageW(subFormats, CB_SETCURSEL, panel_.SubFormats().empty() ? WPARAM(-1) : 0, 0);
    ::ShowWindow(subFormats, SW_HIDE);
    const std::vector<int>& depths = panel_.Depths();
    for (int i = 0; i < kMaxDepths; ++i) {
        HWND radio = Item(kFirstDepthId + i);
        bool present = i < static_cast<int>(depths.size());
        if (present) ::SetWindowTextW(radio, std::to_wstring(depths[static_cast<size_t>(i)]).c_str());
        ::SendMessageW(radio, BM_SETCHECK, present && i == panel_.DepthIndex() ? BST_CHECKED : BST_UNCHECKED, 0);
        ::ShowWindow(radio, present ? SW_SHOW : SW_HIDE);
    }
    ::EnableWindow(edit, panel_.QualityEnabled());
    ::EnableWindow(slider, panel_.QualityEnabled());
    ::SendMessageW(slider, TBM_SETPOS, TRUE, panel_.SliderPosition());
    SetEditText(panel_.QualityText());
    if (dialog_) ::SendMessageW(dialog_, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(panel_.Extension().c_str()));
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
        panel_.ClickDepth(id - kFirstDepthId);
        Render();
    } else if (id == kQualityEditId && code == EN_CHANGE && !settingText_) {
        if (panel_.EditQuality(WindowText(Item(kQualityEditId)))) SetEditText(panel_.QualityText());
        ::SendMessageW(Item(kSliderId), TBM_SETPOS, TRUE, panel_.SliderPosition());
    }
}

void SaveDialog::OnSlider() {
    panel_.MoveSlider(static_cast<int>(::SendMessageW(Item(kSliderId), TBM_GETPOS, 0, 0)));
    SetEditText(panel_.QualityText());
}

} // namespace korvan::win
