#include "mailer/ui/signatur_file.h"

#include "common/settings/install_path.h"

namespace lx {
namespace {

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

UniqueHandle OpenHeld(const std::string& path, DWORD disposition) {
    // No sharing: readers elsewhere fail to open it and go without signatures meanwhile.
    return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The old file's text: up to one block, to its first zero byte. False when it cannot be read.
bool ReadOldText(const std::string& path, std::string* text) {
    UniqueHandle old(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!old) return false;
    std::uint8_t block[kSignatureTextSize];
    DWORD got = 0;
    if (!::ReadFile(old.Get(), block, sizeof block, &got, nullptr)) return false;
    *text = SignatureBlockText(block, got);
    return true;
}

} // namespace

SignatureFileState HeldSignatureFile::Open(const std::string& installPath,
                                           const std::string& oldSignatureName) {
    const std::string path = InstallFile(installPath, kSignatureFile);
    const std::string oldPath = InstallFile(installPath, kOldSignatureFile);
    // Signatures already in the new file are never replaced by the old one.
    if (!FileExists(path) && FileExists(oldPath))
        return ConvertOld(path, oldPath, oldSignatureName);
    file_ = OpenHeld(path, OPEN_ALWAYS);
    if (!file_) return SignatureFileState::CannotCreate;
    switch (book_.Load()) {
    case SignatureLoad::Ready: return SignatureFileState::Ready;
    case SignatureLoad::Damaged: return SignatureFileState::Damaged;
    default: return SignatureFileState::CannotCreate;
    }
}

SignatureFileState HeldSignatureFile::ConvertOld(const std::string& newPath,
                                                 const std::string& oldPath,
                                                 const std::string& name) {
    std::string text;
    // An unreadable old file stays where it is, to be converted another time.
    if (!ReadOldText(oldPath, &text)) return SignatureFileState::CannotCreate;
    file_ = OpenHeld(newPath, CREATE_NEW);
    if (!file_) return SignatureFileState::CannotCreate;
    if (!book_.StartFromOldSignature(text, name)) {
        // Nothing half written stays behind; the old file keeps the text.
        file_.Reset();
        ::DeleteFileA(newPath.c_str());
        return SignatureFileState::CannotCreate;
    }
    ::DeleteFileA(oldPath.c_str());
    return SignatureFileState::Ready;
}

std::size_t HeldSignatureFile::ReadAt(std::int64_t offset, void* buffer, std::size_t size) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD got = 0;
    if (!file_ || !::SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) ||
        !::ReadFile(file_.Get(), buffer, static_cast<DWORD>(size), &got, nullptr))
        return 0;
    return got;
}

bool HeldSignatureFile::WriteAt(std::int64_t offset, const void* data, std::size_t size) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD put = 0;
    return file_ && ::SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) &&
           ::WriteFile(file_.Get(), data, static_cast<DWORD>(size), &put, nullptr) && put == size &&
           ::FlushFileBuffers(file_.Get());
}

} // namespace lx
