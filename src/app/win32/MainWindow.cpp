#include "app/win32/MainWindow.h"

#include "app/ToolbarArt.h"
#include "app/ToolbarKeys.h"
#include "imaging/Status.h"
#include "capture/win32/InteractiveCaptureWin32.h"
#include "platform/win32/ControlTable.h"
#include "platform/win32/Dib.h"
#include "platform/win32/MonitorWorkArea.h"
#include "platform/win32/StringTableWin32.h"
#include "platform/win32/Text.h"

#include <commctrl.h>

#include <cstring>

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TMainfrm";
constexpr int kPickHelperId = 300;
constexpr UINT kShowQueuedMessages = WM_APP + 1;
constexpr UINT kWindowPicked = WM_APP + 3;
constexpr UINT kWindowPickCancelled = WM_APP + 4;
constexpr uint16_t kPrintScreen = 0x2C;
constexpr int kLargeImage = 32, kSmallImage = 19;
constexpr int kLargeButtonWidth = 39, kLargeButtonHeight = 38;
constexpr int kSmallButtonWidth = 22, kSmallButtonHeight = 21;

HIMAGELIST AsImageList(HANDLE h) { return static_cast<HIMAGELIST>(h); }

// An image list of the toolbar pictures at the given pixel size, alpha-blended.
HANDLE MakeImageList(int pixelSize, bool disabled) {
    HIMAGELIST list = ImageList_Create(pixelSize, pixelSize, ILC_COLOR32, kToolbarImageCount, 0);
    for (int index = 0; index < kToolbarImageCount; ++index) {
        imaging::Bitmap image = ToolbarImage(index, pixelSize, disabled);
        BITMAPINFO info = win::TopDownDib(pixelSize, pixelSize, 32);
        void* bits = nullptr;
        GdiObject section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!section || !bits) continue;
        for (int y = 0; y < pixelSize; ++y)
            std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * static_cast<size_t>(pixelSize) * 4,
                        image.Row(y), static_cast<size_t>(pixelSize) * 4);
        ImageList_Add(list, static_cast<HBITMAP>(section.get()), nullptr);
    }
    return list;
}

int IndexOf(int commandId) {
    for (size_t i = 0; i < kToolButtons.size(); ++i)
        if (static_cast<int>(kToolButtons[i].command) == commandId) return static_cast<int>(i);
    return -1;
}

std::optional<ToolbarKey> ToolbarKeyOf(WPARAM key) {
    switch (key) {
    case VK_TAB: return (::GetKeyState(VK_SHIFT) & 0x8000) ? ToolbarKey::Previous : ToolbarKey::Next;
    case VK_RIGHT:
    case VK_DOWN: return ToolbarKey::Next;
    case VK_LEFT:
    case VK_UP: return ToolbarKey::Previous;
    case VK_HOME: return ToolbarKey::First;
    case VK_END: return ToolbarKey::Last;
    case VK_RETURN:
    case VK_SPACE: return ToolbarKey::Press;
    default: return std::nullopt;
    }
}

} // namespace

// Toolbar buttons show the hand pointer; the toolbar's keys go to the main window's
// focus handling.
LRESULT CALLBACK MainWindow::ToolBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
    auto window = reinterpret_cast<MainWindow*>(data);
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT point{};
            ::GetCursorPos(&point);
            ::ScreenToClient(hwnd, &point);
            if (::SendMessageW(hwnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)) >= 0) {
                ::SetCursor(::LoadCursorW(nullptr, CursorsWin32::WaitCursorActive() ? IDC_WAIT : IDC_HAND));
                return TRUE;
            }
        }
        break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        if (window->OnToolBarKey(wParam)) return 0;
        break;
    case WM_CHAR:
        if (wParam == L' ' || wParam == L'\r' || wParam == L'\t') return 0;  // handled as keys
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: window->RepaintFocusButton(); break;
    default: break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

namespace {

} // namespace

