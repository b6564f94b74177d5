#include "mailer/ui/logic/viewerlaunch_rules.h"

namespace lx {

namespace {

// The viewer is a Windows program: its paths take a backslash on every build.
std::string InFolder(const std::string& folder, const char* name) {
    return folder + (!folder.empty() && folder.back() == '\\' ? "" : "\\") + name;
}

} // namespace

std::string ViewerProgramPath(const std::string& installFolder) {
    return InFolder(installFolder, kViewerProgram);
}

std::string ViewerCommandLine(const std::string& installFolder, long mesgNum, long mesgSize,
                              long trashFolder) {
    return ViewerProgramPath(installFolder) + " /WAIT\"" +
           InFolder(installFolder, kViewerWaitPage) + "\" /MESGNUM" + std::to_string(mesgNum) +
           " /MESGSIZE" + std::to_string(mesgSize) + " /TRASHCAN" + std::to_string(trashFolder);
}

unsigned long ViewerIdleMillis(bool fromSearch) {
    return fromSearch ? kSearchViewerIdleMillis : kViewerIdleMillis;
}

} // namespace lx
