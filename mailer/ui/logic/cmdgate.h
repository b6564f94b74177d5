// The command gate: one process-wide counter that lets user commands and the automatic mail
// check take turns. Portable, so its rules are unit-tested natively.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace lx {

class CommandGate {
public:
    CommandGate();
    ~CommandGate();
    CommandGate(const CommandGate&) = delete;
    CommandGate& operator=(const CommandGate&) = delete;

    // The program's one gate.
    static CommandGate& Instance();

    // Increments the counter; returns the value it had before. A command body runs only when
    // that value was 0 or more. Every Enter is matched by one Leave, whatever it returned.
    std::int16_t Enter();
    void Leave();
    // The automatic mail check closes the gate (counter -100) when it finds it at 0 or below;
    // false when a command or a composer holds it, and the check must wait.
    bool CloseForCheck();
    // The check's cycle ended: the gate is open again. Its closing is lifted (counter 0 plus
    // whatever commands hold the gate now, so their Leave balances); a gate the check did not
    // close is left as it is, so a reset arriving while a command runs cannot drive the
    // counter below 0 and lock every later command out.
    void Reopen();
    std::int16_t Value() const;

    static constexpr std::int16_t kClosedByCheck = -100;

private:
    struct Lock;
    std::unique_ptr<Lock> lock_;
    std::int16_t counter_ = 0;
    bool closedByCheck_ = false;
};

// Holds the gate for its own life: command handlers, and each composer window for its whole
// life. Open() tells whether the body may run.
class GateScope {
public:
    explicit GateScope(CommandGate& gate = CommandGate::Instance())
        : gate_(gate), open_(gate.Enter() >= 0) {}
    ~GateScope() { gate_.Leave(); }
    GateScope(const GateScope&) = delete;
    GateScope& operator=(const GateScope&) = delete;
    bool Open() const { return open_; }

private:
    CommandGate& gate_;
    bool open_;
};

// Runs the frame's commands. Panes nest their own gated actions inside a frame command (Empty
// _TRASHCAN runs the list's Delete), so the counter alone lets a nested Enter through; a
// second top-level command that arrives while one runs (dispatched from the first one's modal
// loop) must do nothing, which this runner ensures with its busy mark.
class CommandRunner {
public:
    explicit CommandRunner(CommandGate& gate = CommandGate::Instance()) : gate_(gate) {}
    // True when the body ran.
    bool RunGated(const std::function<void()>& body);
    // Commands marked as running without the gate (help, printer fonts) still refuse to nest
    // into another command.
    bool RunUngated(const std::function<void()>& body);
    bool Busy() const { return busy_; }

private:
    CommandGate& gate_;
    bool busy_ = false;
};

} // namespace lx
