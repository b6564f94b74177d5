// Messages the retrieval tests send through the spool or the POP3 server, and the incoming spool
// file the POP3 connection would write for them.
#pragma once

#include <string>
#include <vector>

namespace lxtest {

struct SampleMail {
    std::string from = "Ann Example <ann@example.org>";
    std::string to;      // the To header value; empty: no To header
    std::string cc;      // empty: no Cc header
    std::string subject; // as in the header
    std::string body = "Hello.\r\n";
    std::string fileName;  // an attachment (base64) when not empty
    std::string fileBytes; // its bytes
    std::string messageId;
};

// The message as the server holds it (CR LF line ends, no dot-stuffing).
std::string MailText(const SampleMail& mail);
// The incoming spool file a complete run over these messages writes.
std::string IncomingSpool(const std::vector<std::string>& messages);
// The same spool cut inside message `cutInside` (1-based): its begin line and half its bytes.
std::string CutSpool(const std::vector<std::string>& messages, int cutInside);

// A multipart message whose second boundary line is neither an opening nor a closing one.
std::string MalformedMail(const std::string& subject);

// 255 characters, an apostrophe among them.
std::string LongSubject();

bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

} // namespace lxtest
