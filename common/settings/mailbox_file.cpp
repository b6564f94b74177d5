#include "common/settings/mailbox_file.h"

#include <algorithm>
#include <vector>

#include "common/settings/file_io.h"
#include "common/settings/install_path.h"
#include "common/settings/le_codec.h"

namespace lx {

namespace {

constexpr std::size_t kCountSize = 2;

// Replaces the table with the records of a count-prefixed file, each turned into a mailbox record
// by decode; false when the file cannot be opened. The records taken are those the count names,
// at most ten, and only those present in full.
template <typename Decode>
bool ReadTable(const std::string& path, std::size_t recordSize, MailboxList& list, Decode decode) {
    std::vector<std::uint8_t> buf(kCountSize + kMaxMailboxes * recordSize, 0);
    long got = ReadFilePrefix(path, buf.data(), buf.size());
    if (got < 0) return false;
    int n = 0;
    if (got >= static_cast<long>(kCountSize)) {
        int count = std::clamp<int>(GetI16(buf.data()), 0, kMaxMailboxes);
        int present = static_cast<int>((static_cast<std::size_t>(got) - kCountSize) / recordSize);
        n = std::min(count, present);
    }
    list = MailboxList{};
    for (int i = 0; i < n; ++i)
        list.records[i] =
            decode(buf.data() + kCountSize + static_cast<std::size_t>(i) * recordSize);
    list.count = static_cast<std::int16_t>(n);
    return true;
}

// Renames an older file whose table MAILBOXX.STP already holds to its aside name, so that it is
// never converted again and its bytes are kept.
void SetAside(const std::string& folder, const char* oldFile, MailboxLoadNote& note) {
    note.oldFile = oldFile;
    const std::string aside = AsideName(oldFile);
    if (RenameFile(InstallFile(folder, oldFile), InstallFile(folder, aside.c_str()))) {
        note.fate = OldMailboxFile::RenamedAside;
        note.keptAs = aside;
    } else {
        note.fate = OldMailboxFile::LeftInPlace;
    }
}

// Puts a converted file out of the way: removed, or else renamed aside.
void DisposeOld(const std::string& folder, const char* oldFile, MailboxLoadNote& note) {
    if (!RemoveFile(InstallFile(folder, oldFile))) SetAside(folder, oldFile, note);
}

// The converted table replaces the old file only once it is safely written; when the write fails
// the old file stays for the next start.
bool StoreConverted(const std::string& folder, const MailboxList& list, const char* oldFile,
                    MailboxLoadNote& note) {
    if (!SaveMailboxes(folder, list)) return false;
    DisposeOld(folder, oldFile, note);
    return true;
}

// An older file beside a MAILBOXX.STP written no earlier was converted before and could not be
// removed then: the mailbox file holds the newer truth.
bool AlreadyConverted(const std::string& folder, const char* oldFile) {
    return WrittenNoEarlier(InstallFile(folder, kMailboxFile), InstallFile(folder, oldFile));
}

} // namespace

bool SaveMailboxes(const std::string& folder, const MailboxList& list) {
    int n = MailboxCount(list);
    std::vector<std::uint8_t> image(kCountSize + static_cast<std::size_t>(n) * kMailboxRecordSize);
    PutI16(image.data(), static_cast<std::int16_t>(n));
    for (int i = 0; i < n; ++i) {
        EncodeMailbox(list.records[i],
                      image.data() + kCountSize + static_cast<std::size_t>(i) * kMailboxRecordSize);
    }
    return WriteFileBytes(InstallFile(folder, kMailboxFile), image.data(), image.size());
}

std::string AsideName(const std::string& oldFile) {
    const std::size_t dot = oldFile.rfind('.');
    return oldFile.substr(0, dot) + ".OLD";
}

bool LoadMailboxes(const std::string& folder, std::int32_t inFolderNum, MailboxList& list,
                   MailboxLoadNote* note) {
    MailboxLoadNote local;
    MailboxLoadNote& told = note ? *note : local;
    told = MailboxLoadNote{};

    for (const char* oldFile : {kMailSet3File, kMailSetXFile}) {
        if (AlreadyConverted(folder, oldFile)) SetAside(folder, oldFile, told);
    }

    if (!AlreadyConverted(folder, kMailSet3File) &&
        ReadTable(
            InstallFile(folder, kMailSet3File), kMailSet3RecordSize, list,
            [inFolderNum](const std::uint8_t* rec) { return ConvertMailSet3(rec, inFolderNum); })) {
        // When the new file cannot be written the next formats are still looked for.
        if (StoreConverted(folder, list, kMailSet3File, told)) return true;
    }

    if (!AlreadyConverted(folder, kMailSetXFile) &&
        ReadTable(InstallFile(folder, kMailSetXFile), kMailSetXRecordSize, list, ConvertMailSetX)) {
        // Even when the new file cannot be written the converted table serves this run.
        StoreConverted(folder, list, kMailSetXFile, told);
        return true;
    }

    list = MailboxList{};
    return ReadTable(InstallFile(folder, kMailboxFile), kMailboxRecordSize, list, DecodeMailbox);
}

} // namespace lx
