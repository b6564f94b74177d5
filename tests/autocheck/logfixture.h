// A catalogue whose texts name their keys, and a log in a scratch folder, for the automatic
// check's rules.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/log/logwriter.h"

namespace lxtest {

class CheckLogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // The lines written so far (CR LF split off), the log closed first when asked.
    std::vector<std::string> Lines();

    std::string dir;
    std::string path;
    lx::MessageCatalog catalog;
    lx::LogWriter log;
};

} // namespace lxtest
