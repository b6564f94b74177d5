// The composer made in-process under Wine: the runner's store with the special folders, the
// program's catalogue, a fresh installation folder with a signature file, a test registry key,
// a stand-in for the message list pane that counts its reloads, and the plugged commands.
#pragma once
#include "common/settings/mailbox_record.h"
#include "mailer/ui/composer.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/sendmesg.h"
#include "tests/startup/uitest.h"
#include "tests/store/store_fixture.h"
#include "spellcheck/ssced.h"

#include <memory>
#include <string>
#include <vector>

namespace lx {
class CMainFrame;
}

namespace lxtest {

constexpr char kComposerTestKey[] = "Software\\Quorbit\\LorvexComposerTest";

// Answers the file-open dialogs with the queued paths, one per dialog.
class ComposerHook : public ScriptedHook {
public:
    std::vector<std::string> files;
    // The font dialog: its answer, and the face it chose.
    bool chooseFont = false;
    BOOL OnCommonDialog(lx::ui::CommonDialog kind, void* data) override;
};

// The message list pane's stand-in: it counts the reloads a composer asks for.
class PaneStandIn : public lx::Window {
public:
    PaneStandIn();
    int reloads = 0;
};

// What the composers plugged into a real main window work with.
lx::ComposerContext ComposerContextOver(lx::CMainFrame& frame, const std::string& folder,
                                        lx::MessageCatalog* catalog, odbcvantConnection& conn,
                                        const lx::MailboxList& mailboxes);

// Pumps messages until `condition` holds, at most about 10 seconds; true when it held.
bool PumpUntil(const std::function<bool()>& condition);

class ComposerTest : public StoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a composer through the plugged command; the new frame, or nullptr.
    lx::EditorFrame* NewComposer(const std::string& commandLine = "");
    lx::EditorFrame* OpenStored(long mesgNum, int flag = 0);
    lx::EditorFrame* Newest() const;
    static HWND FormOf(lx::EditorFrame* frame) { return frame->Form()->Handle(); }
    static void SetText(HWND form, int id, const std::string& text);
    static void Click(HWND form, int id);
    // Waits until the frame's window has gone.
    static bool WaitClosed(lx::EditorFrame* frame);
    std::string Text(const char* key) const;
    long Folder(const char* name);
    long Count(const std::string& sqlWhere);
    // A file of a few bytes in the installation folder; its path.
    std::string MakeFile(const std::string& name);
    // Stores an outgoing message in `folderNum` as the composer would.
    long StoreOutgoing(long folderNum, const std::string& subject,
                       const std::vector<std::string>& to, const std::vector<std::string>& cc,
                       const std::vector<std::string>& files);

    static lx::MessageCatalog& Catalogue();
    std::string folder;
    lx::MailboxList mailboxes{};
    lx::CommandPlugs plugs;
    std::unique_ptr<ComposerHook> hook;
    std::unique_ptr<PaneStandIn> pane;
    lx::SpellChecker spell; // loaded by the tests that check spelling
    std::unique_ptr<lx::ComposerSet> composers;
    std::vector<long> viewerAsked;          // messages handed to the viewer hook
    std::vector<std::string> sendArguments; // the Send Mail plug's arguments
    long out = -1, sent = -1, trash = -1, keep = -1;
};

} // namespace lxtest
