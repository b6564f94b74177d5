// The splitter's two panes behind one small surface: the one place that knows the pane
// classes, so the splitter and the frame stay the same whatever the panes offer.
#pragma once
#include "mailer/ui/mainspli.h"
#include <windows.h>

namespace lx {

struct MailboxSplitter::PaneSet {
    PaneSet();
    ~PaneSet();
    bool Create(HWND splitter, const SplitterContext& inputs);
    void Destroy();
    HWND FolderWindow() const;
    HWND MessageWindow() const;

    void Run(PaneAction action);
    void NewComposer(const char* commandLine);
    // The list draws its columns where the header shows them.
    void SetColumns(const ListColumns& columns);
    // The widest date the list shows, in pixels of its font.
    int DateTextWidth() const;

    struct Impl;
    Impl* impl;
    const CommandPlugs* plugs = nullptr;
};

} // namespace lx
