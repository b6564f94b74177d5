#include "viewer/core/pagewriter.h"

#include <cctype>
#include <cstdio>
#include <utility>

#include "viewer/core/bodytext.h"
#include "viewer/core/htmlclean.h"
#include "viewer/core/htmltext.h"

namespace lx::viewer {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string TimedName(const char* format, int second, int millisecond) {
    char name[32];
    std::snprintf(name, sizeof name, format, second % 100, millisecond % 1000);
    return name;
}

// A link to a file: its name both as target and as text.
std::string FileLink(const std::string& target, const std::string& name) {
    return "<A HREF=\"" + EscapeAttribute(target) + "\">" + EscapeText(name) + "</A><BR>\r\n";
}

// Whether the name begins with an address scheme ("JAVASCRIPT:"), which would make it a link
// target of its own; a drive letter ("C:") is one character and no scheme.
bool BeginsWithScheme(const std::string& name) {
    const size_t colon = name.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (!std::isalpha(c) && (i == 0 || (!std::isdigit(c) && c != '+' && c != '-' && c != '.')))
            return false;
    }
    return true;
}

// Attached web pages open in the browser itself; every other file through the viewer's own
// link form, which opens it with its program. A name that is an address goes that way too.
std::string AttachmentLine(const std::string& name) {
    const bool webPage = name.find(".HTM") != std::string::npos && !BeginsWithScheme(name);
    return FileLink(webPage ? name : "ftp:///[LORVEX]" + name, name);
}

} // namespace

std::string PageFileName(int second, int millisecond) {
    return TimedName("MSG%02d%03d.HTM", second, millisecond);
}

std::string BodyFileName(int second, int millisecond) {
    return TimedName("HTM%02d%03d.HTM", second, millisecond);
}

std::string PageUrl(const std::string& path) {
    std::string url = "file:///" + Upper(path);
    for (char& c : url)
        if (c == '\\') c = '/';
    return url;
}

MessagePageWriter::MessagePageWriter(std::string pagePath, PageTexts texts)
    : pagePath_(std::move(pagePath)), texts_(std::move(texts)) {}

bool MessagePageWriter::Begin(Stage expected) { return stage_ == expected; }

std::string MessagePageWriter::TakeOutput() { return std::exchange(output_, std::string()); }

void MessagePageWriter::WriteHead() {
    output_ += "<HTML><HEAD><TITLE>" + EscapeText(pagePath_) + "</TITLE></HEAD>\r\n";
    output_ += "<BODY\r\nTEXT=\"#000000\" LINK=\"#0000F0\" VLINK=\"#800040\"";
    output_ += "ALINK=\"#FF8000\" BGCOLOR=\"#FFFFFF\">\r\n";
}

bool MessagePageWriter::WriteRecord(const MessageRecord& record) {
    if (!Begin(Stage::Record)) return false;
    WriteHead();
    if (HasLoadError(record)) {
        output_ += EscapeHeader(texts_.partFailed) + "</BODY></HTML>\r\n";
        errorPage_ = true;
        stage_ = Stage::Complete;
        return true;
    }
    output_ += "<CENTER><B><U><FONT SIZE=\"+1\">MESSAGE FROM " + EscapeHeader(record.fromAdd) +
               "<BR></FONT></U></B></CENTER><P>\r\n";
    output_ += "<B><U>Message ID</U></B><BR>\r\n" + EscapeHeader(record.mesgId) + "<BR>\r\n";
    output_ += "<B><U>Date Prepared</U></B><BR>\r\n" + EscapeHeader(record.mesgDate) + "<BR>\r\n";
    output_ += "<B><U>Date Received</U></B><BR>\r\n" +
               EscapeText(FormatReceived(record.appDate, texts_.months)) + "<BR>\r\n";
    output_ +=
        "<B><U>Subject</U></B><BR>\r\n" + EscapeHeader(ShownSubject(record.subject)) + "<BR>\r\n";
    stage_ = Stage::ToList;
    return true;
}

// One line per recipient (a mail-to link to the name), the failure text when the list could not
// be read, then the end of the list.
void MessagePageWriter::WriteRecipients(const char* label, const RecipientList& list) {
    output_ += std::string("<B><U>") + label + "</U></B><BR>\r\n";
    for (const std::string& name : list.names)
        output_ +=
            "<A HREF=\"mailto:" + EscapeAttribute(name) + "\">" + EscapeHeader(name) + "</A><BR>";
    if (list.failed) output_ += EscapeHeader(texts_.partFailed);
    output_ += "<BR>";
}

bool MessagePageWriter::WriteToList(const RecipientList& to) {
    if (!Begin(Stage::ToList)) return false;
    WriteRecipients("To", to);
    stage_ = Stage::CcList;
    return true;
}

bool MessagePageWriter::WriteCcList(const RecipientList& cc) {
    if (!Begin(Stage::CcList)) return false;
    WriteRecipients("Cc", cc);
    output_ += "<HR>\r\n";
    stage_ = Stage::Attachments;
    return true;
}

bool MessagePageWriter::WriteAttachments(const AttachmentList& attachments) {
    if (!Begin(Stage::Attachments)) return false;
    output_ += "<B><U>File Attachments</U></B><BR>\r\n";
    if (attachments.count < 0) {
        output_ += EscapeHeader(texts_.partFailed);
    } else if (attachments.count == 0) {
        output_ += "No File Attachments<BR>\r\n";
    } else {
        for (int i = 0; i < attachments.count && i < int(kAttachmentSlots); ++i)
            output_ += AttachmentLine(attachments.slots[i].name);
    }
    output_ += "<HR>\r\n";
    stage_ = Stage::Body;
    return true;
}

bool MessagePageWriter::WriteBody(const MessageRecord& record, std::size_t bufferSize,
                                  bool messageMode, const std::string& htmlBodyPath,
                                  const BodyFileWriter& writeBodyFile) {
    if (!Begin(Stage::Body)) return false;
    const std::string body = BodyText(record, bufferSize);
    if (IsHtmlBody(body, messageMode) && writeBodyFile) {
        const std::string path = Upper(htmlBodyPath);
        htmlBody_ = writeBodyFile(path, CleanHtmlBody(body));
    }
    if (htmlBody_) {
        output_ += "The message was a HTML document that is converted to " +
                   FileLink(Upper(htmlBodyPath), Upper(htmlBodyPath));
    } else {
        output_ += ConvertPlainBody(body);
    }
    output_ += "<P><HR>\r\n</BODY></HTML>\r\n";
    stage_ = Stage::Complete;
    return true;
}

} // namespace lx::viewer
