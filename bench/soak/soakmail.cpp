#include "bench/soak/soakmail.h"

#include <cstdio>

namespace lx::soak {

namespace {

const char* const kWords[] = {"ledger",  "harbour", "quarry",  "lantern", "meadow",
                              "orchard", "copper",  "thistle", "granite", "willow"};

std::string Line(long serial, int line) {
    std::string text;
    for (int w = 0; w < 9; ++w) {
        if (w) text += ' ';
        text += kWords[(serial + line * 3 + w) % 10];
    }
    return text + "\n";
}

} // namespace

std::string SoakMessage(long serial) {
    char head[512];
    std::snprintf(head, sizeof head,
                  "From: Sender %ld <sender%ld@soak.example>\n"
                  "To: Reader <reader@soak.example>\n"
                  "Cc: Second <second%ld@soak.example>\n"
                  "Subject: Soak %ld topic %ld\n"
                  "Date: Thu, 10 Dec 2026 10:00:00 +0000\n"
                  "Message-ID: <soak-%ld@soak.example>\n"
                  "MIME-Version: 1.0\n",
                  serial % 40, serial % 40, serial % 7, serial, serial % 10, serial);
    std::string message = head;
    std::string body;
    for (int line = 0; line < 24; ++line) body += Line(serial, line);
    if (serial % 10 != 3) {
        message += "Content-Type: text/plain; charset=us-ascii\n\n" + body;
        return message;
    }
    char name[64];
    std::snprintf(name, sizeof name, "note-%ld.txt", serial);
    message += "Content-Type: multipart/mixed; boundary=\"soak-part\"\n\n"
               "--soak-part\nContent-Type: text/plain\n\n" +
               body + "--soak-part\nContent-Type: application/octet-stream; name=\"" + name +
               "\"\nContent-Transfer-Encoding: base64\n\n"
               "U29hayBhdHRhY2htZW50OiBhIGZldyBieXRlcyB0aGF0IGxhbmQgaW4gdGhlIERhdGEgZm9s\n"
               "ZGVyIGFuZCBhIEZpbGVzIHJvdyBpbiB0aGUgc3RvcmUu\n"
               "--soak-part--\n";
    return message;
}

} // namespace lx::soak
