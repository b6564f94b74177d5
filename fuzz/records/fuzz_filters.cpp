// libFuzzer target: a filter file LORVEX.FLT of any bytes, applied to a message of any texts,
// then saved and read back. The input is the file's bytes followed by the message's texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "common/settings/fixed_text.h"
#include "fuzz/common/fuzzutil.h"
#include "mailer/transfer/logic/filterfile.h"

namespace {

using lxfuzz::Terminated;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string file = in.ConsumeRandomLengthString(64 * 1024);
    lx::FilterMessage message;
    message.from = in.ConsumeRandomLengthString(200);
    message.subject = in.ConsumeRandomLengthString(300);
    message.text = in.ConsumeRemainingBytesAsString();

    const lxfuzz::ScratchFolder& folder = lxfuzz::Scratch();
    folder.Empty();
    folder.Write(lx::kFilterFile, file.data(), file.size());
    const lx::FilterList list = lx::FilterList::Load(folder.File(lx::kFilterFile));
    FUZZ_CHECK(!list.Unreadable());
    // Never more rules than the file holds in full.
    const std::size_t body = file.size() > lx::kFilterHeaderSize ? file.size() - 64 : 0;
    FUZZ_CHECK(list.Count() <= body / lx::kOldFilterRuleSize);

    const lx::FilterMessage upper = lx::UpperFilterMessage(message);
    int firstFile = -1;
    bool anyDelete = false;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const lx::FilterRule& rule = list.At(i);
        FUZZ_CHECK(Terminated(rule.name) && Terminated(rule.address) && Terminated(rule.subject));
        FUZZ_CHECK(Terminated(rule.message) && Terminated(rule.folderName));
        const bool matches = lx::FilterRuleMatches(rule, upper);
        // A rule without any text to look for never matches: it must not swallow every message.
        if (!rule.address[0] && !rule.subject[0] && !rule.message[0]) FUZZ_CHECK(!matches);
        if (matches && rule.action == lx::kFilterActionDelete) anyDelete = true;
        if (matches && rule.action == lx::kFilterActionFile && firstFile < 0)
            firstFile = static_cast<int>(i);
    }
    FUZZ_CHECK(list.DeleteMatch(message) == anyDelete);
    std::int32_t folderNum = 0;
    std::string folderName;
    const bool filed = list.FolderMatch(message, &folderNum, &folderName);
    FUZZ_CHECK(filed == (firstFile >= 0));
    if (filed) {
        const lx::FilterRule& rule = list.At(static_cast<std::size_t>(firstFile));
        FUZZ_CHECK(folderNum == rule.folderNum && folderName == lx::TextOf(rule.folderName));
        FUZZ_CHECK(folderName.size() <= 16);
    }

    // Saved in the current layout and read back, the list is the same.
    FUZZ_CHECK(list.Save());
    const lx::FilterList back = lx::FilterList::Load(folder.File(lx::kFilterFile));
    FUZZ_CHECK(back.Count() == list.Count());
    for (std::size_t i = 0; i < list.Count(); ++i)
        FUZZ_CHECK(
            lxfuzz::SameImage<lx::kFilterRuleSize>(back.At(i), list.At(i), lx::EncodeFilterRule));

    // Editing: a rule named like the message's sender is added once, replaced, removed.
    lx::FilterList edited = back;
    lx::FilterRule rule;
    lx::CopyText(rule.name, message.from.c_str());
    lx::CopyText(rule.subject, message.subject.c_str());
    const bool added = edited.Append(rule);
    FUZZ_CHECK(!added || edited.Count() == back.Count() + 1);
    FUZZ_CHECK(!edited.Append(rule));
    if (added) {
        const int at = edited.Find(rule.name);
        FUZZ_CHECK(at >= 0 && edited.Replace(at, rule));
        edited.Remove(at);
        FUZZ_CHECK(edited.Count() == back.Count());
    }
    return 0;
}
