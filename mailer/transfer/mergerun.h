// The run of a mail merge, apart from its dialog: reads the merge file, prepares one message per
// address into the outgoing spool file and sends that file through an SMTP session whose status
// codes reach a window of the caller. The "Send Mail [SMTP] - Mail Merge" dialog shows it; a
// program without a dialog (the benchmark) drives the same run through a hidden window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/catalog/textformat.h"
#include "mailer/transfer/logic/sendsettings.h"
#include "netlib/tern32.h"

namespace lx {
class MessageCatalog;

// The dialog's status message of its SMTP session.
constexpr UINT WM_LX_MERGE_STATUS = WM_USER + 66;
// How much of a server's reply one log line holds.
constexpr std::size_t kMergeReplyLimit = 639;

struct MergeRequest {
    std::string addressFile;
    std::string messageFile;
    std::string subject;
    std::string attachment; // empty: none
};

// Where the run shows itself: the dialog's fields and log.
class MergeRunView {
public:
    virtual ~MergeRunView() = default;
    virtual void Log(const std::string& line) = 0;
    virtual void ClearLog() = 0;
    virtual void ConnectionStatus(const std::string& text) = 0;
    virtual void Preparing(int number) = 0; // shown at once: preparing blocks the window's loop
    virtual void DataSent(const std::string& percent) = 0;
    virtual void SentSuccessfully(int count) = 0;
    virtual void Finished() = 0; // the session has ended and is closed
    // The server's certificate was refused, and the refusal offers to trust it (certtrust.h);
    // a view with nobody to ask lets it be.
    virtual void CertificateRefused(const std::string& refusal) {}
};

class MailMergeRun {
public:
    MailMergeRun(const MessageCatalog* catalog, MergeRunView& view)
        : catalog_(catalog), view_(view) {}
    ~MailMergeRun() { CloseSession(); }
    MailMergeRun(const MailMergeRun&) = delete;
    MailMergeRun& operator=(const MailMergeRun&) = delete;

    // Prepares every message into `spoolPath` and starts the session that reports to `window`
    // with `message`. False when nothing was sent (the log says why).
    bool Start(const MergeRequest& request, const std::string& spoolPath,
               const SendingSettings& settings, HWND window, UINT message);
    // A status code of the session (wParam, lParam of `message`).
    void OnStatus(int code, LPARAM value);

    bool Running() const { return session_ != 0; }
    int Prepared() const { return prepared_; }
    int SentCount() const { return sent_; }

private:
    std::string Text(const char* key) const;
    std::string Format(const char* key, const std::vector<FormatArg>& args) const;
    void Log(const char* key, const std::vector<FormatArg>& args = {});
    bool ReadAddresses(const std::string& path);
    bool PrepareSpool(const MergeRequest& request, const std::string& spoolPath,
                      const std::string& sender, std::string body);
    std::string AddressOf(int number) const;
    void CloseSession();

    const MessageCatalog* catalog_;
    MergeRunView& view_;
    std::vector<std::string> addresses_;
    TERNHANDLE session_ = 0;
    int prepared_ = 0;
    int sent_ = 0;
};

} // namespace lx
