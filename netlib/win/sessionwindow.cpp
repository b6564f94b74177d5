#include "netlib/win/sessionwindow.h"

#include <new>

#include "netlib/core/handletable.h"
#include "netlib/win/library.h"
#include "netlib/win/streamsocket.h"
#include "netlib/win/winfile.h"

namespace lx::net {

const SessionWindowClass kSmtpWindow{"TERN_SMTPWIND", "SMTP Message", TERN_SESSION_MSG};
const SessionWindowClass kPop3Window{"TERN_POP3WIND", "POP3 Message", TERN_SESSION_MSG};
const SessionWindowClass kPopCpwWindow{"TERN_POPCPW_WIND", "POP3 Change PassWord", TERN_POPCPW_MSG};

namespace {

bool registerClass(const SessionWindowClass& cls, WNDPROC proc) {
    WNDCLASSA wc{};
    if (GetClassInfoA(moduleInstance(), cls.className, &wc)) return true;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = moduleInstance();
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = cls.className;
    return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

TernStreamSocket* streamOf(TERNHANDLE h) {
    return static_cast<TernStreamSocket*>(handles().find(h, HandleKind::StreamSocket));
}

} // namespace

WinSessionPort::WinSessionPort(const SessionWindowClass& cls, const Notifier& host)
    : cls_(cls), host_(host) {
    if (!registerClass(cls_, windowProc)) return;
    window_ = createHiddenWindow(cls_.className, cls_.title, this);
}

WinSessionPort::~WinSessionPort() {
    closeSocket();
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK WinSessionPort::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = windowObject<WinSessionPort>(hwnd, msg, lParam);
    if (self && msg == self->cls_.socketMessage) {
        if (self->dispatch_)
            self->dispatch_(self->target_, static_cast<int>(wParam),
                            static_cast<std::intptr_t>(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool WinSessionPort::createSocket() {
    closeSocket();
    if (!library()) return false;
    // A stream client in window mode addressed to the session's window; its events reach the
    // session directly through this port.
    Notifier target = Notifier::toWindow(window_, cls_.socketMessage);
    target.sink = this;
    auto* s = new (std::nothrow) TernStreamSocket(target, TernStreamSocket::Role::Client, 0);
    if (!s) return false;
    socket_ = handles().add(s, HandleKind::StreamSocket);
    if (!socket_) {
        delete s;
        return false;
    }
    if (s->open() != 0) {
        closeSocket();
        return false;
    }
    return true;
}

void WinSessionPort::deliver(int code, LPARAM value) { events_.emplace_back(code, value); }

void WinSessionPort::flush() {
    if (!draining_) drain();
}

void WinSessionPort::drain() {
    draining_ = true;
    while (!events_.empty()) {
        const auto ev = events_.front();
        events_.pop_front();
        if (dispatch_) dispatch_(target_, ev.first, static_cast<std::intptr_t>(ev.second));
        // Once every waiting event has been handled, what the session wrote goes out, gathered
        // into as few sends as the transfer buffer allows; the completions come back as events.
        if (events_.empty() && pumpWanted_) {
            pumpWanted_ = false;
            if (TernStreamSocket* s = streamOf(socket_)) s->pumpNow();
        }
    }
    draining_ = false;
}

bool WinSessionPort::connectToPort(const std::string& host, int port) {
    return TERNStreamConnectToPort(socket_, host.c_str(), port) == 0;
}

bool WinSessionPort::connectToService(const std::string& host, const std::string& service) {
    return TERNStreamConnectToService(socket_, host.c_str(), service.c_str()) == 0;
}

void WinSessionPort::closeSocket() {
    if (socket_) TERNCloseStream(socket_);
    socket_ = 0;
    events_.clear();
}

bool WinSessionPort::write(const char* data, std::size_t len) {
    if (TERNStreamWrite(socket_, data, static_cast<int>(len)) != 0) return false;
    if (draining_) {
        pumpWanted_ = true;
    } else if (TernStreamSocket* s = streamOf(socket_)) {
        postDispatch(s->handle(), FD_WRITE); // outside an event: the dispatch window runs the pump
    }
    return true;
}

int WinSessionPort::read(char* buf, std::size_t cap) {
    TernStreamSocket* s = streamOf(socket_);
    if (!s) return -1;
    return s->takeReceived(buf, static_cast<int>(cap), nullptr);
}

int WinSessionPort::socketError() const {
    TernStreamSocket* s = streamOf(socket_);
    return s ? s->lastError() : TERN_ERR_NOSOCKET;
}

std::unique_ptr<SpoolFile> WinSessionPort::createFile(const std::string& path) {
    return openWinFile(path, true);
}
std::unique_ptr<SpoolFile> WinSessionPort::openFile(const std::string& path) {
    return openWinFile(path, false);
}

} // namespace lx::net
