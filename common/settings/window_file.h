// Window placement files: Lorvex.WND (main window and the message list's column cells),
// LXEditor.WND and LXViewer.WND (one rectangle each).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

constexpr char kMainWindowFile[] = "Lorvex.WND";
constexpr char kEditorWindowFile[] = "LXEditor.WND";
constexpr char kViewerWindowFile[] = "LXViewer.WND";
constexpr std::size_t kRectSize = 16;
constexpr std::size_t kMainWindowFileSize = 80;
constexpr int kListColumns = 4;
constexpr std::int32_t kMaximisedLeft = -1;

struct Rect32 {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

inline bool operator==(const Rect32& a, const Rect32& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect32& a, const Rect32& b) { return !(a == b); }

struct MainWindowPlacement {
    Rect32 frame;                               // screen coordinates; left -1 = maximised
    std::array<Rect32, kListColumns> columns{}; // the message list's column header cells
    bool hasColumns = false;                    // true only when all four cells were read
};

// image must hold kRectSize bytes.
void EncodeRect(const Rect32& r, std::uint8_t* image);
Rect32 DecodeRect(const std::uint8_t* image);

// The rectangle stored for the main window at exit: maximised gives left edge -1, minimised the
// fixed rectangle (10, 10, 300, 120), otherwise the window's own.
Rect32 MainWindowRectToStore(const Rect32& actual, bool maximised, bool minimised);
inline bool IsMaximisedPlacement(const Rect32& stored) { return stored.left == kMaximisedLeft; }

// False when the file is missing or shorter than its first rectangle.
bool ReadMainWindowFile(const std::string& folder, MainWindowPlacement& placement);
// Writes all 80 bytes (cells left zero unless hasColumns).
bool WriteMainWindowFile(const std::string& folder, const MainWindowPlacement& placement);

// One-rectangle files; false when missing or shorter than 16 bytes.
bool ReadWindowRectFile(const std::string& folder, const char* name, Rect32& rect);
bool WriteWindowRectFile(const std::string& folder, const char* name, const Rect32& rect);

// The composer's place when LXEditor.WND is missing: (50, 50), 500 x 360.
Rect32 DefaultEditorRect();

} // namespace lx
