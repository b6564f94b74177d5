#include "mailer/transfer/mergerun.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/handles.h"
#include "mailer/transfer/logic/mergefile.h"
#include "mailer/transfer/logic/mergeprep.h"
#include "mailer/transfer/logic/smtpstatus.h"
#include "mailer/transfer/logic/ternsink.h"
#include "mailer/transfer/certtrust.h"
#include "mailer/transfer/sessionsecurity.h"

namespace lx {
namespace {

constexpr char kNoAddressFile[] = "SENDMMF_CPP_5";
constexpr char kNoMessageFile[] = "SENDMMF_CPP_1";
constexpr char kConnecting[] = "SENDMMF_CPP_2";
constexpr char kSessionClosed[] = "SENDMMF_CPP_11";
constexpr char kFinished[] = "SENDMMF_CPP_12";
// Most refused lines listed one by one; the rest are counted.
constexpr std::size_t kRefusalsListed = 20;
// Longest attachment path the preparer takes.
constexpr std::size_t kAttachmentPathLimit = 255;

// The files the run reads are opened for reading only, so that a read-only merge file (or one
// another program has open for reading) serves as well.
UniqueHandle OpenForReading(const std::string& path) {
    if (path.empty()) return UniqueHandle();
    return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool ReadWhole(HANDLE file, std::string* bytes) {
    char block[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, block, sizeof block, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes->append(block, got);
    }
}

const char* RefusalKey(MergeLineProblem why) {
    switch (why) {
    case MergeLineProblem::TooLong: return "SENDMMF_CPP_35";
    case MergeLineProblem::AddressTooLong: return "SENDMMF_CPP_36";
    case MergeLineProblem::NotAnAddress: break;
    }
    return "SENDMMF_CPP_37";
}

} // namespace

std::string MailMergeRun::Text(const char* key) const { return CatalogText(catalog_, key); }

std::string MailMergeRun::Format(const char* key, const std::vector<FormatArg>& args) const {
    const std::string format = Text(key);
    return FormatTextOr(format.c_str(), args, format);
}

void MailMergeRun::Log(const char* key, const std::vector<FormatArg>& args) {
    view_.Log(Format(key, args));
}

bool MailMergeRun::Start(const MergeRequest& request, const std::string& spoolPath,
                         const SendingSettings& settings, HWND window, UINT message) {
    if (session_) return false;
    prepared_ = 0;
    sent_ = 0;
    addresses_.clear();
    view_.Preparing(0);
    view_.DataSent("");
    view_.ClearLog();
    if (!ReadAddresses(request.addressFile)) return false;
    // The message file is read once and closed: its bytes go to every address, and the preparer
    // can open it even when it is also the file to attach.
    std::string body;
    {
        UniqueHandle file = OpenForReading(request.messageFile);
        if (!file.Valid() || !ReadWhole(file.Get(), &body)) {
            Log(kNoMessageFile);
            return false;
        }
    }
    bool settingsMissing = false;
    for (const char* key : SendingSettingsProblems(settings)) {
        Log(key);
        settingsMissing = true;
    }
    if (settingsMissing) return false;
    // A file that cannot be read would go out as an empty attachment to every address.
    if (!request.attachment.empty() && (request.attachment.size() > kAttachmentPathLimit ||
                                        !OpenForReading(request.attachment).Valid())) {
        Log("SENDMMF_CPP_39", {request.attachment});
        return false;
    }
    if (!PrepareSpool(request, spoolPath, settings.address, std::move(body))) return false;

    view_.ConnectionStatus(Text(kConnecting));
    view_.ClearLog();
    view_.SentSuccessfully(0);
    Log("SENDMMF_CPP_42", {prepared_});
    TERNHANDLE session = 0;
    if (TERNSMTPStartWindow(window, message, spoolPath.c_str(), &session) != 0 || session == 0) {
        Log("SENDMMF_CPP_43");
        view_.ConnectionStatus(Text("SENDMMF_CPP_17"));
        return false;
    }
    session_ = session;
    ApplySmtpSecurity(session_, settings);
    TERNSMTPSendMail(session_, settings.server.c_str());
    return true;
}

// The merge file's addresses; false (with the log lines saying why) when the run cannot go on.
bool MailMergeRun::ReadAddresses(const std::string& path) {
    std::string bytes;
    {
        UniqueHandle file = OpenForReading(path);
        if (!file.Valid() || !ReadWhole(file.Get(), &bytes)) {
            Log(kNoAddressFile);
            return false;
        }
    }
    MergeList list = ReadMergeList(bytes.data(), bytes.size());
    if (!list.refused.empty()) {
        for (std::size_t i = 0; i < list.refused.size() && i < kRefusalsListed; ++i) {
            const MergeLineRefusal& r = list.refused[i];
            if (r.why == MergeLineProblem::NotAnAddress)
                Log(RefusalKey(r.why), {r.line, r.text});
            else if (r.why == MergeLineProblem::TooLong)
                Log(RefusalKey(r.why), {r.line, static_cast<int>(kMergeLineLimit)});
            else
                Log(RefusalKey(r.why), {r.line, static_cast<int>(kMergeAddressLimit)});
        }
        if (list.refused.size() > kRefusalsListed)
            Log("SENDMMF_CPP_38", {static_cast<int>(list.refused.size() - kRefusalsListed)});
        Log("SENDMMF_CPP_40");
        return false;
    }
    if (list.addresses.empty()) {
        Log("SENDMMF_CPP_41");
        return false;
    }
    addresses_ = std::move(list.addresses);
    return true;
}

bool MailMergeRun::PrepareSpool(const MergeRequest& request, const std::string& spoolPath,
                                const std::string& sender, std::string body) {
    TernMimeSink sink;
    if (!sink.Start(spoolPath.c_str(), sender.c_str())) {
        Log("SENDMMF_CPP_44");
        return false;
    }
    MergeBodyBytes text(std::move(body));
    const MergePrepared done =
        PrepareMergeMessages(sink, MergeMessage{request.subject, request.attachment}, addresses_,
                             text, [this](int number) {
                                 prepared_ = number;
                                 view_.Preparing(number);
                             });
    sink.Finish();
    if (done.failedAt) {
        Log("SENDMMF_CPP_45", {done.failedAt, AddressOf(done.failedAt)});
        return false;
    }
    return true;
}

void MailMergeRun::OnStatus(int code, LPARAM value) {
    // A status after the run has ended (a late close by the server) is not this run's.
    if (!session_) return;
    const SmtpStatusAction a = ActionOfSmtpStatus(code, kMailMergeTexts);
    if (a.logKey) {
        if (a.logArg == StatusLogArg::Reply) {
            view_.Log(Text(a.logKey) +
                      ReplyLogLine(reinterpret_cast<const char*>(value), kMergeReplyLimit));
        } else if (a.logArg == StatusLogArg::Number) {
            const int number = static_cast<int>(value);
            if (code == TERN_SMTP_MSGFAILED)
                Log(a.logKey, {number, AddressOf(number)});
            else
                Log(a.logKey, {number});
        } else {
            Log(a.logKey);
        }
    }
    if (a.statusKey) view_.ConnectionStatus(Text(a.statusKey));
    if (code == TERN_SMTP_INSECURE && OffersTrust(reinterpret_cast<const char*>(value)))
        view_.CertificateRefused(reinterpret_cast<const char*>(value));
    if (a.sent) view_.SentSuccessfully(++sent_);
    if (a.progress && value)
        view_.DataSent(reinterpret_cast<const char*>(value) + std::string("%"));
    if (a.finish) {
        CloseSession();
        Log(kSessionClosed);
        view_.ConnectionStatus(Text(kFinished));
        view_.Finished();
    }
}

// Message i of the spool file went to the i-th address: every address was prepared.
std::string MailMergeRun::AddressOf(int number) const {
    if (number < 1 || static_cast<std::size_t>(number) > addresses_.size()) return std::string();
    return addresses_[static_cast<std::size_t>(number) - 1];
}

void MailMergeRun::CloseSession() {
    if (session_) TERNSMTPClose(session_);
    session_ = 0;
}

} // namespace lx
