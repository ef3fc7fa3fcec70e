#include "saving/win32/ExtSaveDialog.h"

#include "platform/win32/WindowBase.h"
#include "saving/SaveFileTypes.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

namespace korvan::win {
namespace {

constexpr wchar_t kPanelClass[] = L"TExtraPanel";
constexpr wchar_t kTemplate[] = L"EXTDLGTEMPLATE2";
constexpr int kStandardControlsArea = 1119;  // the system's placeholder for its own controls
constexpr int kPanelHeight = 150;
constexpr size_t kNameBuffer = 32768;  // room for long paths

// The panel's controls as designed: parent-relative positions in pixels at 96 DPI.
struct PanelControl {
    int id;
    int parent;  // id of the control whose position this one's is relative to; 0: the panel
    const wchar_t* windowClass;
    DWORD style;
    int left, top, width, height;
    const wchar_t* caption;
    const wchar_t* hint;
};

using D = TExtSaveDialog;
const PanelControl kControls[] = {
    {D::kSubFormatId, 0, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 108, 1, 233, 120, L"",
     L"Choose your image format"},
    {D::kDepthGroupId, 0, WC_BUTTONW, BS_GROUPBOX | WS_VISIBLE, 10, 30, 250, 100, L"Color Deepness in Bits:",
     L"Choose the color deepness."},
    {D::kRadioGroupId, D::kDepthGroupId, WC_BUTTONW, BS_GROUPBOX | WS_VISIBLE, 12, 35, 230, 35, L"",
     L"Choose the color deepness."},
    {D::kQualityGroupId, 0, WC_BUTTONW, BS_GROUPBOX | WS_VISIBLE, 265, 30, 130, 100, L"JPEG Compression",
     L"Choose the JPEG compression."},
    {D::kQualityEditId, D::kQualityGroupId, WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE, 10, 20,
     70, 0, L"", nullptr},
    {D::kSliderId, D::kQualityGroupId, TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP | WS_VISIBLE, 5, 60, 110,
     20, L"", nullptr},
};

const PanelControl& Design(int id) {
    for (const PanelControl& control : kControls)
        if (control.id == id) return control;
    return kControls[0];
}

// A control's designed rectangle in the panel's coordinates.
RECT PanelRect(const PanelControl& control) {
    RECT rect{control.left, control.top, control.left + control.width, control.top + control.height};
    for (int parent = control.parent; parent != 0; parent = Design(parent).parent)
        OffsetRect(&rect, Design(parent).left, Design(parent).top);
    return rect;
}

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

TExtSaveDialog* Self(HWND window) {
    return reinterpret_cast<TExtSaveDialog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace

bool TExtSaveDialog::Execute() {
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
    ofn.lpfnHook = &TExtSaveDialog::Hook;
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
    dialog_ = panel_ = tips_ = subFormats_ = edit_ = slider_ = nullptr;
    depths_.fill(nullptr);
    return confirmed;
}

UINT_PTR CALLBACK TExtSaveDialog::Hook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
            ::SetWindowLongPtrW(dialog, GWLP_USERDATA, ofn->lCustData);
            return 0;
        }
        TExtSaveDialog* self = Self(dialog);
        if (!self) return 0;
        if (message == WM_NOTIFY) {
            auto notify = reinterpret_cast<OFNOTIFYW*>(lParam);
            if (notify->hdr.code == CDN_INITDONE) self->InitDone(dialog);
            else if (notify->hdr.code == CDN_TYPECHANGE) self->TypeChanged(static_cast<int>(notify->lpOFN->nFilterIndex));
        } else if (message == WM_DESTROY && self->tips_) {
            ::SendMessageW(self->tips_, TTM_POP, 0, 0);  // no hint outlives the dialog
        }
    } catch (...) {
        ShowCurrentException(dialog);
    }
    return 0;
}

void TExtSaveDialog::InitDone(HWND dialog) {
    dialog_ = ::GetParent(dialog);
    CreatePanel(dialog);
    if (OnShow) OnShow();
    Render();
}

void TExtSaveDialog::TypeChanged(int index) {
    state_.FilterIndex = index;
    if (OnTypeChange) OnTypeChange();
    Render();
}

