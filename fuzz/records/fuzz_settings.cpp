// libFuzzer target: the settings files of the installation folder from any bytes. The first byte
// chooses the file (the three mailbox formats, AUTODIAL.STP, a font file, the window files), the
// rest is its content. What is read must be usable as it stands and survive being written back.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/settings/dialer_settings.h"
#include "common/settings/font_desc.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/mailbox_record.h"
#include "common/settings/mailbox_security.h"
#include "common/settings/scramble.h"
#include "common/settings/window_file.h"
#include "fuzz/common/fuzzutil.h"
#include "mailer/ui/logic/mainspli_cols.h"

namespace {

using lxfuzz::Terminated;

void CheckRecord(const lx::MailboxRecord& r) {
    FUZZ_CHECK(Terminated(r.name) && Terminated(r.pop3Server) && Terminated(r.smtpServer));
    FUZZ_CHECK(Terminated(r.address) && Terminated(r.user) && Terminated(r.password));
    FUZZ_CHECK(Terminated(r.defaultFolder));
    // The spare bytes: a security block is read only when it is whole and in range, and writing
    // what was read gives the same reading back.
    const lx::MailboxSecurity s = lx::ReadMailboxSecurity(r);
    FUZZ_CHECK(static_cast<int>(s.pop3) <= 2 && static_cast<int>(s.smtp) <= 2);
    lx::MailboxRecord copy = r;
    lx::WriteMailboxSecurity(copy, s);
    FUZZ_CHECK(lx::ReadMailboxSecurity(copy) == s);
    lx::MailboxSecurity other;
    other.smtp = lx::MailSecurity::StartTls;
    other.smtpPort = 587;
    other.smtpLogin = true;
    lx::WriteMailboxSecurity(copy, other);
    FUZZ_CHECK(lx::ReadMailboxSecurity(copy) == other);
    // Nothing but the spare bytes changes.
    FUZZ_CHECK(std::memcmp(copy.name, r.name, sizeof r.name) == 0);
    FUZZ_CHECK(copy.defaultFolderNum == r.defaultFolderNum && copy.current == r.current);
    // The stored password is shown unscrambled, and scrambled again when saved.
    char password[sizeof r.password];
    std::memcpy(password, r.password, sizeof password);
    lx::Unscramble(password);
    FUZZ_CHECK(Terminated(password));
    lx::Scramble(password);
    FUZZ_CHECK(Terminated(password));
    FUZZ_CHECK(std::strchr(password, '|') == nullptr);
}

void Mailboxes(const char* file, const std::uint8_t* data, std::size_t size) {
    const lxfuzz::ScratchFolder& folder = lxfuzz::Scratch();
    folder.Write(file, data, size);
    lx::MailboxList list;
    lx::MailboxLoadNote note;
    FUZZ_CHECK(lx::LoadMailboxes(folder.Path(), 7, list, &note));
    FUZZ_CHECK(list.count >= 0 && list.count <= lx::kMaxMailboxes);
    const std::size_t recordSize = std::strcmp(file, lx::kMailSet3File) == 0
                                       ? lx::kMailSet3RecordSize
                                       : lx::kMailboxRecordSize;
    // Only records present in full are taken.
    FUZZ_CHECK(size < 2 || static_cast<std::size_t>(list.count) <= (size - 2) / recordSize);
    for (int i = 0; i < list.count; ++i) CheckRecord(list.records[i]);
    const int current = lx::CurrentMailboxIndex(list);
    FUZZ_CHECK(list.count == 0 ? current == -1 : (current >= 0 && current < list.count));
    // An older file is converted once: it is gone, and MAILBOXX.STP holds the table.
    if (std::strcmp(file, lx::kMailboxFile) != 0) {
        FUZZ_CHECK(!folder.Exists(file));
        FUZZ_CHECK(folder.Exists(lx::kMailboxFile));
    }
    // What was read is written and read back unchanged.
    FUZZ_CHECK(lx::SaveMailboxes(folder.Path(), list));
    lx::MailboxList again;
    FUZZ_CHECK(lx::LoadMailboxes(folder.Path(), 7, again));
    FUZZ_CHECK(again.count == list.count);
    for (int i = 0; i < list.count; ++i)
        FUZZ_CHECK(lxfuzz::SameImage<lx::kMailboxRecordSize>(again.records[i], list.records[i],
                                                             lx::EncodeMailbox));
    if (list.count > 0) {
        FUZZ_CHECK(lx::SetCurrentMailbox(again, list.count - 1));
        FUZZ_CHECK(lx::CurrentMailboxIndex(again) == list.count - 1);
        FUZZ_CHECK(lx::FindMailbox(again, again.records[0].name) >= 0);
    }
}

void Dialer(const std::uint8_t* data, std::size_t size) {
    const lxfuzz::ScratchFolder& folder = lxfuzz::Scratch();
    folder.Write(lx::kDialerFile, data, size);
    lx::DialerSettings s;
    const long got = lx::ReadDialerFile(folder.Path(), s);
    FUZZ_CHECK(got == static_cast<long>(std::min(size, lx::kDialerRecordSize)));
    FUZZ_CHECK(Terminated(s.phoneBookEntry) && Terminated(s.dialUser) &&
               Terminated(s.dialPassword));
    for (const auto& name : s.selectedMailboxes) FUZZ_CHECK(Terminated(name));
    const int selected = lx::DialerSelectedCount(s);
    FUZZ_CHECK(selected >= 0 && selected <= lx::kDialerMailboxes);
    const std::int32_t before = s.checkInterval;
    const std::int32_t countdown = lx::AdjustDialerAtStartup(s, got);
    FUZZ_CHECK(countdown == s.checkCountdown);
    if (got == static_cast<long>(lx::kDialerRecordSize) && before > 0)
        FUZZ_CHECK(s.checkInterval >= 60 && (before < 60 || s.checkInterval <= before));
    // Written and read back, the record is the same.
    FUZZ_CHECK(lx::WriteDialerFile(folder.Path(), s));
    lx::DialerSettings back;
    FUZZ_CHECK(lx::ReadDialerFile(folder.Path(), back) == static_cast<long>(lx::kDialerRecordSize));
    FUZZ_CHECK(lxfuzz::SameImage<lx::kDialerRecordSize>(s, back, lx::EncodeDialer));
}

void Font(const std::uint8_t* data, std::size_t size) {
    const lxfuzz::ScratchFolder& folder = lxfuzz::Scratch();
    folder.Write(lx::kMessageListFontFile, data, size);
    lx::FontDesc f;
    FUZZ_CHECK(lx::ReadFontFile(folder.Path(), lx::kMessageListFontFile, f));
    FUZZ_CHECK(Terminated(f.faceName));
    FUZZ_CHECK(lx::WriteFontFile(folder.Path(), lx::kMessageListFontFile, f));
    lx::FontDesc back;
    FUZZ_CHECK(lx::ReadFontFile(folder.Path(), lx::kMessageListFontFile, back));
    FUZZ_CHECK(back == f);
}

void Windows(const std::uint8_t* data, std::size_t size) {
    const lxfuzz::ScratchFolder& folder = lxfuzz::Scratch();
    folder.Write(lx::kMainWindowFile, data, size);
    lx::MainWindowPlacement p;
    const bool read = lx::ReadMainWindowFile(folder.Path(), p);
    FUZZ_CHECK(read == (size >= lx::kRectSize));
    if (read) {
        FUZZ_CHECK(p.hasColumns == (size >= lx::kMainWindowFileSize));
        // The message list takes the stored cells when they fit its header.
        for (int x0 : {0, 200}) {
            lx::ListColumns columns = lx::ListColumns::FromCells(p.columns, x0, x0 + 600, 90);
            FUZZ_CHECK(columns.DateRight() > columns.IconRight());
            FUZZ_CHECK(columns.AddressRight() > columns.DateRight());
            const auto cells = columns.Cells(20);
            FUZZ_CHECK(cells[0].left == x0);
            // Borders are dragged to mouse positions, which are 16-bit.
            columns.MoveBorder(lx::ColumnBorder::DateAddress,
                               static_cast<std::int16_t>(p.frame.left));
            columns.MoveBorder(lx::ColumnBorder::AddressSubject,
                               static_cast<std::int16_t>(p.frame.right));
            columns.BorderAt(static_cast<std::int16_t>(p.frame.top));
        }
        lx::Rect32 stored = lx::MainWindowRectToStore(p.frame, false, false);
        FUZZ_CHECK(stored == p.frame);
    }
    folder.Write(lx::kViewerWindowFile, data, size);
    lx::Rect32 rect;
    FUZZ_CHECK(lx::ReadWindowRectFile(folder.Path(), lx::kViewerWindowFile, rect) ==
               (size >= lx::kRectSize));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    lxfuzz::Scratch().Empty();
    const std::uint8_t kind = data[0] % 6;
    ++data;
    --size;
    switch (kind) {
    case 0: Mailboxes(lx::kMailboxFile, data, size); break;
    case 1: Mailboxes(lx::kMailSetXFile, data, size); break;
    case 2: Mailboxes(lx::kMailSet3File, data, size); break;
    case 3: Dialer(data, size); break;
    case 4: Font(data, size); break;
    default: Windows(data, size); break;
    }
    return 0;
}