MainWindow::MainWindow(IHotKeySystem& hotKeys, HotKeyConflicts& conflicts) : conflicts_(conflicts) {
    printScreenKey_ = std::make_unique<GlobalHotKey>(hotKeys, &conflicts_);
    RegisterClassOnce(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), ProgramIcon());
    CreateWindowOf(kClassName, WS_EX_TOOLWINDOW, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                   L"Korvan Screenshot 2.3", CW_USEDEFAULT, CW_USEDEFAULT, 400, 80);
    placement_ = std::make_unique<PlacementBinding>(
        Hwnd(), Hwnd(), PlacementSetup{PlacementOption::Position, {BorderKind::ToolWindow, PositionRule::ScreenCenter}});
    CreateContents();
}

MainWindow::~MainWindow() { ProgramLanguage().Unregister(toolTexts_); }

void MainWindow::CreateContents() {
    system_ = WindowSystemWin32(ApplicationHandle());  // the task-bar window a capture restores
    for (const ToolButtonDesign& design : kToolButtons)
        toolTexts_.components.push_back({ControlKind::ToolButton, design.tag, L"", L""});
    ProgramLanguage().Register(toolTexts_);
    ApplyLanguageTables();
    UINT dpi = DpiOf(Hwnd());
    font_.reset(::CreateFontW(-Scale(10, dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                              L"MS Sans Serif"));
    CreateToolBar();
    pickHelperButton_ = ::CreateWindowExW(0, L"BUTTON", L"Helper Capture active window", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10,
                                 10, Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPickHelperId)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(pickHelperButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    interactiveCapture_ = std::make_unique<InteractiveCaptureWin32>();
    pickHelper_ = std::make_unique<PickHelperWin32>(pickHelperButton_, Hwnd(), kWindowPicked, kWindowPickCancelled);
    // An earlier run that ended while a window pick was armed left the pick cursor showing.
    CursorsWin32::RepairAfterEarlierRun();
    CursorsWin32::GuardAgainstCrash();
    AutoSize();
    CenterOnScreen();
    // Print Screen stays registered for the whole run.
    printScreenKey_->SetOnKeyDown([this](GlobalHotKey&, uint16_t, ShiftState) { PrintScreenPressed(); });
    printScreenKey_->SetHotKey(kPrintScreen);
}

void MainWindow::Connect(const MainWindowLinks& links) {
    links_.emplace(links);
    CapturePorts ports{*this,
                       links.preview,
                       links.frame,
                       links.frameArea,
                       system_,
                       clock_,
                       keyboard_,
                       cursors_,
                       automaticSaving_,
                       links.settings,
                       links.image,
                       *interactiveCapture_,
                       *pickHelper_,
                       *this};
    commands_ = std::make_unique<CaptureCommands>(ports);
    frameKeySwitch_.Connect(links.frameKeys);
    CreateSaveDialog();
}

void MainWindow::CreateSaveDialog() {
    saveDialog_ = std::make_unique<SaveDialog>(Hwnd());
    saving_ = std::make_unique<SaveCommands>(automaticSaving_, links_->image, *saveDialog_,
                                             frameKeySwitch_);
}

void MainWindow::CreateToolBar() {
    toolBar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT |
                                     TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 0, 0, 0, 0, Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SetWindowSubclass(toolBar_, ToolBarProc, 1, reinterpret_cast<DWORD_PTR>(this));
    BuildImageLists();
    std::array<TBBUTTON, kToolButtons.size()> buttons{};
    for (size_t i = 0; i < kToolButtons.size(); ++i) {
        const ToolButtonDesign& design = kToolButtons[i];
        buttons[i].iBitmap = design.imageIndex;
        buttons[i].idCommand = static_cast<int>(design.command);
        buttons[i].fsState = static_cast<BYTE>(TBSTATE_ENABLED | (design.visible ? 0 : TBSTATE_HIDDEN));
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = -1;
    }
    ::SendMessageW(toolBar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    HWND tips = reinterpret_cast<HWND>(::SendMessageW(toolBar_, TB_GETTOOLTIPS, 0, 0));
    if (tips) {
        ::SendMessageW(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintHidePauseMs);
        ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, Scale(420, DpiOf(Hwnd())));
        FollowHintSwitch(tips);
    }
}

void MainWindow::BuildImageLists() {
    UINT dpi = DpiOf(Hwnd());
    int large = Scale(kLargeImage, dpi), small = Scale(kSmallImage, dpi);
    largeImages_.reset(MakeImageList(large, false));
    largeDisabledImages_.reset(MakeImageList(large, true));
    smallImages_.reset(MakeImageList(small, false));
    smallDisabledImages_.reset(MakeImageList(small, true));
    SetSmallToolbar(smallToolbar_);
}

void MainWindow::SetSmallToolbar(bool small) {
    smallToolbar_ = small;
    UINT dpi = DpiOf(Hwnd());
    HANDLE normal = small ? smallImages_.get() : largeImages_.get();
    HANDLE disabled = small ? smallDisabledImages_.get() : largeDisabledImages_.get();
    int imageSize = Scale(small ? kSmallImage : kLargeImage, dpi);
    ::SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
    ::SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(AsImageList(normal)));
    ::SendMessageW(toolBar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(AsImageList(normal)));
    ::SendMessageW(toolBar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(AsImageList(disabled)));
    int width = Scale(small ? kSmallButtonWidth : kLargeButtonWidth, dpi);
    int height = Scale(small ? kSmallButtonHeight : kLargeButtonHeight, dpi);
    // The button size is the picture plus the padding; the padding makes up the difference.
    ::SendMessageW(toolBar_, TB_SETPADDING, 0, MAKELPARAM(width - imageSize, height - imageSize));
    ::SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
    ::SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
    AutoSize();
}

void MainWindow::AutoSize() {
    if (!toolBar_) return;
    UINT dpi = DpiOf(Hwnd());
    SIZE content{};
    ::SendMessageW(toolBar_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&content));
    int border = Scale(kInnerBorder, dpi);
    ::MoveWindow(toolBar_, border, border, content.cx, content.cy, TRUE);
    RECT frame{0, 0, content.cx + 2 * border, content.cy + 2 * border};
    ::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                               static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)), dpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::CenterOnScreen() {
    ScreenRect window = WindowRectOf(Hwnd());
    ::SetWindowPos(Hwnd(), nullptr, (::GetSystemMetrics(SM_CXSCREEN) - window.Width()) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - window.Height()) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::Left() const { return WindowRectOf(Hwnd()).left; }

int MainWindow::Width() const { return WindowRectOf(Hwnd()).Width(); }

ScreenRect MainWindow::HomeRect() const {
    ScreenRect home = WindowRectOf(Hwnd());
    if (commands_ && commands_->MovedAway) home = {commands_->SavedLeft, home.top, commands_->SavedLeft + home.Width(), home.bottom};
    return home;
}

void MainWindow::SetLeft(int left) {
    // A monitor of another DPI on the way sends its change from inside the move.
    placingAt_ = left;
    ::SetWindowPos(Hwnd(), nullptr, left, WindowRectOf(Hwnd()).top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placingAt_.reset();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    // The keys work the toolbar, whenever the window is active.
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) ::SetFocus(toolBar_);
        return 0;
    case WM_SETFOCUS: ::SetFocus(toolBar_); return 0;
    case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_DPICHANGED: OnDpiChanged(*reinterpret_cast<RECT*>(lParam)); return 0;
    case WM_SETCURSOR:
        if (CursorsWin32::WaitCursorActive()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        return Default(message, wParam, lParam);
    case WM_ACTIVATEAPP:
        if (wParam) OnProgramActivated();
        else OnProgramDeactivated();
        return 0;
    case WM_HELP: ShowHelp(); return TRUE;  // F1 opens the help window
    case WM_KEYDOWN:
        if (wParam != VK_F1) return Default(message, wParam, lParam);
        ShowHelp();
        return 0;
    case kShowQueuedMessages: ShowQueuedMessages(); return 0;
    case kWindowPicked: FinishWindowPick(); return 0;
    case kWindowPickCancelled: CancelWindowPick(); return 0;
    case WM_CLOSE:
        // Ending during a window pick: the window comes back (and is remembered there) and
        // the system cursors are put back first.
        CancelWindowPick();
        placement_->OnCloseQuery(true);
        ::DestroyWindow(Hwnd());
        return 0;
    case WM_DESTROY:
        CancelWindowPick();
        placement_->OnDestroy();
        ::PostQuitMessage(0);
        return 0;
    default: return Default(message, wParam, lParam);
    }
}

void MainWindow::OnCommand(int id) {
    switch (static_cast<Command>(id)) {
    case Command::Save: SaveImage(); break;
    case Command::Frame: CaptureFrame(); break;
    case Command::HideFrame: HideFrame(); break;
    case Command::Area: CaptureArea(); break;
    case Command::Object: CaptureObject(); break;
    case Command::Window: ArmWindowPick(); break;
    case Command::Desktop: CaptureDesktop(); break;
    case Command::Options: ShowOptions(); break;
    case Command::Help: ShowHelp(); break;
    case Command::Info: ShowInfo(); break;
    case Command::Exit: Exit(); break;
    default: break;
    }
}

LRESULT MainWindow::OnNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto info = reinterpret_cast<NMTTDISPINFOW*>(header);
        // An empty text shows no hint, also where the system ignores a switched-off tip window.
        if (int index = IndexOf(static_cast<int>(header->idFrom)); index >= 0 && HintsShown()) {
            tipText_ = HintOf(static_cast<size_t>(index));
            info->lpszText = tipText_.data();
        }
        return 0;
    }
    if (header->code == NM_CUSTOMDRAW && header->hwndFrom == toolBar_)
        return OnToolBarDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(header));
    return 0;
}

