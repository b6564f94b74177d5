// libFuzzer target: the outgoing spool file of any bytes as the SMTP session reads it, message
// section by message section. Every section read whole lies inside the file, names its sender
// and recipients by their lines, and its data reads out in exactly its byte count; the reader
// always moves on, so a damaged file cannot hold the session in one place.
#include <cstdint>
#include <string>

#include "fuzz/common/fuzzutil.h"
#include "netlib/core/spoolmessage.h"
#include "netlib/core/spoolreader.h"
#include "tests/netlib/fakeport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    lx::net::test::MemFile file(bytes);
    lx::net::SpoolReader reader;
    reader.attach(&file);
    std::string line;
    reader.next(line); // the count line
    reader.next(line); // the first sender line
    const auto fileSize = static_cast<std::int64_t>(size);
    for (int section = 0; section < 10000; ++section) {
        const std::int64_t before = reader.tell();
        lx::net::SpoolMessage m;
        const lx::net::SectionRead r = lx::net::readSection(reader, m);
        if (r == lx::net::SectionRead::NoMore) break;
        FUZZ_CHECK(reader.tell() > before && reader.tell() <= fileSize);
        if (r != lx::net::SectionRead::Whole) continue;
        FUZZ_CHECK(lx::net::isSenderLine(m.senderLine));
        for (const std::string& to : m.recipientLines)
            FUZZ_CHECK(to.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(m.senderLine.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(0 <= m.dataAt && m.dataAt <= m.endAt && m.endAt <= fileSize);
        FUZZ_CHECK(m.dataTotal >= 0 && m.dataAt + m.dataTotal <= m.endAt);
        // The data reads out in exactly its count, as the session sends it.
        const std::int64_t end = m.endAt;
        FUZZ_CHECK(reader.seek(m.dataAt));
        std::int64_t left = m.dataTotal, lines = 0;
        while (left > 0 && lines < 100000) {
            const std::int64_t had = left;
            const lx::net::SpoolReader::Read got = reader.readData(line, left);
            FUZZ_CHECK(got == lx::net::SpoolReader::Read::Line);
            FUZZ_CHECK(left < had && left >= 0);
            // A lone CR would end the line early for some servers.
            FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
            ++lines;
        }
        FUZZ_CHECK(left == 0);
        FUZZ_CHECK(reader.seek(end));
    }
    return 0;
}
