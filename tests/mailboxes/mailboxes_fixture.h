// Mailbox set-up run in-process inside a main frame on the runner's store: the Mailbox Setup
// command plugged in as the program plugs it, and a script that drives the dialogs one step
// after another, each step once the one before has been handled.
#pragma once
#include "tests/frame/frame_fixture.h"
#include "mailer/transfer/mboxlist.h"
#include "common/settings/mailbox_record.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lxtest {

// Steps run one after another from whatever message loop runs: a step runs only after every
// message the step before it posted (a button press, a dialog that opened) has been handled.
class Script {
public:
    Script& Do(std::function<void()> step);
    // A step that waits (bounded) until `done` holds; a wait that runs out fails the test.
    Script& WaitFor(std::function<bool()> done, const char* what, DWORD millis = 15000);
    void Start();
    bool Finished() const { return next_ >= steps_.size(); }

private:
    void RunNext();
    Later later_;
    std::vector<std::function<bool()>> steps_; // false: run the step again
    size_t next_ = 0;
};

class MailboxSetupTest : public FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the Mailbox Setup command: `script` starts once the list has opened.
    void RunSetup(Script& script);
    // The handle of the last dialog of this resource that opened.
    HWND Open(int resourceId) const;
    // Pushes a button of the dialog of `resourceId`.
    void Push(int resourceId, int button) const;
    void SetItem(int resourceId, int id, const std::string& text) const;
    void Tick(int resourceId, int id, bool checked) const;
    std::string Item(int resourceId, int id) const;
    // The entries of a list box or drop-down list, and the selected index.
    std::vector<std::string> Entries(int resourceId, int id) const;
    int Selection(int resourceId, int id) const;
    void SelectEntry(int resourceId, int id, int index) const;
    bool Visible(int resourceId, int id) const;

    // The list as MAILBOXX.STP holds it now.
    lx::MailboxList StoredList() const;
    bool MailboxFileExists() const;
    // The current-mailbox values of the registry.
    static std::string RegistryString(const char* name);
    static std::int32_t RegistryDword(const char* name);
    std::vector<std::string> BoxTexts() const;

    lx::MailboxSetupContext context;
    std::map<int, HWND> opened;
};

// A record of the test's own: servers from `name`, password "secret" stored scrambled.
lx::MailboxRecord Record(const std::string& name);
// The stored form of a password.
std::string Scrambled(const char* plain);

} // namespace lxtest
