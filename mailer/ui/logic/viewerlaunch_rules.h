// How the main program starts the viewer for one incoming message: the viewer's command line
// and how long it waits for the viewer to become idle.
#pragma once

#include <cstddef>
#include <string>

namespace lx {

constexpr char kViewerProgram[] = "LXVIEWER.EXE";
constexpr char kViewerWaitPage[] = "WAIT.HTM";
// The viewer's start-up is awaited this long from the message list, less from the search.
constexpr unsigned long kViewerIdleMillis = 6000;
constexpr unsigned long kSearchViewerIdleMillis = 3000;
// The longest command line a process can be started with (characters, without the NUL).
constexpr std::size_t kMostCommandLineChars = 32766;

// The viewer program in the installation folder.
std::string ViewerProgramPath(const std::string& installFolder);

// "<folder>\LXVIEWER.EXE /WAIT"<folder>\WAIT.HTM" /MESGNUM<n> /MESGSIZE<n> /TRASHCAN<n>".
std::string ViewerCommandLine(const std::string& installFolder, long mesgNum, long mesgSize,
                              long trashFolder);

unsigned long ViewerIdleMillis(bool fromSearch);

} // namespace lx
