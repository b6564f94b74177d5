// Starting and ending the library; the dispatch window and the socket registry.
#include "netlib/win/library.h"

#include <algorithm>

#include "netlib/tern32.h"
#include "netlib/win/netbrowse_worker.h"
#include "netlib/win/ternsocket.h"

namespace lx::net {
namespace {

TernLibrary* g_library = nullptr;
HINSTANCE g_instance = nullptr;
const char kDispatchClass[] = "TERN_WINSOCK";
// Private message of the dispatch window: close the socket in wParam now.
constexpr UINT kCloseMsg = TERN_DISPATCH_MSG + 1;

LRESULT CALLBACK dispatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TernLibrary* lib = windowObject<TernLibrary>(hwnd, msg, lParam);
    if (msg == kCloseMsg) {
        const SOCKET s = static_cast<SOCKET>(wParam);
        if (lib) {
            auto it = std::find(lib->closing.begin(), lib->closing.end(), s);
            if (it != lib->closing.end()) {
                lib->closing.erase(it);
                closesocket(s);
            }
        }
        return 0;
    }
    if (msg != TERN_DISPATCH_MSG) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (!lib) return 0;
    const SOCKET s = static_cast<SOCKET>(wParam);
    for (TernSocket* sock : lib->registry) {
        if (sock->handle() == s) {
            sock->onEvent(s, static_cast<unsigned long>(lParam));
            break;
        }
    }
    return 0;
}

bool createDispatchWindow(TernLibrary& lib) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = dispatchProc;
    wc.hInstance = g_instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kDispatchClass;
    // A class left from an earlier start of the library in this process is reused.
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    lib.dispatch = createHiddenWindow(kDispatchClass, "WinSock Message", &lib);
    return lib.dispatch != nullptr;
}

} // namespace

TernLibrary* library() { return g_library; }
HINSTANCE moduleInstance() { return g_instance; }
void setModuleInstance(HINSTANCE instance) { g_instance = instance; }

void registerSocket(TernSocket* socket) {
    if (g_library) g_library->registry.push_back(socket);
}

void unregisterSocket(TernSocket* socket) {
    if (!g_library) return;
    auto& reg = g_library->registry;
    auto it = std::find(reg.begin(), reg.end(), socket);
    if (it != reg.end()) reg.erase(it);
}

HWND createHiddenWindow(const char* className, const char* title, void* object) {
    return CreateWindowA(className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, HWND_MESSAGE, nullptr, g_instance, object);
}

bool postDispatch(SOCKET s, long event) {
    if (!g_library || !g_library->dispatch) return false;
    return PostMessageA(g_library->dispatch, TERN_DISPATCH_MSG, static_cast<WPARAM>(s), event) != 0;
}

void closeSocketLater(SOCKET s) {
    if (s == INVALID_SOCKET) return;
    TernLibrary* lib = g_library;
    if (lib && lib->dispatch) {
        WSAAsyncSelect(s, lib->dispatch, 0, 0);
        lib->closing.push_back(s);
        if (PostMessageA(lib->dispatch, kCloseMsg, static_cast<WPARAM>(s), 0)) return;
        lib->closing.pop_back();
    }
    closesocket(s);
}

} // namespace lx::net

using namespace lx::net;

extern "C" int WINAPI TERNStartWinSock(WORD version) {
    if (g_library) return 1;
    auto* lib = new (std::nothrow) TernLibrary;
    if (!lib) return 0;
    // A refused version does not fail the start: the error stays readable as the last error.
    lib->lastError = WSAStartup(version, &lib->wsa);
    lib->wsaStarted = lib->lastError == 0;
    if (!createDispatchWindow(*lib)) {
        lib->lastError = TERN_ERR_NOWINDOW;
        if (lib->wsaStarted) WSACleanup();
        delete lib;
        return 0;
    }
    g_library = lib;
    return 1;
}

extern "C" int WINAPI TERNEndWinSock(void) {
    // No network-browser worker outlives the library (the browser needs no started library).
    joinLateEnumWorkers();
    TernLibrary* lib = g_library;
    if (!lib) return 1;
    g_library = nullptr;
    if (lib->dispatch) {
        // Messages still queued for the window find no record and are ignored.
        SetWindowLongPtrA(lib->dispatch, GWLP_USERDATA, 0);
        DestroyWindow(lib->dispatch);
    }
    // The socket objects stay owned by the host; they are simply no longer dispatched.
    for (TernSocket* sock : lib->registry) sock->detachFromLibrary();
    for (SOCKET s : lib->closing) closesocket(s);
    delete lib;
    return 1;
}

extern "C" int WINAPI TERNVersion(void) { return TERN_VERSION; }
