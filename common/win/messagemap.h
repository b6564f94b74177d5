// Message-map dispatch shared by windows and dialogs: handlers are registered per window
// message and per command id, the window procedure looks them up.
#pragma once
#include <windows.h>
#include <functional>
#include <unordered_map>

namespace lx {

class MessageMap {
public:
    using Handler = std::function<LRESULT(WPARAM, LPARAM)>;
    // Command handlers get the notification code and the control window (menus: 0, nullptr).
    using CommandHandler = std::function<void(int code, HWND control)>;

    void On(UINT message, Handler handler) { messages_[message] = std::move(handler); }
    void OnCommand(int id, CommandHandler handler) { commands_[id] = std::move(handler); }
    bool HasCommand(int id) const { return commands_.count(id) != 0; }

    // True when a handler took the message; `result` then holds its answer.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
        if (message == WM_COMMAND) {
            auto c = commands_.find(LOWORD(wParam));
            if (c != commands_.end()) {
                c->second(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
                *result = 0;
                return true;
            }
        }
        auto m = messages_.find(message);
        if (m == messages_.end()) return false;
        *result = m->second(wParam, lParam);
        return true;
    }

private:
    std::unordered_map<UINT, Handler> messages_;
    std::unordered_map<int, CommandHandler> commands_;
};

} // namespace lx
