// The statements the loader reads one message with, in the order it runs them.
#pragma once

#include <cstdint>
#include <string>

namespace lx::viewer {

// The message row: FolderNum, MesgId, MesgDate, MailData, MesgSize, FromAdd, Subject, AppDate.
std::string SqlMessageRow(std::int32_t mesgNum);

// The three lists read after the row.
enum class MessageList { To, Cc, Files };
// "SELECT COUNT(*) FROM <table> WHERE MesgNum = n"
std::string SqlListCount(MessageList list, std::int32_t mesgNum);
// "SELECT <name column> FROM <table> WHERE MesgNum = n"
std::string SqlListNames(MessageList list, std::int32_t mesgNum);

} // namespace lx::viewer