// The hint of a button, with the key that does its work as its last line.
std::wstring MainWindow::HintOf(size_t index) const {
    std::wstring hint = toolTexts_.components[index].hint;
    if (std::optional<MessageText> line = ShortcutLineOf(kToolButtons[index].command))
        hint += L"\n\n" + StringTableWin32().Text(MessageTextId(*line, ::GetSystemDefaultLangID()));
    return hint;
}

bool MainWindow::OnToolBarKey(WPARAM key) {
    if (key == VK_F1) {
        ShowHelp();
        return true;
    }
    std::optional<ToolbarKey> toolbarKey = ToolbarKeyOf(key);
    if (!toolbarKey) return false;
    keyboardCues_ = true;
    int focus = MoveToolbarFocus(focusButton_, *toolbarKey, kToolButtons);
    if (focus < 0) return true;
    RepaintFocusButton();
    focusButton_ = focus;
    RepaintFocusButton();
    if (*toolbarKey == ToolbarKey::Press) {
        // Posted, so the key's message is done before the command (a capture) runs.
        auto id = static_cast<WPARAM>(kToolButtons[static_cast<size_t>(focus)].command);
        ::PostMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(toolBar_));
    }
    return true;
}

void MainWindow::RepaintFocusButton() {
    if (focusButton_ < 0) return;
    RECT rect{};
    if (::SendMessageW(toolBar_, TB_GETITEMRECT, static_cast<WPARAM>(focusButton_), reinterpret_cast<LPARAM>(&rect)))
        ::InvalidateRect(toolBar_, &rect, TRUE);
}

