// The message page: the HTML file a browser control shows for the message. The writer is handed
// the message stage by stage (record, To list, Cc list, attachments, body), in that order, as
// the loader completes each, and appends that stage's part of the page; the caller writes each
// new part to the page file as it comes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "viewer/core/msgrecord.h"

namespace lx::viewer {

// The page's file name for the local time the writer starts at: "MSG%02d%03d.HTM"; the
// separate HTML body file: "HTM%02d%03d.HTM" (second and millisecond).
std::string PageFileName(int second, int millisecond);
std::string BodyFileName(int second, int millisecond);

// The URL a browser control is sent to for a page path: "file:///" + the path upper-cased,
// backslashes turned into slashes.
std::string PageUrl(const std::string& path);

// Catalogue texts the page uses.
struct PageTexts {
    MonthNames months;
    std::string partFailed; // shown for a part of the message that could not be read
};

// Creates the separate file for an HTML body with the given content; false when the file
// exists already or cannot be written (the body is then shown as text).
using BodyFileWriter = std::function<bool(const std::string& path, const std::string& content)>;

class MessagePageWriter {
public:
    MessagePageWriter(std::string pagePath, PageTexts texts);

    // Each stage returns false (and writes nothing) when it comes out of order or the page is
    // already complete.
    // The record: the head and the message's headers; for a record holding a load error the
    // short error page, which completes the page.
    bool WriteRecord(const MessageRecord& record);
    bool WriteToList(const RecipientList& to);
    bool WriteCcList(const RecipientList& cc);
    bool WriteAttachments(const AttachmentList& attachments);
    // The body (MesgSize bytes, at most bufferSize). An HTML body goes, cleaned of script and
    // active content, into `htmlBodyPath` (upper-cased) and the page links to it.
    bool WriteBody(const MessageRecord& record, std::size_t bufferSize, bool messageMode,
                   const std::string& htmlBodyPath, const BodyFileWriter& writeBodyFile);

    // The page text written since the last call.
    std::string TakeOutput();
    bool Complete() const { return stage_ == Stage::Complete; }
    bool ErrorPage() const { return errorPage_; }
    bool HtmlBodyWritten() const { return htmlBody_; }

private:
    enum class Stage { Record, ToList, CcList, Attachments, Body, Complete };

    bool Begin(Stage expected);
    void WriteHead();
    void WriteRecipients(const char* label, const RecipientList& list);

    std::string pagePath_;
    PageTexts texts_;
    std::string output_;
    Stage stage_ = Stage::Record;
    bool errorPage_ = false;
    bool htmlBody_ = false;
};

} // namespace lx::viewer
