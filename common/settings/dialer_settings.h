// AUTODIAL.STP: the dial-up and automatic mail check settings record (928 bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

constexpr std::size_t kDialerRecordSize = 928;
constexpr char kDialerFile[] = "AUTODIAL.STP";
constexpr int kDialerMailboxes = 10;

struct DialerSettings {
    std::int32_t checkInterval = 0; // seconds, 0 = automatic checking off
    std::int32_t sendToo = 0;
    std::int32_t localNetwork = 0;
    char phoneBookEntry[256] = {};
    char dialUser[256] = {};
    char dialPassword[256] = {}; // stored as typed
    char selectedMailboxes[kDialerMailboxes][13] = {};
    std::int32_t selectedCount = 0;
    std::int32_t checkCountdown = 0; // seconds until the next check
};

// The number of selected mailbox names to use: the stored count clamped to 0..10.
int DialerSelectedCount(const DialerSettings& s);

// image must hold kDialerRecordSize bytes; the last 10 bytes are written as zeros.
void EncodeDialer(const DialerSettings& s, std::uint8_t* image);
DialerSettings DecodeDialer(const std::uint8_t* image);

// Clears the record, then reads what the file holds. Returns the number of bytes read, -1 when the
// file cannot be opened (the record stays all zeros).
long ReadDialerFile(const std::string& folder, DialerSettings& s);

// True only when all 928 bytes were written.
bool WriteDialerFile(const std::string& folder, const DialerSettings& s);

// The start-up rule for a record just read (bytesRead as returned by ReadDialerFile). Only a
// complete record is adjusted: an interval of 60000 or more was stored in milliseconds and is
// divided by 1000, one of 1..59 is raised to 60, and the countdown starts at the interval. Anything
// else leaves the fields as read with the countdown 0. Returns the countdown.
std::int32_t AdjustDialerAtStartup(DialerSettings& s, long bytesRead);

// Read and adjust in one step, as start-up does.
DialerSettings LoadDialerAtStartup(const std::string& folder);

} // namespace lx