// The panel sits below the standard controls' area, as wide as that area.
void TExtSaveDialog::CreatePanel(HWND dialog) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), kPanelClass, &wc)) {
        wc = {sizeof(wc)};
        wc.lpfnWndProc = &TExtSaveDialog::PanelProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kPanelClass;
        ::RegisterClassExW(&wc);
    }
    RECT area{};
    HWND placeholder = ::GetDlgItem(dialog, kStandardControlsArea);
    ::GetWindowRect(placeholder, &area);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    UINT dpi = DpiOf(dialog);
    panel_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                               area.left, area.bottom, area.right - area.left, Scale(kPanelHeight, dpi), dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPanelId)), ::GetModuleHandleW(nullptr),
                               nullptr);
    ::SetWindowLongPtrW(panel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(dialog_, WM_GETFONT, 0, 0));
    int border = Scale(2, dpi);
    auto make = [&](const PanelControl& design, const wchar_t* windowClass, DWORD style, const wchar_t* caption,
                    RECT rect, int id) {
        if (rect.bottom == rect.top) rect.bottom = rect.top + 21;  // the edit's height follows its font
        HWND control = ::CreateWindowExW(design.id == kQualityEditId ? WS_EX_CLIENTEDGE : 0, windowClass, caption,
                                         WS_CHILD | style, Scale(rect.left, dpi) + border, Scale(rect.top, dpi) + border,
                                         Scale(rect.right - rect.left, dpi), Scale(rect.bottom - rect.top, dpi),
                                         panel_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    for (const PanelControl& design : kControls) {
        HWND control = make(design, design.windowClass, design.style, design.caption, PanelRect(design), design.id);
        if (design.id == kSubFormatId) subFormats_ = control;
        if (design.id == kQualityEditId) edit_ = control;
        if (design.id == kSliderId) slider_ = control;
    }
    // The depth entries share the radio group's width in six columns.
    RECT group = PanelRect(Design(kRadioGroupId));
    int columnWidth = (group.right - group.left - 16) / kMaxDepths;
    for (int i = 0; i < kMaxDepths; ++i) {
        RECT cell{group.left + 8 + i * columnWidth, group.top + 12, group.left + 8 + (i + 1) * columnWidth - 2,
                  group.top + 29};
        depths_[static_cast<size_t>(i)] =
            make(Design(kRadioGroupId), WC_BUTTONW, BS_RADIOBUTTON | WS_TABSTOP, L"", cell, kFirstDepthId + i);
    }
    ::SendMessageW(slider_, TBM_SETRANGEMIN, FALSE, kSliderMin);
    ::SendMessageW(slider_, TBM_SETRANGEMAX, TRUE, kSliderMax);
    // The component's own show step: the captions again, the percent of the slider.
    ::SetWindowTextW(::GetDlgItem(panel_, kQualityGroupId), L"JPEG Compression");
    ::SetWindowTextW(::GetDlgItem(panel_, kDepthGroupId), L"Color Deepness in Bits:");
    Panel.QualityText = std::to_wstring(QualityPercent(Panel.SliderPosition()));
    AddHints();
}

void TExtSaveDialog::AddHints() {
    tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                              0, 0, panel_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    // A group box lets the mouse through to the panel, so its area is the tool.
    auto add = [&](HWND control, const wchar_t* hint, bool byArea) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = panel_;
        tool.lpszText = const_cast<wchar_t*>(hint);
        if (byArea) {
            tool.uFlags = TTF_SUBCLASS;
            tool.uId = static_cast<UINT_PTR>(::GetDlgCtrlID(control));
            ::GetWindowRect(control, &tool.rect);
            ::MapWindowPoints(nullptr, panel_, reinterpret_cast<POINT*>(&tool.rect), 2);
        } else {
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.uId = reinterpret_cast<UINT_PTR>(control);
        }
        ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    add(subFormats_, Design(kSubFormatId).hint, false);
    for (HWND depth : depths_) add(depth, Design(kRadioGroupId).hint, false);
    for (int group : {kRadioGroupId, kDepthGroupId, kQualityGroupId})
        add(::GetDlgItem(panel_, group), Design(group).hint, true);
}

// Shows the panel's state in its controls.
void TExtSaveDialog::Render() {
    if (!panel_) return;
    ::SendMessageW(subFormats_, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : Panel.SubFormats)
        ::SendMessageW(subFormats_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageW(subFormats_, CB_SETCURSEL, static_cast<WPARAM>(Panel.SubFormatIndex), 0);
    ::ShowWindow(subFormats_, Panel.SubFormatVisible ? SW_SHOW : SW_HIDE);
    for (int i = 0; i < kMaxDepths; ++i) {
        HWND radio = depths_[static_cast<size_t>(i)];
        bool present = i < static_cast<int>(Panel.Depths.size());
        if (present) ::SetWindowTextW(radio, std::to_wstring(Panel.Depths[static_cast<size_t>(i)]).c_str());
        ::SendMessageW(radio, BM_SETCHECK, present && i == Panel.DepthIndex ? BST_CHECKED : BST_UNCHECKED, 0);
        ::ShowWindow(radio, present ? SW_SHOW : SW_HIDE);
    }
    ::EnableWindow(edit_, Panel.QualityEnabled);
    ::EnableWindow(slider_, Panel.QualityEnabled);
    ::SendMessageW(slider_, TBM_SETPOS, TRUE, Panel.SliderPosition());
    SetEditText(Panel.QualityText);
    if (dialog_) ::SendMessageW(dialog_, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(state_.DefaultExt.c_str()));
}

void TExtSaveDialog::SetEditText(const std::wstring& text) {
    if (WindowText(edit_) == text) return;
    settingText_ = true;
    ::SetWindowTextW(edit_, text.c_str());
    settingText_ = false;
}

void TExtSaveDialog::OnPanelCommand(int id, int code) {
    if (id >= kFirstDepthId && id < kFirstDepthId + kMaxDepths && code == BN_CLICKED) {
        Panel.ClickDepth(id - kFirstDepthId);
        Render();
    } else if (id == kQualityEditId && code == EN_CHANGE && !settingText_) {
        if (Panel.EditQuality(WindowText(edit_))) SetEditText(Panel.QualityText);
        ::SendMessageW(slider_, TBM_SETPOS, TRUE, Panel.SliderPosition());
    }
}

void TExtSaveDialog::OnSlider() {
    Panel.MoveSlider(static_cast<int>(::SendMessageW(slider_, TBM_GETPOS, 0, 0)));
    SetEditText(Panel.QualityText);
}

LRESULT CALLBACK TExtSaveDialog::PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    TExtSaveDialog* self = Self(panel);
    try {
        if (self && message == WM_COMMAND) {
            self->OnPanelCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        if (self && message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == self->slider_) {
            self->OnSlider();
            return 0;
        }
    } catch (...) {
        ShowCurrentException(panel);
        return 0;
    }
    return ::DefWindowProcW(panel, message, wParam, lParam);
}

} // namespace korvan::win
