// Mailbox records and lists compared as the file holds them: a struct's padding bytes carry
// whatever the last copy left there, so comparing the structs' memory would compare those too.
#pragma once
#include <cstdint>
#include <vector>

#include "common/settings/mailbox_record.h"

namespace lxtest {

inline std::vector<std::uint8_t> Image(const lx::MailboxRecord& record) {
    std::vector<std::uint8_t> image(lx::kMailboxRecordSize);
    lx::EncodeMailbox(record, image.data());
    return image;
}

// The count, then every record (those beyond the count too).
inline std::vector<std::uint8_t> Image(const lx::MailboxList& list) {
    std::vector<std::uint8_t> image{static_cast<std::uint8_t>(list.count & 0xFF),
                                    static_cast<std::uint8_t>((list.count >> 8) & 0xFF)};
    for (const lx::MailboxRecord& record : list.records) {
        const std::vector<std::uint8_t> one = Image(record);
        image.insert(image.end(), one.begin(), one.end());
    }
    return image;
}

} // namespace lxtest
