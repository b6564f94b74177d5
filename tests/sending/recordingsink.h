// A MIME sink that writes down every preparer call, for the tests of what a run hands over.
#pragma once

#include <string>
#include <vector>

#include "mailer/transfer/logic/sendprep.h"

namespace lxtest {

// Writes down every call; `failData` makes the n-th Data call fail (from 1).
class RecordingSink : public lx::MimeSink {
public:
    std::vector<std::string> calls;
    int failData = 0;
    int endResult = 0;

    int NewMesg(const char* sender) override {
        return Note("NewMesg " + std::string(sender ? sender : "(null)"));
    }
    int To(const char* a) override { return Note("TO " + std::string(a)); }
    int Cc(const char* a) override { return Note("CC " + std::string(a)); }
    int File(const char* p) override { return Note("File " + std::string(p)); }
    int Subject(const char* s) override { return Note("Subj " + std::string(s)); }
    int Data(const char* b, int n) override {
        Note("Data " + std::string(b, static_cast<std::size_t>(n)));
        return ++data_ == failData ? -2 : 0;
    }
    int EndMesg() override {
        Note("EndMesg");
        return endResult;
    }

private:
    int Note(const std::string& call) {
        calls.push_back(call);
        return 0;
    }
    int data_ = 0;
};

} // namespace lxtest
