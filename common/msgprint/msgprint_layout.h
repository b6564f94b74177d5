// Printed messages, as both programs print them: the texts of a printed message (title, header
// lines, date and page texts), where its parts sit on the page, and which piece of the body goes
// on which page. Portable; the drawing is printjob.cpp.
#pragma once
#include "common/schema/sqlforms.h"
#include "printengine/core/paginate.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lx {

// One message as it is printed.
struct PrintedMessage {
    long mesgNum = 0;
    bool incoming = false; // MesgType "I"
    std::string address;   // the sender of a retrieved message
    std::string firstTo;   // the first To recipient of an own message, may be empty
    std::string subject;   // without the flag suffix
    std::string mesgId;
    std::string mesgDate;
    StoreTime appDate;
    std::string body;
};

// The catalogue keys of the texts of a printed message; each program has its own.
struct MessagePrintKeys {
    const char* documentName;
    const char* footer;
    const char* titleFrom;
    const char* titleTo;
    std::array<const char*, 4> labels;
    const char* statusFormat;
    const char* dateFormat;
    const char* pageFormat;
    const char* placeholder; // nullptr: no placeholder text
    const char* monthPrefix; // the month names are this and 1 to 12
};
// The main program's message list (MAILMESS_CPP_33 to _43) and the viewer (MAINFRM_CPP_28 to
// _37, which prints every message as a received one).
extern const MessagePrintKeys kMessageListPrintKeys;
extern const MessagePrintKeys kViewerPrintKeys;

// Month names: entry 0 empty, entries 1 to 12 at most this long.
constexpr std::size_t kPrintMonthNameLen = 7;
using PrintMonthNames = std::array<std::string, 13>;

// The catalogue texts of message printing.
struct MessagePrintTexts {
    std::string documentName;
    std::string footer; // printed in the middle of the footer band
    std::string titleFrom, titleTo;
    std::array<std::string, 4> labels; // message id, date sent, date received, subject
    std::string statusFormat;          // page, count
    std::string dateFormat;            // month name, day, year, hour, minute, second
    std::string pageFormat;            // page, count
    std::string placeholder;           // what an own message has no value for
    PrintMonthNames months;
};
// Reads them through `text` (a catalogue look-up by key).
MessagePrintTexts LoadMessagePrintTexts(const MessagePrintKeys& keys,
                                        const std::function<std::string(const char* key)>& text);

std::string MessageTitle(const PrintedMessage& m, const MessagePrintTexts& t);
// Label and value of the four header lines of the first page.
std::array<std::pair<std::string, std::string>, 4> HeaderLines(const PrintedMessage& m,
                                                               const MessagePrintTexts& t);
std::string PrintDateText(const MessagePrintTexts& t, const StoreTime& when);
std::string PageText(const std::string& format, int page, int count);

// The page frame every printed page shares (messages, the address book, a mailing list): the
// title centred at the top, and at the foot a light-grey band with the date, the footer text and
// the page number. Sizes measured on the printer, in hundredths of an inch.
struct PageFrameParts {
    long titleWidth = 0, titleHeight = 0; // the title, head font, one line
    long dateWidth = 0, dateHeight = 0;   // a sample date, foot font
    long footerWidth = 0, footerHeight = 0;
    long pageWidth = 0, pageHeight = 0; // a sample page text, foot font
};
struct PageFrameLayout {
    print::PageRect title, date, footer, pageNumber, band;
};
PageFrameLayout LayoutPageFrame(const print::PageRect& page, const PageFrameParts& m);

// A message's page adds the header block's line heights.
struct MeasuredParts : PageFrameParts {
    long labelHeight = 0; // a label, tags font
    long valueHeight = 0; // a value, text font
};

struct MessagePageLayout : PageFrameLayout {
    print::PageRect header;
    print::PageRect firstBody; // below the header block
    print::PageRect laterBody; // below the title
};
MessagePageLayout LayoutMessagePage(const print::PageRect& page, const MeasuredParts& m);

// Finds the piece of the body from `position` that fills `rect` (the engine's GetTextForPage).
using PieceFinder =
    std::function<bool(std::size_t position, const print::PageRect& rect, std::size_t* piece)>;
// The start of every page's piece of a body `length` bytes long: the first page in `first`,
// the others in `later`. A body that is empty still has one page. False when a piece cannot be
// found or does not advance.
bool PlanBodyPages(std::size_t length, const print::PageRect& first, const print::PageRect& later,
                   const PieceFinder& find, std::vector<std::size_t>* starts);

} // namespace lx
