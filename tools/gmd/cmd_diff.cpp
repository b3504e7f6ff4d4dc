#include <cmath>
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "io.h"
#include "model/names.h"
#include "model/reader.h"
#include <unordered_map>

namespace tool {

namespace {

using gmdk::Field;
using gmdk::Kind;
using gmdk::Record;
using gmdk::formatFloat;
using gmdk::letterText;
using gmdk::typeName;

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

// What a record is, independent of where it lies: letter, type, group bytes
// and its fields, or its raw bytes; derived fields are left out.
std::uint64_t recordKey(const Record& r) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* data, std::size_t n) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    const unsigned char head[4] = {r.frame.letter, static_cast<unsigned char>(r.frame.group),
                                   static_cast<unsigned char>(r.frame.group2), static_cast<unsigned char>(r.hasFields)};
    mix(head, sizeof head);
    mix(&r.code, sizeof r.code);
    if (!r.hasFields) {
        mix(&r.frame.countByte, 1);
        mix(r.frame.payload.data(), r.frame.payload.size());
        return h;
    }
    for (const Field& f : r.fields) {
        if (f.derived) continue;
        mix(f.name.data(), f.name.size() + 1);
        for (float v : f.floats) {
            if (v == 0) v = 0;
            mix(&v, sizeof v);
        }
        mix(f.ints.data(), f.ints.size() * sizeof(std::int32_t));
        mix(f.text.data(), f.text.size() + 1);
    }
    return h;
}

std::string describe(const Record& r) {
    return "record " + std::to_string(r.index) + " (offset " + std::to_string(r.frame.offset) + ", " +
           letterText(r.frame.letter) + " " + typeName(r.code, r.frame.letter) + ", group " +
           std::to_string(r.frame.group) + ")";
}

class Reporter {
public:
    explicit Reporter(std::size_t limit) : limit_(limit) {}
    void operator()(const std::string& line) {
        if (shown_ < limit_) std::printf("%s\n", line.c_str()), ++shown_;
        ++total_;
    }
    int finish() const {
        if (total_ > shown_) std::printf("... %llu more difference(s)\n", static_cast<unsigned long long>(total_ - shown_));
        return total_ ? 1 : 0;
    }

private:
    std::size_t limit_, shown_ = 0;
    std::uint64_t total_ = 0;
};

// Both files at once, one record of each at a time.
void ordered(gmdk::RecordReader& a, gmdk::RecordReader& b, double tolerance, Reporter& report) {
    Record ra, rb;
    std::uint64_t countA = 0, countB = 0;
    bool moreA = true, moreB = true;
    while (true) {
        moreA = moreA && a.next(ra);
        moreB = moreB && b.next(rb);
        countA += moreA;
        countB += moreB;
        if (!moreA || !moreB) break;
        const std::string d = difference(ra, rb, tolerance);
        if (!d.empty())
            report("record " + std::to_string(ra.index) + " (offset " + std::to_string(ra.frame.offset) + " / " +
                   std::to_string(rb.frame.offset) + "): " + d);
    }
    while (moreA && a.next(ra)) ++countA;
    while (moreB && b.next(rb)) ++countB;
    if (countA != countB) report("record count " + std::to_string(countA) + " vs " + std::to_string(countB));
}

// The files as multisets of records: each record of A cancels an equal one
// of B. Only a count per distinct record is held; a second pass names the
// records left over.
void unordered(gmdk::RecordReader& a, gmdk::RecordReader& b, const std::string& pathA, const std::string& pathB,
              Reporter& report) {
    std::unordered_map<std::uint64_t, std::int64_t> balance;
    Record r;
    while (a.next(r)) ++balance[recordKey(r)];
    while (b.next(r)) --balance[recordKey(r)];
    for (int side = 0; side < 2; ++side) {
        gmdk::RecordReader reader(side ? pathB : pathA);
        while (reader.next(r)) {
            auto it = balance.find(recordKey(r));
            if (it == balance.end()) continue;
            std::int64_t& left = it->second;
            if (side == 0 && left > 0) {
                --left;
                report("only in the first: " + describe(r));
            } else if (side == 1 && left < 0) {
                ++left;
                report("only in the second: " + describe(r));
            }
        }
    }
}

int run(const std::string& first, const std::string& second, double tolerance, std::size_t limit, bool anyOrder,
        bool force) {
    InputFile inputA(first);
    InputFile inputB(second);
    gmdk::RecordReader a(inputA.path()), b(inputB.path());
    requireOpened(a, inputA.label());
    requireOpened(b, inputB.label());
    Reporter report(limit);
    if (anyOrder)
        unordered(a, b, inputA.path(), inputB.path(), report);
    else
        ordered(a, b, tolerance, report);
    std::fflush(stdout);
    const int damageA = finishReading(a, inputA.label(), force);
    const int damageB = finishReading(b, inputB.label(), force);
    const int different = report.finish();
    return damageA || damageB ? 1 : different;
}

}  // namespace

void addDiff(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("diff", "Compare two GMD files record by record; exit 0 equal, 1 different or damaged, 2 unreadable.");
    auto first = std::make_shared<std::string>();
    auto second = std::make_shared<std::string>();
    auto tolerance = std::make_shared<double>(0.0);
    auto limit = std::make_shared<std::size_t>(10);
    cmd->add_option("A", *first, "First GMD file (- for standard input)")->required();
    cmd->add_option("B", *second, "Second GMD file")->required();
    cmd->add_option("-t,--tolerance", *tolerance, "Largest absolute difference of two numbers that still counts as equal")
        ->check(CLI::NonNegativeNumber);
    cmd->add_option("-n,--max", *limit, "Print at most this many differences")->check(CLI::PositiveNumber);
    auto anyOrder = std::make_shared<bool>(false);
    auto force = std::make_shared<bool>(false);
    cmd->add_flag("-u,--unordered", *anyOrder, "Compare the files as multisets of records, in any order (exact values)");
    cmd->add_flag("--force", *force, "Compare the records before damage instead of failing");
    cmd->callback([&status, first, second, tolerance, limit, anyOrder, force] {
        status = run(*first, *second, *tolerance, *limit, *anyOrder, *force);
    });
}

}  // namespace tool
