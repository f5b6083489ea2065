// velkscope: start-up, from the command line to the end of the message loop.

#include "engine/long_path.h"
#include "engine/utf16.h"
#include "settings/settings.h"
#include "viewer/check_window/check_state_win.h"
#include "viewer/font_size.h"
#include "viewer/gdi_scope_win.h"
#include "viewer/status_text.h"
#include "viewer/viewer_arguments.h"
#include "viewer/viewer_preferences.h"
#include "viewer/viewer_state.h"
#include "viewer/window_placement.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace velk {
namespace {

constexpr int kIconResourceId = 101;
constexpr wchar_t kWindowClass[] = L"VelkscopeWnd";

struct IconTraits {
    using Handle = HICON;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

struct ArgvTraits {
    using Handle = LPWSTR*;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { LocalFree(h); }
};
using UniqueArgv = UniqueHandle<ArgvTraits>;

// The manifest declares no DPI awareness: this call is the viewer's only DPI declaration.
void declareDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto setContext = user32 ? reinterpret_cast<SetContext>(reinterpret_cast<void*>(
                                         GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
                                   : nullptr;
    if (setContext != nullptr) {
        setContext(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
    } else {
        SetProcessDPIAware();
    }
}

int screenDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

void startHashing(ViewerState& state) {
    try {
        std::thread(hashWorker, &state).detach();
        startProgressWatch(state);
    } catch (const std::system_error&) {
        state.hashFailed = true;
        state.hashError = "cannot start hashing";
        for (const HashRow& row : state.rows)
            setWindowTextUtf8(row.valueBox, "error: " + state.hashError);
        setStatus(state, hashFailureStatus(state.hashError));
    }
}

int runViewer(HINSTANCE instance) {
    declareDpiAwareness();

    ViewerArguments arguments;
    {
        int argc = 0;
        UniqueArgv argv(CommandLineToArgvW(GetCommandLineW(), &argc));
        std::vector<std::wstring> args;
        for (int i = 1; argv && i < argc; ++i)
            args.emplace_back(argv.get()[i]);
        arguments = parseViewerArguments(args);
    }
    if (arguments.kind == ViewerArguments::Kind::Usage) {
        MessageBoxW(nullptr, toUtf16(arguments.usageText).c_str(), toUtf16(kViewerCaption).c_str(),
                    MB_OK);
        return 2;
    }
    if (arguments.kind == ViewerArguments::Kind::Check)
        return runCheckWindow(instance, arguments.file);
    if (arguments.kind == ViewerArguments::Kind::Create)
        return runMakeWindow(instance, arguments.files);
    const std::wstring& path = arguments.file;
    const DWORD attributes = GetFileAttributesW(extendedLengthPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        MessageBoxW(nullptr, toUtf16(notRegularFileText(toUtf8(path))).c_str(),
                    toUtf16(kViewerCaption).c_str(), MB_ICONERROR);
        return 1;
    }

    // Never deleted: the detached worker may read it until the process ends.
    ViewerState* state = new ViewerState;
    theViewer = state;
    state->filePath = toUtf8(path);

    const Settings settings = loadSettings();
    const int dpi = screenDpi();
    const double scale = dpi / 96.0;
    state->defaultFontPx = defaultFontPxForDpi(dpi);
    const ViewerPreferences preferences = preferencesFromSettings(settings, state->defaultFontPx);
    state->fontPx = preferences.fontPx;
    state->labelAlgo = preferences.labelAlgo;
    state->labelFormat = preferences.labelFormat;
    state->themeName = preferences.themeName;
    state->computeAllMenus = preferences.computeAllMenus;
    state->fontPxSaving = preferences.fontPxSaving;

    UniqueIcon largeIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResourceId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    UniqueIcon smallIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResourceId),
                                                       IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), 0)));

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = viewerWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = largeIcon.get();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    // Sent once the taskbar has made the window's button; its progress can be set from then.
    state->taskbarButtonCreated = RegisterWindowMessageW(L"TaskbarButtonCreated");

    const int others = registerViewerWindow();
    state->isFirstViewerWindow = others == 0;
    const WindowRect place = computeInitialPlacement(settings, others, scale);

    // The window procedure stores the handle in mainWindow as soon as the window exists,
    // so that the messages sent during creation can already start timers on it.
    HWND window =
        CreateWindowExW(0, kWindowClass, toUtf16(kViewerCaption).c_str(),
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VSCROLL, place.x, place.y,
                        place.width, place.height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        unregisterViewerWindow();
        return 3;
    }
    state->mainWindow = window;
    // An elevated viewer would otherwise never hear from the taskbar of the ordinary user.
    if (state->taskbarButtonCreated != 0)
        ChangeWindowMessageFilterEx(window, state->taskbarButtonCreated, MSGFLT_ALLOW, nullptr);
    if (largeIcon)
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon.get()));
    if (smallIcon)
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));

    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    createControls(*state);
    rebuildFonts(*state);
    applyTheme(*state);
    refreshPreview(*state);
    // Restoring a window that starts maximised gives the rectangle it was created with.
    ShowWindow(window, startsMaximised(settings) ? SW_SHOWMAXIMIZED : SW_SHOW);
    layoutViewer(*state);
    state->minimumSizeActive = true;
    // A file dropped on the window is compared with the one shown.
    DragAcceptFiles(window, TRUE);

    startHashing(*state);
    if (arguments.kind == ViewerArguments::Kind::Compare)
        startCompare(*state, toUtf8(arguments.other));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The wheel scrolls the whole page wherever the pointer is.
        if (message.message == WM_MOUSEWHEEL && IsChild(state->mainWindow, message.hwnd)) {
            message.hwnd = state->mainWindow;
        }
        // Font keys, Tab and the like act whichever control has the focus, so they are taken
        // before the dialog-style handling and the control see them.
        if (message.message == WM_KEYDOWN &&
            (message.hwnd == state->mainWindow || IsChild(state->mainWindow, message.hwnd)) &&
            handleViewerKey(*state, message.hwnd, message.wParam)) {
            continue;
        }
        if (!IsDialogMessageW(state->mainWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

} // namespace
} // namespace velk

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The hashing worker may still be reading the file. ExitProcess stops it before any
    // static object of the program is torn down, which a plain return would not.
    ExitProcess(static_cast<UINT>(velk::runViewer(instance)));
}
