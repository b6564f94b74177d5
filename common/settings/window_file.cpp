#include "common/settings/window_file.h"

#include "common/settings/file_io.h"
#include "common/settings/install_path.h"
#include "common/settings/le_codec.h"

namespace lx {

namespace {
struct RectFields {
    template <class Codec, class Rect>
    static void Each(Codec& c, Rect& r) {
        c.Field(r.left);
        c.Field(r.top);
        c.Field(r.right);
        c.Field(r.bottom);
    }
};
} // namespace

void EncodeRect(const Rect32& r, std::uint8_t* image) {
    EncodeFields<RectFields>(r, image, kRectSize);
}

Rect32 DecodeRect(const std::uint8_t* image) {
    return DecodeFields<RectFields, Rect32>(image, kRectSize);
}

Rect32 MainWindowRectToStore(const Rect32& actual, bool maximised, bool minimised) {
    Rect32 r = actual;
    if (maximised) {
        r.left = kMaximisedLeft;
    } else if (minimised) {
        r = Rect32{10, 10, 300, 120};
    }
    return r;
}

bool ReadMainWindowFile(const std::string& folder, MainWindowPlacement& placement) {
    std::uint8_t image[kMainWindowFileSize] = {};
    long got = ReadFilePrefix(InstallFile(folder, kMainWindowFile), image, sizeof image);
    if (got < static_cast<long>(kRectSize)) return false;
    placement = MainWindowPlacement{};
    placement.frame = DecodeRect(image);
    placement.hasColumns = got == static_cast<long>(kMainWindowFileSize);
    if (placement.hasColumns) {
        for (int i = 0; i < kListColumns; ++i)
            placement.columns[i] = DecodeRect(image + kRectSize * (i + 1));
    }
    return true;
}

bool WriteMainWindowFile(const std::string& folder, const MainWindowPlacement& placement) {
    std::uint8_t image[kMainWindowFileSize] = {};
    EncodeRect(placement.frame, image);
    if (placement.hasColumns) {
        for (int i = 0; i < kListColumns; ++i)
            EncodeRect(placement.columns[i], image + kRectSize * (i + 1));
    }
    return WriteFileBytes(InstallFile(folder, kMainWindowFile), image, sizeof image);
}

bool ReadWindowRectFile(const std::string& folder, const char* name, Rect32& rect) {
    std::uint8_t image[kRectSize] = {};
    long got = ReadFilePrefix(InstallFile(folder, name), image, sizeof image);
    if (got != static_cast<long>(kRectSize)) return false;
    rect = DecodeRect(image);
    return true;
}

bool WriteWindowRectFile(const std::string& folder, const char* name, const Rect32& rect) {
    std::uint8_t image[kRectSize];
    EncodeRect(rect, image);
    return WriteFileBytes(InstallFile(folder, name), image, sizeof image);
}

Rect32 DefaultEditorRect() { return Rect32{50, 50, 550, 410}; }

} // namespace lx
