#include "mailer/transfer/logic/sendrun.h"

#include "common/schema/subject.h"

namespace lx {

namespace {
constexpr std::size_t kUnknownSizeBuffer = 8192;
constexpr long kBufferStep = 16;
} // namespace

RefusalFound CheckQueuedMessage(const QueuedMessage& message,
                                const std::function<bool(const std::string& path)>& readable) {
    if (message.to.empty()) return {Refusal::NoRecipient, std::string()};
    for (const auto* list : {&message.to, &message.cc})
        for (const std::string& address : *list)
            if (address.size() > kPrepAddressMax) return {Refusal::AddressTooLong, address};
    const std::string subject = SubjectToSend(message.subject);
    if (subject.size() > kPrepLongFieldMax) return {Refusal::SubjectTooLong, subject};
    for (const std::string& path : message.files) {
        if (path.size() > kPrepLongFieldMax) return {Refusal::FileNameTooLong, path};
        if (readable && !readable(path)) return {Refusal::FileUnreadable, path};
    }
    return {};
}

const char* RefusalKey(Refusal why) {
    switch (why) {
    case Refusal::None: return nullptr;
    case Refusal::NoRecipient: return "MAILLETT_CPP_34";
    case Refusal::AddressTooLong: return "MAILLETT_CPP_35";
    case Refusal::SubjectTooLong: return "MAILLETT_CPP_36";
    case Refusal::FileNameTooLong: return "MAILLETT_CPP_37";
    case Refusal::FileUnreadable: return "MAILLETT_CPP_38";
    }
    return nullptr;
}

std::string SubjectToSend(const std::string& stored) { return ParseSubject(stored).shown; }

std::size_t TextBufferSize(long largest) {
    if (largest <= 0) return kUnknownSizeBuffer;
    return static_cast<std::size_t>((largest / kBufferStep + 1) * kBufferStep);
}

int SendingRun::AddRow(long mesgNum, bool numbered) {
    rows_.push_back(Row{mesgNum, numbered ? ++numbered_ : 0, false});
    return Rows();
}

int SendingRun::RowOfMessage(int number) const {
    if (number < 1) return 0;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].number == number) return static_cast<int>(i + 1);
    return 0;
}

bool SendingRun::MarkSent(int number) {
    const int row = RowOfMessage(number);
    if (row == 0) return false;
    rows_[row - 1].sent = true;
    return true;
}

bool SendingRun::IsSent(int row) const { return row >= 1 && row <= Rows() && rows_[row - 1].sent; }

long SendingRun::MesgNumOf(int row) const {
    return row >= 1 && row <= Rows() ? rows_[row - 1].mesgNum : 0;
}

std::vector<long> SendingRun::SentMesgNums() const {
    std::vector<long> sent;
    for (const Row& r : rows_)
        if (r.sent) sent.push_back(r.mesgNum);
    return sent;
}

} // namespace lx
