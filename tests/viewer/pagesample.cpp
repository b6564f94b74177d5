// Writes the pages of two hostile messages into a folder, so that a real browser can show that
// nothing of the messages runs: MSG01001.HTM with its HTML body file HTM01001.HTM, and
// MSG01002.HTM of a plain body full of markup and links. page_sample FOLDER.
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
    if (!writer.HtmlBodyWritten()) return 1;

    // The scripts spell their mark apart: only a script that ran puts the whole word in the page.
    const std::string plain = "<script>document.title='ow'+'ned'</script>\r\n"
                              "http://x.org/\"><script>document.title='ow'+'ned'</script>\r\n"
                              "www.x.org/'onmouseover='alert(1)\r\n"
                              "<img src=x onerror=\"document.body.innerHTML='ow'+'ned'\">\r\n"
                              "<a href=\"javascript:alert(2)\">here</a>\r\n";
    SetRecordTexts(record, "<2@x>", "Thu, 10 Dec 2026", plain, 8192, "ann@example.org",
                   "<b onmouseover=alert(3)>hi</b>&&N& ");
    record.mesgSize = static_cast<std::uint32_t>(plain.size());
    AttachmentList others;
    AddAttachment(others, "javascript:alert(4)//.htm");
    AddAttachment(others, "C:\\DATA\\X\" ONMOUSEOVER=\"ALERT(5).TXT");
    MessagePageWriter second(folder + "/MSG01002.HTM", texts);
    second.WriteRecord(record);
    second.WriteToList(to);
    second.WriteCcList(to);
    second.WriteAttachments(others);
    second.WriteBody(record, 8192, true, "", BodyFileWriter());
    std::ofstream(folder + "/MSG01002.HTM", std::ios::binary) << second.TakeOutput();
    return second.Complete() ? 0 : 1;
}
