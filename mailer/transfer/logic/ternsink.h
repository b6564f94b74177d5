// The MIME preparer of TERN32 behind MimeSink: one batch from Start to Finish. Header only, so
// that the program reaches the preparer through TERN32 and native tests through lxmime.
#pragma once

#include "mailer/transfer/logic/sendprep.h"
#include "netlib/mime/ternmime.h"

namespace lx {

class TernMimeSink : public MimeSink {
public:
    TernMimeSink() = default;
    ~TernMimeSink() override { Finish(); }
    TernMimeSink(const TernMimeSink&) = delete;
    TernMimeSink& operator=(const TernMimeSink&) = delete;

    // Creates the spool file; false when no preparer could be made.
    bool Start(const char* spoolPath, const char* sender) {
        return TERNMimePrepStart(spoolPath, sender, &handle_) == 0 && handle_ != 0;
    }
    // Rewrites the count line and closes the spool file.
    void Finish() {
        if (handle_) TERNMimePrepFinish(handle_);
        handle_ = 0;
    }

    int NewMesg(const char* sender) override { return TERNMimePrepNewMesg(handle_, sender); }
    int To(const char* address) override { return TERNMimePrepTO(handle_, address); }
    int Cc(const char* address) override { return TERNMimePrepCC(handle_, address); }
    int File(const char* path) override { return TERNMimePrepFile(handle_, path); }
    int Subject(const char* subject) override { return TERNMimePrepSubj(handle_, subject); }
    int Data(const char* bytes, int length) override {
        return TERNMimePrepData(handle_, bytes, length);
    }
    int EndMesg() override { return TERNMimePrepEndMesg(handle_); }

private:
    TernMimeHandle handle_ = 0;
};

} // namespace lx
