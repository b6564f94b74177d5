// SIGNING.SIG held open by the "Signature Files" dialog: exclusively, so that no composer or
// sending reads it half written, from opening to closing. The older single-signature file
// SIGNATUR.SIG is converted on the way.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/handles.h"
#include "mailer/ui/logic/signatur_rules.h"

namespace lx {

enum class SignatureFileState {
    Ready,        // the signatures are listed from Book()
    Damaged,      // the file is shorter than its index
    CannotCreate, // the file could neither be opened nor created (or is held by another)
};

class HeldSignatureFile : public SignatureStorage {
public:
    HeldSignatureFile() : book_(*this) {}
    // Opens SIGNING.SIG in `installPath`. When only SIGNATUR.SIG is there, its text becomes the
    // first signature, named `oldSignatureName`, and the old file is deleted once the new one
    // is written.
    SignatureFileState Open(const std::string& installPath, const std::string& oldSignatureName);
    SignatureBook& Book() { return book_; }

    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) override;
    bool WriteAt(std::int64_t offset, const void* data, std::size_t size) override;

private:
    SignatureFileState ConvertOld(const std::string& newPath, const std::string& oldPath,
                                  const std::string& name);
    UniqueHandle file_;
    SignatureBook book_;
};

} // namespace lx
