#include "tests/faults/faultpeer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/retrieval/mailsamples.h"

namespace lxtest {
namespace {

std::string StateFile(const std::string& name) {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/faultpeers/" + name;
}

std::string EmlName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "smtp-%03d.eml", n);
    return StateFile(name);
}

} // namespace

void SetPop3Fault(const std::string& line) {
    ASSERT_TRUE(WriteBytes(StateFile("pop3-fault"), line + "\n")) << "fault servers not started";
}

int DroppedServerMessages() {
    int n = 0;
    while (::GetFileAttributesA(EmlName(n + 1).c_str()) != INVALID_FILE_ATTRIBUTES) ++n;
    return n;
}

std::string DroppedServerMessage(int n) { return ReadBytes(EmlName(n)); }

} // namespace lxtest
