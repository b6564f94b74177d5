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

void EncodeDialer(const DialerSettings& s, std::uint8_t* image) {
    LeWriter w(image, kDialerRecordSize);
    w.I32(s.checkInterval);
    w.I32(s.sendToo);
    w.I32(s.localNetwork);
    w.Text(s.phoneBookEntry, sizeof s.phoneBookEntry);
    w.Text(s.dialUser, sizeof s.dialUser);
    w.Text(s.dialPassword, sizeof s.dialPassword);
    for (const auto& name : s.selectedMailboxes) w.Text(name, sizeof name);
    w.I32(s.selectedCount);
    w.I32(s.checkCountdown);
    w.Zeros(kDialerTail);
}

DialerSettings DecodeDialer(const std::uint8_t* image) {
    DialerSettings s;
    LeReader r(image, kDialerRecordSize);
    s.checkInterval = r.I32();
    s.sendToo = r.I32();
    s.localNetwork = r.I32();
    r.Text(s.phoneBookEntry, sizeof s.phoneBookEntry);
    r.Text(s.dialUser, sizeof s.dialUser);
    r.Text(s.dialPassword, sizeof s.dialPassword);
    for (auto& name : s.selectedMailboxes) r.Text(name, sizeof name);
    s.selectedCount = r.I32();
    s.checkCountdown = r.I32();
    r.Skip(kDialerTail);
    return s;
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
