// One message section of the outgoing spool file, read and checked whole before any of it goes
// to the server: its envelope, and where its data lies. The data's end is the byte count of its
// data-count line, never a line of the message itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "netlib/core/spoolreader.h"

namespace lx::net {

struct SpoolMessage {
    std::string senderLine;                  // "FROM:<address>"
    std::vector<std::string> recipientLines; // "TO:<address>", in the order of the file
    std::int64_t dataAt = 0;                 // file offset of the first data byte
    std::int64_t dataTotal = 0;              // the data-count line's byte count
    std::int64_t endAt = 0;                  // file offset just past its "END DATA" line
};

enum class SectionRead {
    Whole,  // the message holds together; the reader stands at its end
    Broken, // it does not (a line missing or out of place, a wrong byte count, an over-long
            // line); the reader stands after its "BEGIN MESSAGE HEADER" line
    NoMore, // the file holds no further message
};

// Finds the next "BEGIN MESSAGE HEADER" line and reads that message section.
SectionRead readSection(SpoolReader& reader, SpoolMessage& message);

// Whether a line is a sender line: "F" first and ":" fifth.
bool isSenderLine(const std::string& line);

} // namespace lx::net
