#include "viewer/core/msgrecord.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/schema/subject.h"

namespace lx::viewer {

namespace {
constexpr std::size_t kMonthNameMax = 7;
constexpr const char* kLoadErrorMark = "Error:";
} // namespace

std::string FitField(const std::string& text, std::size_t width) {
    const std::size_t zero = text.find('\0');
    const std::size_t length = std::min({text.size(), zero, width == 0 ? 0 : width - 1});
    return text.substr(0, length);
}

void SetRecordTexts(MessageRecord& record, const std::string& mesgId, const std::string& mesgDate,
                    const std::string& mailData, std::size_t bufferSize, const std::string& fromAdd,
                    const std::string& subject) {
    record.mesgId = FitField(mesgId, kMesgIdWidth);
    record.mesgDate = FitField(mesgDate, kMesgDateWidth);
    record.mailData = mailData.substr(0, std::min(mailData.size(), bufferSize));
    record.fromAdd = FitField(fromAdd, kFromAddWidth);
    record.subject = FitField(subject, kSubjectWidth);
}

bool HasLoadError(const MessageRecord& record) {
    return record.mesgId.find(kLoadErrorMark) != std::string::npos;
}

std::string ShownSubject(const std::string& storedSubject) {
    return ParseSubject(storedSubject).shown;
}

std::string BodyText(const MessageRecord& record, std::size_t bufferSize) {
    const std::size_t n =
        std::min({std::size_t(record.mesgSize), bufferSize, record.mailData.size()});
    return FitField(record.mailData.substr(0, n), n + 1);
}

void AddRecipient(RecipientList& list, const std::string& name) {
    std::string fitted = FitField(name, kRecipientNameWidth);
    if (!fitted.empty()) list.names.push_back(std::move(fitted));
}

std::string PlainForm(const RecipientList& list) {
    std::string plain;
    for (const std::string& name : list.names) plain += name + "\r\n";
    return plain;
}

bool AddAttachment(AttachmentList& list, const std::string& name) {
    if (list.count < 0 || list.count >= int(kAttachmentSlots)) return false;
    std::string upper = FitField(name, kAttachmentNameWidth);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    list.slots[list.count++] = Attachment{std::move(upper), std::string()};
    return true;
}

MonthNames MakeMonthNames(const std::array<std::string, 12>& janToDec) {
    MonthNames months;
    for (std::size_t i = 0; i < janToDec.size(); ++i)
        months[i + 1] = janToDec[i].substr(0, kMonthNameMax);
    return months;
}

std::string FormatReceived(const AppDate& date, const MonthNames& months) {
    const std::string& month = date.month >= 1 && date.month <= 12 ? months[date.month] : months[0];
    char text[96];
    std::snprintf(text, sizeof text, "%02d-%s-%4d %02d:%02d:%02d", date.day, month.c_str(),
                  date.year, date.hour, date.minute, date.second);
    return text;
}

} // namespace lx::viewer
