// The soak run's figures: what the process holds after each stage, and the verdict on how they
// grew between an early and a late checkpoint. A fixed slack absorbs caches and first-use
// allocations; growth beyond it, which grows with the message count, is a leak.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lx::soak {

struct ProcessFigures {
    std::uint64_t privateBytes = 0; // committed private memory
    std::uint64_t workingSet = 0;
    std::uint32_t handles = 0;    // kernel handles
    std::uint32_t gdiObjects = 0; // GDI objects of the process
    std::uint32_t userObjects = 0;
};

struct StageFigures {
    std::string stage; // "retrieve", "list", "search", "move-delete", "print"
    long messages = 0; // messages retrieved so far
    ProcessFigures figures;
};

struct GrowthLimits {
    std::uint64_t memorySlack = 48ull << 20; // bytes, private bytes and working set alike
    std::uint32_t handleSlack = 64;
    std::uint32_t gdiSlack = 64;
    std::uint32_t userSlack = 32;
};

struct GrowthFinding {
    std::string stage;
    std::string measure; // "private bytes", "working set", "handles", "GDI objects", ...
    std::uint64_t early = 0, late = 0;
};

// Every measure of every stage that grew by more than its slack from the checkpoint at `early`
// messages to the one at `late`. A stage missing at either checkpoint is a finding too: the run
// did not get there.
std::vector<GrowthFinding> UnboundedGrowth(const std::vector<StageFigures>& all, long early,
                                           long late, const GrowthLimits& limits);

// One line of figures, as the run prints it after each stage.
std::string FiguresLine(const StageFigures& s);
// The table of the two checkpoints side by side, stage by stage (Markdown).
std::string CheckpointTable(const std::vector<StageFigures>& all, long early, long late);
std::string FindingLine(const GrowthFinding& f);

} // namespace lx::soak
