#include "common/settings/dialer_settings.h"

#include <algorithm>

#include "common/settings/file_io.h"
#include "common/settings/install_path.h"
#include "common/settings/le_codec.h"

namespace lx {

namespace {
constexpr std::size_t kDialerTail = 10;
constexpr std::int32_t kMillisecondThreshold = 60000;
constexpr std::int32_t kMinimumInterval = 60;
} // namespace

int DialerSelectedCount(const DialerSettings& s) {
    return std::clamp<int>(s.selectedCount, 0, kDialerMailboxes);
}

namespace {
// The dialer record in field order.
struct DialerFields {
    template <class Codec, class Settings>
    static void Each(Codec& c, Settings& s) {
        c.Field(s.checkInterval);
        c.Field(s.sendToo);
        c.Field(s.localNetwork);
        c.Field(s.phoneBookEntry);
        c.Field(s.dialUser);
        c.Field(s.dialPassword);
        c.Field(s.selectedMailboxes);
        c.Field(s.selectedCount);
        c.Field(s.checkCountdown);
        c.Pad(kDialerTail);
    }
};
} // namespace

void EncodeDialer(const DialerSettings& s, std::uint8_t* image) {
    EncodeFields<DialerFields>(s, image, kDialerRecordSize);
}

DialerSettings DecodeDialer(const std::uint8_t* image) {
    return DecodeFields<DialerFields, DialerSettings>(image, kDialerRecordSize);
}

long ReadDialerFile(const std::string& folder, DialerSettings& s) {
    std::uint8_t image[kDialerRecordSize] = {};
    long got = ReadFilePrefix(InstallFile(folder, kDialerFile), image, sizeof image);
    s = DecodeDialer(image);
    return got;
}

bool WriteDialerFile(const std::string& folder, const DialerSettings& s) {
    std::uint8_t image[kDialerRecordSize];
    EncodeDialer(s, image);
    return WriteFileBytes(InstallFile(folder, kDialerFile), image, sizeof image);
}

std::int32_t AdjustDialerAtStartup(DialerSettings& s, long bytesRead) {
    if (bytesRead != static_cast<long>(kDialerRecordSize)) {
        s.checkCountdown = 0;
        return 0;
    }
    if (s.checkInterval >= kMillisecondThreshold) s.checkInterval /= 1000;
    if (s.checkInterval >= 1 && s.checkInterval < kMinimumInterval)
        s.checkInterval = kMinimumInterval;
    s.checkCountdown = s.checkInterval;
    return s.checkCountdown;
}

DialerSettings LoadDialerAtStartup(const std::string& folder) {
    DialerSettings s;
    long got = ReadDialerFile(folder, s);
    AdjustDialerAtStartup(s, got);
    return s;
}

} // namespace lx
