// The main window made in-process with its composers plugged and the real viewer launch, the
// test thread owning Lorvex_Mutex as the program's interface thread does, and the fake viewer
// program at hand to be installed as LXVIEWER.EXE.
#pragma once
#include "common/win/handles.h"
#include "mailer/ui/composer.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/viewerlaunch.h"
#include "tests/frame/frame_fixture.h"

#include <memory>
#include <string>
#include <vector>

namespace lxtest {

class LaunchTest : public FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    lx::MessageListPane* List() const;
    lx::ViewerLaunchContext ViewerContext() const;
    // Puts the fake viewer into the installation folder as LXVIEWER.EXE, acting as `mode`.
    void InstallFakeViewer(const char* mode);
    // The fake viewer's record: its command line, its verdict, the message number it read; empty
    // when it wrote none.
    std::vector<std::string> ViewerRecord() const;
    // Whether the test thread owns Lorvex_Mutex (another thread cannot take it).
    bool MutexOwnedHere() const;
    // An incoming message in _IN, listed; its MesgNum.
    long ListIncoming(const std::string& subject);
    // The row's icon flags field.
    std::string RowFlags(int row) const;
    // Writes `bytes` as one mailslot message; false when the slot is missing or short-written.
    static bool WriteRecord(const std::vector<std::uint8_t>& bytes);

    lx::UniqueHandle mutex;
    std::unique_ptr<lx::ComposerSet> composers;
};

} // namespace lxtest
