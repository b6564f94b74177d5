// The messages aiosmtpd accepted (tools/testpeers/smtpsink.py: STATE/smtp/NNNNNN.eml and .env),
// taken apart by the tests' own reading: envelope, headers, the text and the decoded attachments.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lxtest {

struct Received {
    std::string mailFrom;
    std::vector<std::string> rcptTo;
    std::vector<std::pair<std::string, std::string>> headers; // unfolded, in order
    std::string text; // the text part as sent, without the line ends that close it
    std::vector<std::pair<std::string, std::string>> attachments; // file name, decoded bytes

    std::string Header(const std::string& name) const; // the first, "" when absent
    std::vector<std::string> All(const std::string& name) const;
    std::string DecodedHeader(const std::string& name) const; // encoded words decoded
};

// How many messages the sink holds (NNNNNN.eml numbered from 1).
int ReceivedCount();
Received ReadReceived(int n);
// The messages the sink accepted after it held `count`.
std::vector<Received> ReceivedSince(int count);

} // namespace lxtest