// The focus mark: a frame in the colour of button texts inside the focused button, shown
// while the toolbar has the keyboard focus once a key has been used there (or always, when
// the system asks for keyboard cues).
LRESULT MainWindow::OnToolBarDraw(const NMTBCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
        BOOL cues = FALSE;
        ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
        bool focused = ::GetFocus() == toolBar_ && focusButton_ >= 0 &&
                       draw.nmcd.dwItemSpec == static_cast<DWORD_PTR>(kToolButtons[static_cast<size_t>(focusButton_)].command);
        if (focused && (keyboardCues_ || cues)) DrawFocusMark(draw.nmcd.hdc, draw.nmcd.rc);
        return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
    }
}

void MainWindow::DrawFocusMark(HDC dc, RECT button) {
    int width = std::max(2, Scale(2, DpiOf(Hwnd())));
    ::InflateRect(&button, -width / 2, -width / 2);
    GdiObject brush(::CreateSolidBrush(::GetSysColor(COLOR_BTNTEXT)));
    for (int ring = 0; ring < width; ++ring) {
        ::FrameRect(dc, &button, static_cast<HBRUSH>(brush.get()));
        ::InflateRect(&button, -1, -1);
    }
}

void MainWindow::OnDpiChanged(const RECT& suggested) {
    DpiChange change{WindowRectOf(Hwnd()),
                     {suggested.left, suggested.top, suggested.right, suggested.bottom},
                     ::GetSystemMetrics(SM_XVIRTUALSCREEN), commands_ && commands_->MovedAway, placingAt_};
    ScreenRect place = PlaceAfterDpiChange(change);
    ::SetWindowPos(Hwnd(), nullptr, place.left, place.top, place.Width(), place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    BuildImageLists();
}

void MainWindow::ShowAtStart() {
    if (placement_->Position() == PositionRule::ScreenCenter) CenterOnScreen();
    placement_->OnShow();
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::UpdateWindow(Hwnd());
}

void MainWindow::MoveOffScreen() {
    if (commands_) commands_->MoveOffScreen();
}

void MainWindow::RestoreAfterCapture() {
    if (commands_) commands_->RestoreAfterCapture();
}

void MainWindow::QueueMessage(const std::string& text) {
    messages_.push_back(text);
    ::PostMessageW(Hwnd(), kShowQueuedMessages, 0, 0);
}

void MainWindow::ShowQueuedMessages() {
    while (!messages_.empty()) {
        std::string text = messages_.front();
        messages_.pop_front();
        ::MessageBoxW(Hwnd(), Widen(text).c_str(), L"Korvan Screenshot", MB_OK | MB_ICONWARNING);
    }
}

void MainWindow::PrintScreenPressed() {
    if (commands_) commands_->PrintScreenPressed();
}

void MainWindow::RegisterPrintScreenAgain() {
    printScreenKey_->SetActive(false);
    printScreenKey_->SetActive(true);
}

// The frame keys act only while the program is the active application.
void MainWindow::OnProgramActivated() {
    if (links_) links_->frameKeys.SwitchOnIfEnabled();
}

void MainWindow::OnProgramDeactivated() {
    if (links_) links_->frameKeys.SwitchOff();
}

void MainWindow::SaveImage() { saving_->SaveImage(); }
void MainWindow::CaptureFrame() { commands_->CaptureFrame(); }
void MainWindow::HideFrame() { links_->frame.Close(); }
void MainWindow::CaptureArea() { commands_->CaptureArea(); }
void MainWindow::CaptureObject() { commands_->CaptureObject(); }
void MainWindow::ArmWindowPick() { commands_->ArmWindowPick(); }
void MainWindow::FinishWindowPick() { commands_->FinishWindowPick(); }
void MainWindow::CancelWindowPick() {
    if (commands_) commands_->CancelWindowPick();
}
void MainWindow::CaptureDesktop() { commands_->CaptureDesktop(); }
void MainWindow::ShowOptions() { links_->options.Show(); }
void MainWindow::ShowHelp() { links_->help.Show(); }
void MainWindow::ShowInfo() { links_->info.Show(); }
void MainWindow::Exit() { ::SendMessageW(Hwnd(), WM_CLOSE, 0, 0); }

} // namespace korvan::win
