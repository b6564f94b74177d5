// Writes a message page and its HTML body file for a hostile message into a folder, so that a
// real browser can show that nothing of the message runs: page_sample FOLDER.
#include <fstream>
#include <iostream>
#include <string>

#include "viewer/core/pagewriter.h"

using namespace lx::viewer;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: page_sample FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string pagePath = folder + "/MSG01001.HTM";
    // The writer upper-cases the body path as Windows paths are; the sample writes the file
    // under the folder's own spelling.
    const std::string bodyPath = folder + "/HTM01001.HTM";
    const std::string body = "<HTML><HEAD><script>document.title='owned'</script></HEAD>"
                             "<BODY onload=\"document.body.innerHTML='owned'\">"
                             "<P>Hello <A HREF=\"javascript:alert(1)\">click</A></P>"
                             "<IMG SRC=x onerror=alert(2)><svg onload=alert(3)></svg>"
                             "<iframe src=\"javascript:alert(4)\"></iframe></BODY></HTML>";
    MessageRecord record;
    SetRecordTexts(record, "<1@x><script>alert(5)</script>", "Thu, 10 Dec 2026", body, 8192,
                   "\"><script>alert(6)</script>", "<script>alert(1)</script>&&N& ");
    record.mesgSize = static_cast<std::uint32_t>(body.size());
    record.appDate = AppDate{2026, 12, 10, 8, 0, 0, 0};
    RecipientList to;
    AddRecipient(to, "\"><img src=x onerror=alert(7)>");
    AttachmentList files;
    AddAttachment(files, "X\"><SCRIPT>ALERT(8)</SCRIPT>.HTM");

    PageTexts texts;
    texts.partFailed = "Error: part missing";
    MessagePageWriter writer(pagePath, texts);
    writer.WriteRecord(record);
    writer.WriteToList(to);
    writer.WriteCcList(RecipientList());
    writer.WriteAttachments(files);
    writer.WriteBody(record, 8192, true, bodyPath,
                     [&](const std::string&, const std::string& content) {
                         std::ofstream out(bodyPath, std::ios::binary);
                         out << content;
                         return out.good();
                     });
    std::ofstream(pagePath, std::ios::binary) << writer.TakeOutput();
    return writer.HtmlBodyWritten() ? 0 : 1;
}
