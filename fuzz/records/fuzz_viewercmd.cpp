// libFuzzer target: what the viewer reads from outside itself apart from the store: its command
// line, the links a page makes it follow and the favourites' shortcut files and names. The
// command line the main program writes for any installation folder and numbers reads back as
// written.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <cstdint>
#include <string>

#include "fuzz/common/fuzzutil.h"
#include "mailer/ui/logic/viewerlaunch_rules.h"
#include "viewer/core/cmdline.h"
#include "viewer/core/favorites.h"
#include "viewer/core/msgrecord.h"
#include "viewer/core/viewerrequest.h"

namespace {

namespace v = lx::viewer;

void AnyCommandLine(const std::string& line) {
    const v::ViewerCommandLine c = v::ParseViewerCommandLine(line);
    FUZZ_CHECK(c.waitPage.size() <= v::kMaxWaitPathLength);
    FUZZ_CHECK(c.waitPage.find('"') == std::string::npos);
    if (!c.browseMode)
        FUZZ_CHECK(c.mesgSize >= v::kMinMessageBufferSize &&
                   c.mesgSize <= v::kMaxMessageBufferSize);
    if (v::CheckViewerCommandLine(line, c) == v::CommandLineVerdict::Usable) {
        FUZZ_CHECK(!c.waitPage.empty());
        FUZZ_CHECK(c.browseMode || (c.mesgNum >= 1 && c.trashCan >= 1));
    }
}

// The switches after the program's path, as the viewer's WinMain receives them.
void LaunchedCommandLine(FuzzedDataProvider& in) {
    std::string folder = in.ConsumeRandomLengthString(120);
    // A Windows path holds no double quote; the folder is never empty.
    for (char& c : folder)
        if (c == '"' || c == '\0') c = '_';
    if (folder.empty()) folder = "C:\\LORVEX";
    const long mesgNum = in.ConsumeIntegralInRange<long>(1, 0x7fffffff);
    const long mesgSize = in.ConsumeIntegralInRange<long>(0, 0x7fffffff);
    const long trash = in.ConsumeIntegralInRange<long>(1, 0x7fffffff);
    const std::string full = lx::ViewerCommandLine(folder, mesgNum, mesgSize, trash);
    const std::string program = lx::ViewerProgramPath(folder);
    FUZZ_CHECK(full.compare(0, program.size(), program) == 0);
    const std::string line = full.substr(program.size() + 1);
    const v::ViewerCommandLine c = v::ParseViewerCommandLine(line);
    FUZZ_CHECK(v::CheckViewerCommandLine(line, c) == v::CommandLineVerdict::Usable ||
               c.waitPage.empty());
    if (c.waitPage.empty()) return; // a folder too long for a path
    FUZZ_CHECK(!c.browseMode);
    FUZZ_CHECK(c.mesgNum == mesgNum && c.trashCan == trash);
    FUZZ_CHECK(c.waitPage.compare(0, folder.size(), folder) == 0);
}

// The names Windows keeps for devices, whatever extension follows them.
bool DeviceName(const std::string& fileName) {
    static const std::set<std::string> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    std::string base = fileName.substr(0, fileName.find('.'));
    base.erase(base.find_last_not_of(' ') + 1);
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return kDevices.count(base) > 0;
}

void Links(FuzzedDataProvider& in) {
    const std::string url = in.ConsumeRandomLengthString(500);
    for (bool webBrowser : {true, false}) {
        const std::string address = v::MailToAddress(url, webBrowser);
        FUZZ_CHECK(address.size() <= url.size());
        v::AttachmentList attachments;
        v::AddAttachment(attachments, "C:\\LORVEX\\DATA\\A.TXT");
        v::AddAttachment(attachments, url);
        const int slot = v::AttachmentForLink(url, webBrowser, attachments);
        FUZZ_CHECK(slot >= -1 && slot < attachments.count);
        const std::string name = v::ShortcutFileName(url, webBrowser);
        FUZZ_CHECK(name.size() >= 5 && name.compare(name.size() - 4, 4, ".URL") == 0);
        const std::string base = name.substr(0, name.size() - 4);
        for (char c : base)
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 32 &&
                       std::string("\\/:*?\"<>|").find(c) == std::string::npos);
        // The favourite must be a file: a page named like a device would write to the device.
        FUZZ_CHECK(!DeviceName(name));
        // And it must fit a file name on the disk.
        FUZZ_CHECK(name.size() <= 255);
    }
    // A shortcut file written for a URL gives the URL back (up to a CR inside it).
    const std::string text = v::InternetShortcutText(url);
    FUZZ_CHECK(v::ShortcutUrl(text) == url.substr(0, url.find('\r')) ||
               url.find("URL=") != std::string::npos);
    v::ShortcutUrl(url);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AnyCommandLine(std::string(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider in(data, size);
    LaunchedCommandLine(in);
    Links(in);
    return 0;
}
