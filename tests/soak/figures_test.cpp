// The soak run's verdict: growth within the slack passes, growth beyond it in any measure of any
// stage fails, and a stage the run never reached at a checkpoint fails too.
#include "bench/soak/soakfigures.h"
#include "bench/soak/soakmail.h"

#include <gtest/gtest.h>

#include <cctype>

namespace lx::soak {
namespace {

constexpr std::uint64_t kMiB = 1 << 20;

ProcessFigures Base() { return ProcessFigures{100 * kMiB, 120 * kMiB, 300, 200, 40}; }

struct GrowthCase {
    const char* name;
    ProcessFigures late;
    std::vector<std::string> measures; // the findings expected, in measure order
};

class Growth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(Growth, FindsWhatOutgrewItsSlack) {
    const GrowthCase& c = GetParam();
    const std::vector<StageFigures> all = {{"list", 1000, Base()}, {"list", 20000, c.late}};
    std::vector<std::string> measures;
    for (const GrowthFinding& f : UnboundedGrowth(all, 1000, 20000, GrowthLimits{})) {
        EXPECT_EQ(f.stage, "list");
        measures.push_back(f.measure);
    }
    EXPECT_EQ(measures, c.measures);
}

ProcessFigures With(void (*change)(ProcessFigures&)) {
    ProcessFigures f = Base();
    change(f);
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Soak, Growth,
    ::testing::Values(GrowthCase{"unchanged", Base(), {}},
                      GrowthCase{
                          "shrunk", With([](ProcessFigures& f) { f.privateBytes = kMiB; }), {}},
                      GrowthCase{"memory within the slack",
                                 With([](ProcessFigures& f) {
                                     f.privateBytes += 48 * kMiB;
                                     f.workingSet += 48 * kMiB;
                                 }),
                                 {}},
                      GrowthCase{"private bytes beyond the slack",
                                 With([](ProcessFigures& f) { f.privateBytes += 48 * kMiB + 1; }),
                                 {"private bytes"}},
                      GrowthCase{"working set beyond the slack",
                                 With([](ProcessFigures& f) { f.workingSet += 200 * kMiB; }),
                                 {"working set"}},
                      GrowthCase{"handles: a leak per batch",
                                 With([](ProcessFigures& f) { f.handles += 65; }),
                                 {"handles"}},
                      GrowthCase{"GDI objects: a leak per printed message",
                                 With([](ProcessFigures& f) { f.gdiObjects += 400; }),
                                 {"GDI objects"}},
                      GrowthCase{"USER objects and handles together",
                                 With([](ProcessFigures& f) {
                                     f.userObjects += 33;
                                     f.handles += 1000;
                                 }),
                                 {"handles", "USER objects"}}),
    [](const ::testing::TestParamInfo<GrowthCase>& info) {
        std::string name;
        for (const char* p = info.param.name; *p; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        return name;
    });

TEST(SoakVerdict, AStageMissingAtACheckpointIsAFinding) {
    const std::vector<StageFigures> all = {
        {"list", 1000, Base()}, {"print", 1000, Base()}, {"list", 20000, Base()}};
    const auto findings = UnboundedGrowth(all, 1000, 20000, GrowthLimits{});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].stage, "print");
    EXPECT_EQ(findings[0].measure, "missing checkpoint");
}

TEST(SoakVerdict, TableShowsBothCheckpointsOfEachStage) {
    ProcessFigures late = Base();
    late.handles = 310;
    const std::vector<StageFigures> all = {{"retrieve", 1000, Base()},
                                           {"list", 1000, Base()},
                                           {"retrieve", 10000, Base()},
                                           {"retrieve", 20000, late},
                                           {"list", 20000, Base()}};
    const std::string table = CheckpointTable(all, 1000, 20000);
    EXPECT_NE(table.find("| retrieve | 1000 | 100.0 MiB | 120.0 MiB | 300 | 200 | 40 |"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("| retrieve | 20000 | 100.0 MiB | 120.0 MiB | 310 |"), std::string::npos);
    EXPECT_EQ(table.find("10000"), std::string::npos); // only the two checkpoints compared
    EXPECT_LT(table.find("| retrieve | 20000"), table.find("| list | 1000"));
}

TEST(SoakMail, MessagesDifferOnlyByTheirSerial) {
    const std::string a = SoakMessage(13), b = SoakMessage(23), plain = SoakMessage(14);
    EXPECT_NE(a.find("name=\"note-13.txt\""), std::string::npos);
    EXPECT_EQ(plain.find("multipart"), std::string::npos);
    EXPECT_NE(a.find("Message-ID: <soak-13@soak.example>"), std::string::npos);
    EXPECT_EQ(a.size(), b.size()); // same shape, same size: growth comes from the count alone
    EXPECT_NE(SoakMessage(17).find(kSearchTopic), std::string::npos);
    EXPECT_EQ(a.find('\r'), std::string::npos); // the maildir keeps LF line ends
}

} // namespace
} // namespace lx::soak
