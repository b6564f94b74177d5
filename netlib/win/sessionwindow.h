// The Win32 side of a protocol session: its hidden window (on which the session's stream socket
// reports), its stream client socket, its spool files and the posts to the host.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "netlib/core/sessionport.h"
#include "netlib/tern32.h"
#include "netlib/win/notifier.h"
#include "netlib/win/tlschannel.h"

namespace lx::net {

struct SessionWindowClass {
    const char* className;
    const char* title;
    UINT socketMessage;
};

extern const SessionWindowClass kSmtpWindow;
extern const SessionWindowClass kPop3Window;
extern const SessionWindowClass kPopCpwWindow;

class WinSessionPort : public SessionPort, public EventSink {
public:
    WinSessionPort(const SessionWindowClass& cls, const Notifier& host);
    ~WinSessionPort() override;

    // The session whose onEvent the hidden window calls (set once the session exists).
    template <class Session>
    void attach(Session* s) {
        target_ = s;
        dispatch_ = [](void* t, int code, std::intptr_t value) {
            static_cast<Session*>(t)->onEvent(code, value);
        };
    }

    void post(int status, std::intptr_t value) override {
        host_.post(status, static_cast<LPARAM>(value));
    }
    bool hasWindow() const override { return window_ != nullptr; }
    bool createSocket() override;
    bool connectToPort(const std::string& host, int port) override;
    bool connectToService(const std::string& host, const std::string& service) override;
    void closeSocket() override;
    bool write(const char* data, std::size_t len) override;
    int read(char* buf, std::size_t cap) override;
    int socketError() const override;
    bool startTls(const std::string& serverName) override;
    std::string tlsFailure() const override;
    // The certificate the next secured connection must present instead of one the system trusts
    // for the server's name (null: none).
    void setPin(const Sha256Digest* pin) {
        pinned_ = pin != nullptr;
        if (pin) pin_ = *pin;
    }
    bool hasPendingEvents() const override {
        return !events_.empty() || owedSent_ > 0 || !plain_.empty();
    }
    // Socket events of the session's own socket: handled in order, without re-entering the session.
    void deliver(int code, LPARAM value) override;
    void flush() override;
    std::unique_ptr<SpoolFile> createFile(const std::string& path) override;
    std::unique_ptr<SpoolFile> openFile(const std::string& path) override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void drain();
    void toSession(int code, LPARAM value);
    // One socket event on its way to the session: the TLS layer takes its own share.
    void route(int code, LPARAM value);
    // Bytes from the server while the connection is (being) secured.
    void tlsReceived();
    void tlsFailed(const std::string& reason);
    // Queues bytes on the socket; writes: how many of the session's writes its completion
    // completes (0: written by the TLS layer, so its completion is not the session's).
    bool rawWrite(const char* data, std::size_t len, int writes);
    // The session's writes held back while events are handled, sent as full records.
    void sealWrites();

    const SessionWindowClass& cls_;
    Notifier host_;
    HWND window_ = nullptr;
    TERNHANDLE socket_ = 0;
    void* target_ = nullptr;
    void (*dispatch_)(void*, int, std::intptr_t) = nullptr;
    std::deque<std::pair<int, LPARAM>> events_;
    bool draining_ = false;
    bool pumpWanted_ = false;
    std::deque<int> writeCounts_;      // every raw write not yet completed, oldest first
    int owedSent_ = 0;                 // completions of session writes still to hand to the session
    std::string held_;                 // the session's plain bytes not yet made into records
    std::deque<std::size_t> heldEnds_; // where each held write ends in held_
    std::unique_ptr<TlsChannel> tls_;
    bool secured_ = false;
    std::deque<std::string> plain_; // decrypted chunks the session has yet to read
    std::string tlsFailure_;
    bool pinned_ = false;
    Sha256Digest pin_{};
};

} // namespace lx::net
