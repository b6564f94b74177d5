#include "bench/soak/soakfigures.h"

#include <cstdio>

namespace lx::soak {

namespace {

const StageFigures* Find(const std::vector<StageFigures>& all, const std::string& stage,
                         long messages) {
    for (const StageFigures& s : all)
        if (s.stage == stage && s.messages == messages) return &s;
    return nullptr;
}

// The stages in the order the run first reached them.
std::vector<std::string> Stages(const std::vector<StageFigures>& all) {
    std::vector<std::string> names;
    for (const StageFigures& s : all) {
        bool known = false;
        for (const std::string& n : names) known = known || n == s.stage;
        if (!known) names.push_back(s.stage);
    }
    return names;
}

struct Measure {
    const char* name;
    std::uint64_t (*value)(const ProcessFigures&);
    std::uint64_t (*slack)(const GrowthLimits&);
};

const Measure kMeasures[] = {
    {"private bytes", [](const ProcessFigures& f) { return f.privateBytes; },
     [](const GrowthLimits& l) { return l.memorySlack; }},
    {"working set", [](const ProcessFigures& f) { return f.workingSet; },
     [](const GrowthLimits& l) { return l.memorySlack; }},
    {"handles", [](const ProcessFigures& f) { return std::uint64_t{f.handles}; },
     [](const GrowthLimits& l) { return std::uint64_t{l.handleSlack}; }},
    {"GDI objects", [](const ProcessFigures& f) { return std::uint64_t{f.gdiObjects}; },
     [](const GrowthLimits& l) { return std::uint64_t{l.gdiSlack}; }},
    {"USER objects", [](const ProcessFigures& f) { return std::uint64_t{f.userObjects}; },
     [](const GrowthLimits& l) { return std::uint64_t{l.userSlack}; }},
};

std::string Mib(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

} // namespace

std::vector<GrowthFinding> UnboundedGrowth(const std::vector<StageFigures>& all, long early,
                                           long late, const GrowthLimits& limits) {
    std::vector<GrowthFinding> findings;
    for (const std::string& stage : Stages(all)) {
        const StageFigures* a = Find(all, stage, early);
        const StageFigures* b = Find(all, stage, late);
        if (!a || !b) {
            findings.push_back({stage, "missing checkpoint", a ? 1u : 0u, b ? 1u : 0u});
            continue;
        }
        for (const Measure& m : kMeasures) {
            const std::uint64_t x = m.value(a->figures), y = m.value(b->figures);
            if (y > x && y - x > m.slack(limits)) findings.push_back({stage, m.name, x, y});
        }
    }
    return findings;
}

std::string FiguresLine(const StageFigures& s) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "%-12s %6ld messages  private %10s  working set %10s  handles %5u  GDI %5u  "
                  "USER %4u",
                  s.stage.c_str(), s.messages, Mib(s.figures.privateBytes).c_str(),
                  Mib(s.figures.workingSet).c_str(), s.figures.handles, s.figures.gdiObjects,
                  s.figures.userObjects);
    return line;
}

std::string CheckpointTable(const std::vector<StageFigures>& all, long early, long late) {
    std::string table =
        "| stage | messages | private bytes | working set | handles | GDI | USER |\n"
        "|---|---:|---:|---:|---:|---:|---:|\n";
    for (const std::string& stage : Stages(all))
        for (long n : {early, late}) {
            const StageFigures* s = Find(all, stage, n);
            if (!s) continue;
            char row[200];
            std::snprintf(row, sizeof row, "| %s | %ld | %s | %s | %u | %u | %u |\n", stage.c_str(),
                          n, Mib(s->figures.privateBytes).c_str(),
                          Mib(s->figures.workingSet).c_str(), s->figures.handles,
                          s->figures.gdiObjects, s->figures.userObjects);
            table += row;
        }
    return table;
}

std::string FindingLine(const GrowthFinding& f) {
    char line[200];
    std::snprintf(line, sizeof line, "%s: %s grew from %llu to %llu", f.stage.c_str(),
                  f.measure.c_str(), static_cast<unsigned long long>(f.early),
                  static_cast<unsigned long long>(f.late));
    return line;
}

} // namespace lx::soak
