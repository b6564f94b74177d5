// How the folder pane and the message list work together: the one wiring the splitter uses
// and the pane tests drive, so both see the same behaviour.
#pragma once
#include <functional>
#include <vector>

namespace lx {
class FolderPane;
class MessageListPane;

// What the wired panes report outward; an empty function is not called.
struct PaneReports {
    std::function<void(long folderNum)> folderSelected; // after the list has loaded it
    std::function<void(long count)> count;
    std::function<void(long mesgNum, int flag)> open;
    std::function<void(const std::vector<long>& mesgNums)> print;
};

// A selected folder loads the list, Tab moves to the list, emptying the trash deletes every
// listed message; the list's count, open and print requests go to `reports`.
void WirePanes(FolderPane& folder, MessageListPane& list, PaneReports reports);

} // namespace lx
