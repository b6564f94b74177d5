// The viewer's command line, as the main program writes it:
//   LXVIEWER.EXE /WAIT"path of WAIT.HTM" /MESGNUM n /MESGSIZE n /TRASHCAN n
// or, in browse mode, /VIEWMASTER with a /WAIT page that is then the home page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lx::viewer {

// Marks a number that is not given because the viewer runs in browse mode.
constexpr std::int32_t kBrowseModeNumber = -13;
// Marks a switch that is absent.
constexpr std::int32_t kMissingNumber = -1;
// The mail-data buffer is never smaller than this.
constexpr std::int32_t kMinMessageBufferSize = 8192;
// Nor larger: a size the store cannot hold would only make the allocation fail (or wrap).
constexpr std::int32_t kMaxMessageBufferSize = 64 * 1024 * 1024;
// The wait page is a file path; longer texts are not a usable path.
constexpr std::size_t kMaxWaitPathLength = 259;

struct ViewerCommandLine {
    std::string waitPage;    // empty when absent, unterminated or too long
    bool browseMode = false; // VIEWMASTER given
    std::int32_t mesgNum = kBrowseModeNumber;
    std::int32_t mesgSize = kMissingNumber; // -1 in browse mode
    std::int32_t trashCan = kBrowseModeNumber;
};

enum class CommandLineVerdict {
    Usable,
    Empty,            // nothing on the command line
    NoWaitPage,       // WAIT missing, without its closing quote, or too long
    BadMessageNumber, // MESGNUM missing, not a number or not above 0
    BadTrashNumber    // TRASHCAN missing, not a number or not above 0
};

// Reads the switches. Keywords are matched case-sensitively outside double-quoted text (so a
// quoted path never supplies a switch); a keyword written with its slash is preferred to a bare
// one. A number that is missing, malformed or outside the 32-bit range reads as 0.
ViewerCommandLine ParseViewerCommandLine(std::string_view line);

// Whether the viewer may go on: a wait page, and message and trash numbers above 0 (or both in
// browse mode). Anything else means the About box and exit.
CommandLineVerdict CheckViewerCommandLine(std::string_view line, const ViewerCommandLine& parsed);

// True when the viewer shows a stored message (message mode): a message number of at least 1.
inline bool IsMessageMode(const ViewerCommandLine& c) { return c.mesgNum >= 1; }

} // namespace lx::viewer
