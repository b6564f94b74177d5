#include "tests/retrieval/mailsamples.h"

#include <fstream>
#include <sstream>

namespace lxtest {

namespace {

std::string Base64(const std::string& bytes) {
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out, line;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const unsigned b0 = static_cast<unsigned char>(bytes[i]);
        const unsigned b1 = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const unsigned b2 = i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        line += table[b0 >> 2];
        line += table[((b0 & 3) << 4) | (b1 >> 4)];
        line += i + 1 < bytes.size() ? table[((b1 & 15) << 2) | (b2 >> 6)] : '=';
        line += i + 2 < bytes.size() ? table[b2 & 63] : '=';
        if (line.size() >= 76) {
            out += line + "\r\n";
            line.clear();
        }
    }
    if (!line.empty()) out += line + "\r\n";
    return out;
}

// The RETR reply of a message: status line, dot-stuffed lines, the terminating full stop.
std::string RetrReply(const std::string& mail) {
    std::string out = "+OK " + std::to_string(mail.size()) + " octets\r\n";
    size_t start = 0;
    while (start < mail.size()) {
        size_t end = mail.find("\r\n", start);
        if (end == std::string::npos) end = mail.size();
        const std::string line = mail.substr(start, end - start);
        out += (line.rfind('.', 0) == 0 ? "." : "") + line + "\r\n";
        start = end + 2;
    }
    return out + ".\r\n";
}

} // namespace

std::string MailText(const SampleMail& m) {
    std::string s = "From: " + m.from + "\r\n";
    if (!m.to.empty()) s += "To: " + m.to + "\r\n";
    if (!m.cc.empty()) s += "Cc: " + m.cc + "\r\n";
    s += "Subject: " + m.subject + "\r\n";
    s += "Date: Tue, 8 Dec 2026 10:00:00 +0000\r\n";
    if (!m.messageId.empty()) s += "Message-ID: " + m.messageId + "\r\n";
    if (m.fileName.empty()) return s + "\r\n" + m.body;
    s += "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"LXB\"\r\n\r\n";
    s += "--LXB\r\nContent-Type: text/plain\r\n\r\n" + m.body;
    s += "--LXB\r\nContent-Type: application/octet-stream; name=\"" + m.fileName + "\"\r\n";
    s += "Content-Transfer-Encoding: base64\r\n\r\n" + Base64(m.fileBytes);
    return s + "--LXB--\r\n";
}

std::string IncomingSpool(const std::vector<std::string>& messages) {
    std::string s = "Letters : " + std::to_string(messages.size()) + "\r\n";
    for (const std::string& m : messages)
        s += "BEGIN MESSAGE\r\n" + RetrReply(m) + "END MESSAGE\r\n";
    return s;
}

std::string CutSpool(const std::vector<std::string>& messages, int cutInside) {
    std::string s = "Letters : " + std::to_string(messages.size()) + "\r\n";
    for (int i = 0; i + 1 < cutInside; ++i)
        s += "BEGIN MESSAGE\r\n" + RetrReply(messages[i]) + "END MESSAGE\r\n";
    const std::string reply = RetrReply(messages[cutInside - 1]);
    return s + "BEGIN MESSAGE\r\n" + reply.substr(0, reply.size() / 2);
}

std::string MalformedMail(const std::string& subject) {
    return "From: bad@example.org\r\nTo: joe@example.org\r\nSubject: " + subject +
           "\r\nMIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=B\r\n\r\n"
           "--B\r\nContent-Type: text/plain\r\n\r\nfirst\r\n--Bogus\r\nsecond\r\n";
}

std::string LongSubject() {
    std::string s = "It's long: ";
    while (s.size() < 255) s += static_cast<char>('a' + s.size() % 26);
    return s;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
    return static_cast<bool>(f);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace lxtest
