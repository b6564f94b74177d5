#include "netlib/win/sessionwindow.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "netlib/core/handletable.h"
#include "netlib/core/replybuffer.h"
#include "netlib/core/tlstext.h"
#include "netlib/win/library.h"
#include "netlib/win/streamsocket.h"
#include "netlib/win/winfile.h"

namespace lx::net {

const SessionWindowClass kSmtpWindow{"TERN_SMTPWIND", "SMTP Message", TERN_SESSION_MSG};
const SessionWindowClass kPop3Window{"TERN_POP3WIND", "POP3 Message", TERN_SESSION_MSG};
const SessionWindowClass kPopCpwWindow{"TERN_POPCPW_WIND", "POP3 Change PassWord", TERN_POPCPW_MSG};

namespace {

// Room for the handshake's messages and whole records: the default transfer buffer would cut them.
constexpr int kTlsBuffer = 40 * 1024;

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
    while (!events_.empty() || owedSent_ > 0 || !held_.empty()) {
        if (owedSent_ > 0) {
            // One record carried several of the session's writes: each gets its completion.
            --owedSent_;
            toSession(TERN_STREAM_SENT, 0);
        } else if (!events_.empty()) {
            const auto ev = events_.front();
            events_.pop_front();
            route(ev.first, ev.second);
        }
        // Once every waiting event has been handled, what the session wrote goes out, gathered
        // into as few records and sends as the transfer buffer allows; the completions come
        // back as events.
        if (events_.empty() && owedSent_ == 0) {
            sealWrites();
            if (pumpWanted_) {
                pumpWanted_ = false;
                if (TernStreamSocket* s = streamOf(socket_)) s->pumpNow();
            }
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
    writeCounts_.clear();
    owedSent_ = 0;
    held_.clear();
    heldEnds_.clear();
    tls_.reset();
    secured_ = false;
    plain_.clear();
}

void WinSessionPort::toSession(int code, LPARAM value) {
    if (dispatch_) dispatch_(target_, code, static_cast<std::intptr_t>(value));
}

void WinSessionPort::route(int code, LPARAM value) {
    switch (code) {
    case TERN_STREAM_SENT:
    case TERN_STREAM_SENDFAIL: {
        const int writes = writeCounts_.empty() ? 1 : writeCounts_.front();
        if (!writeCounts_.empty()) writeCounts_.pop_front();
        if (code == TERN_STREAM_SENT) {
            if (writes == 0) return;
            owedSent_ += writes - 1;
        }
        break;
    }
    case TERN_STREAM_DATA:
        if (tls_) return tlsReceived();
        break;
    case TERN_STREAM_CLOSE:
        if (tls_ && !secured_)
            return tlsFailed(
                tlsFailureText("the server closed the connection during the handshake"));
        break;
    default: break;
    }
    toSession(code, value);
}

bool WinSessionPort::startTls(const std::string& serverName) {
    TernStreamSocket* s = streamOf(socket_);
    if (!s || !s->growBuffer(kTlsBuffer)) {
        tlsFailure_ = tlsFailureText("no memory for the TLS layer");
        return false;
    }
    tls_ = std::make_unique<TlsChannel>(serverName, pinned_ ? &pin_ : nullptr);
    secured_ = false;
    plain_.clear();
    std::string hello;
    if (!tls_->begin(hello)) {
        tlsFailure_ = tls_->failure();
        tls_.reset();
        return false;
    }
    return rawWrite(hello.data(), hello.size(), 0);
}

std::string WinSessionPort::tlsFailure() const {
    return tlsFailure_.empty() ? SessionPort::tlsFailure() : tlsFailure_;
}

void WinSessionPort::tlsFailed(const std::string& reason) {
    tlsFailure_ = reason;
    toSession(TERN_STREAM_INSECURE, 0);
}

void WinSessionPort::tlsReceived() {
    TernStreamSocket* s = streamOf(socket_);
    if (!s) return;
    std::vector<char> raw(static_cast<std::size_t>(s->bufferSize()));
    const int n = s->takeReceived(raw.data(), static_cast<int>(raw.size()), nullptr);
    if (n <= 0) return;
    std::size_t len = static_cast<std::size_t>(n);
    std::string out;
    if (!secured_) {
        const TlsChannel::Step step = tls_->handshake(raw.data(), len, out);
        if (!out.empty()) rawWrite(out.data(), out.size(), 0);
        if (step == TlsChannel::Step::Failed) return tlsFailed(tls_->failure());
        if (step == TlsChannel::Step::More) return;
        secured_ = true;
        toSession(TERN_STREAM_SECURED, 0);
        if (!tls_) return; // the session let go of the connection
        out.clear();
        len = 0; // what came with the handshake's last message is decrypted below
    }
    std::string plain;
    bool closed = false;
    const bool ok = tls_->decrypt(raw.data(), len, plain, out, closed);
    if (!out.empty()) rawWrite(out.data(), out.size(), 0);
    if (!ok) return tlsFailed(tls_->failure());
    // The session reads chunks of the size it reads from a socket. All are queued before the
    // first is announced, so that while more wait the session leaves its progress report to the
    // last (one post to the host per chunk made a secured retrieval twice as slow under Wine).
    const std::size_t chunk = ReplyBuffer::kCapacity;
    for (std::size_t at = 0; at < plain.size(); at += chunk)
        plain_.push_back(plain.substr(at, chunk));
    for (std::size_t at = 0; at < plain.size() && tls_; at += chunk)
        toSession(TERN_STREAM_DATA, static_cast<LPARAM>(std::min(chunk, plain.size() - at)));
}

bool WinSessionPort::write(const char* data, std::size_t len) {
    if (!tls_) return rawWrite(data, len, 1);
    if (!secured_) return false;
    if (draining_) {
        // Held until the events in hand are handled: a message's short lines, each its own
        // record, would cost a record's framing and an encryption call each.
        held_.append(data, len);
        heldEnds_.push_back(held_.size());
        return true;
    }
    std::string record;
    if (!tls_->encrypt(data, len, record)) return false;
    return rawWrite(record.data(), record.size(), 1);
}

void WinSessionPort::sealWrites() {
    if (held_.empty()) return;
    std::string record;
    for (std::size_t at = 0; at < held_.size() && tls_;) {
        const std::size_t len = std::min(tls_->maxWrite(), held_.size() - at);
        record.clear();
        if (!tls_->encrypt(held_.data() + at, len, record)) {
            held_.clear();
            heldEnds_.clear();
            return tlsFailed(tls_->failure());
        }
        at += len;
        // A write completes with the record that carries its last byte.
        int writes = 0;
        for (; !heldEnds_.empty() && heldEnds_.front() <= at; heldEnds_.pop_front()) ++writes;
        if (!rawWrite(record.data(), record.size(), writes)) {
            held_.clear();
            heldEnds_.clear();
            return toSession(TERN_STREAM_SENDFAIL, 0);
        }
    }
    held_.clear();
    heldEnds_.clear();
}

bool WinSessionPort::rawWrite(const char* data, std::size_t len, int writes) {
    if (TERNStreamWrite(socket_, data, static_cast<int>(len)) != 0) return false;
    writeCounts_.push_back(writes);
    if (draining_) {
        pumpWanted_ = true;
    } else if (TernStreamSocket* s = streamOf(socket_)) {
        postDispatch(s->handle(), FD_WRITE); // outside an event: the dispatch window runs the pump
    }
    return true;
}

int WinSessionPort::read(char* buf, std::size_t cap) {
    if (tls_) {
        if (plain_.empty()) return -1;
        const std::string c = std::move(plain_.front());
        plain_.pop_front();
        const std::size_t n = c.size() < cap ? c.size() : cap;
        std::memcpy(buf, c.data(), n);
        return static_cast<int>(n);
    }
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
