#include <cmath>
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "io.h"
#include "record.h"

namespace tool {

namespace {

bool sameFloat(float a, float b, double tolerance) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    if (a == b) return true;
    return std::fabs(static_cast<double>(a) - static_cast<double>(b)) <= tolerance;
}

std::string valuesText(const Field& f) {
    if (f.kind == Kind::Text) return "\"" + f.text + "\"";
    std::string out;
    const std::size_t n = std::min<std::size_t>(f.size(), 12);
    for (std::size_t i = 0; i < n; ++i)
        out += (i ? " " : "") + (f.kind == Kind::Float ? formatFloat(f.floats[i]) : std::to_string(f.ints[i]));
    return f.size() > n ? out + " ..." : out;
}

// The first way in which two records differ, or "" when they match.
std::string difference(const Record& a, const Record& b, double tolerance) {
    if (a.frame.letter != b.frame.letter)
        return "letter " + letterText(a.frame.letter) + " vs " + letterText(b.frame.letter);
    if (a.code != b.code) return "type " + typeName(a.code, a.frame.letter) + " vs " + typeName(b.code, b.frame.letter);
    if (a.frame.group != b.frame.group)
        return "group " + std::to_string(a.frame.group) + " vs " + std::to_string(b.frame.group);
    if (a.frame.group2 != b.frame.group2)
        return "group2 " + std::to_string(a.frame.group2) + " vs " + std::to_string(b.frame.group2);
    if (!a.hasFields || !b.hasFields) {
        if (a.frame.payload != b.frame.payload || a.frame.countByte != b.frame.countByte)
            return "raw bytes differ (" + std::to_string(a.frame.payload.size()) + " vs " +
                   std::to_string(b.frame.payload.size()) + " payload bytes)";
        return "";
    }
    for (const Field& fa : a.fields) {
        if (fa.derived) continue;
        const Field* fb = b.find(fa.name);
        if (!fb) return "field '" + fa.name + "' only in the first";
        bool same = fa.kind == fb->kind && fa.size() == fb->size() && fa.text == fb->text && fa.ints == fb->ints;
        for (std::size_t i = 0; same && i < fa.floats.size(); ++i)
            same = sameFloat(fa.floats[i], fb->floats[i], tolerance);
        if (!same) return "field '" + fa.name + "': " + valuesText(fa) + " vs " + valuesText(*fb);
    }
    for (const Field& fb : b.fields)
        if (!a.find(fb.name)) return "field '" + fb.name + "' only in the second";
    return "";
}

int run(const std::string& first, const std::string& second, double tolerance, std::size_t limit) {
    InputFile inputA(first);
    InputFile inputB(second);
    const Model a = readModel(inputA.path(), inputA.label());
    const Model b = readModel(inputB.path(), inputB.label());
    std::size_t shown = 0, total = 0;
    auto report = [&](const std::string& line) {
        if (shown < limit) std::printf("%s\n", line.c_str());
        shown += shown < limit;
        ++total;
    };
    const std::size_t common = std::min(a.records.size(), b.records.size());
    for (std::size_t i = 0; i < common; ++i) {
        const std::string d = difference(a.records[i], b.records[i], tolerance);
        if (d.empty()) continue;
        report("record " + std::to_string(i) + " (offset " + std::to_string(a.records[i].frame.offset) + " / " +
               std::to_string(b.records[i].frame.offset) + "): " + d);
    }
    if (a.records.size() != b.records.size())
        report("record count " + std::to_string(a.records.size()) + " vs " + std::to_string(b.records.size()));
    if (a.scan.damaged != b.scan.damaged || (a.scan.damaged && a.scan.stopReason != b.scan.stopReason))
        report("end of records: " + (a.scan.damaged ? a.scan.stopReason : "clean") + " vs " +
               (b.scan.damaged ? b.scan.stopReason : "clean"));
    if (total > shown) std::printf("... %zu more difference(s)\n", total - shown);
    return total ? 1 : 0;
}

}  // namespace

void addDiff(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("diff", "Compare two GMD files record by record; exit 0 equal, 1 different, 2 unreadable.");
    auto first = std::make_shared<std::string>();
    auto second = std::make_shared<std::string>();
    auto tolerance = std::make_shared<double>(0.0);
    auto limit = std::make_shared<std::size_t>(10);
    cmd->add_option("A", *first, "First GMD file (- for standard input)")->required();
    cmd->add_option("B", *second, "Second GMD file")->required();
    cmd->add_option("-t,--tolerance", *tolerance, "Largest absolute difference of two numbers that still counts as equal")
        ->check(CLI::NonNegativeNumber);
    cmd->add_option("-n,--max", *limit, "Print at most this many differences")->check(CLI::PositiveNumber);
    cmd->callback([&status, first, second, tolerance, limit] { status = run(*first, *second, *tolerance, *limit); });
}

}  // namespace tool
