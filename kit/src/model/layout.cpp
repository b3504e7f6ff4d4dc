#include "model/layout.h"

#include <cmath>

namespace gmdk {

namespace {

std::string words(std::int64_t n) { return std::to_string(n) + (n == 1 ? " word" : " words"); }

}  // namespace

HingeLayout hingeLayout(const RecordFrame& f) {
    HingeLayout out;
    const std::int64_t n = static_cast<std::int64_t>(f.wordCount());
    auto fail = [&](const std::string& what) {
        out.problem = "hinge " + what;
        return out;
    };
    if (n < 4) return fail("of " + words(n) + " cannot hold its four sections");
    const std::int64_t l1 = f.intWord(0);
    if (l1 < 0 || l1 % 4 || l1 / 4 + 2 > n) return fail("name length " + std::to_string(l1) + " does not fit");
    const std::int64_t l2 = f.intWord(static_cast<std::size_t>(l1 / 4 + 1));
    const std::int64_t k = l1 / 4 + l2 / 4 + 2;
    if (l2 < 0 || l2 % 4 || k >= n) return fail("type length " + std::to_string(l2) + " does not fit");
    out.points = f.intWord(static_cast<std::size_t>(k));
    if (out.points < 0 || k + 10 * out.points + 1 >= n)
        return fail("point count " + std::to_string(out.points) + " does not fit");
    out.groups = f.intWord(static_cast<std::size_t>(k + 10 * out.points + 1));
    if (out.groups < 0 || k + 10 * out.points + 2 + out.groups != n)
        return fail("group count " + std::to_string(out.groups) + " does not match the record's " + words(n));
    return out;
}

MacroGroupLayout macroGroupLayout(const RecordFrame& f) {
    MacroGroupLayout out;
    const std::int64_t n = static_cast<std::int64_t>(f.wordCount());
    if (n < 1) {
        out.problem = "macro group without its group count";
        return out;
    }
    out.groups = f.intWord(0);
    if (out.groups < 0 || out.groups + 1 > n) {
        out.problem = "macro group count " + std::to_string(out.groups) + " does not fit " + words(n);
        return out;
    }
    if (out.groups + 1 == n) return out;
    out.named = true;
    const std::int64_t length = f.intWord(static_cast<std::size_t>(out.groups + 1));
    if (length < 0 || length % 4 || out.groups + 2 + length / 4 != n)
        out.problem = "macro group name length " + std::to_string(length) + " does not match the record's " + words(n);
    return out;
}

NurbsLayout nurbsLayout(const RecordFrame& f) {
    NurbsLayout out;
    const std::size_t n = f.wordCount();
    if (n < 7) {
        out.problem = "wrong word count: " + words(static_cast<std::int64_t>(n)) + ", expects at least 7 for a NURBS surface";
        return out;
    }
    const float declared = f.floatWord(0);
    if (!(declared == static_cast<float>(n - 1))) {
        out.problem = "NURBS word count word says " + std::to_string(declared) + ", record has " +
                      std::to_string(n - 1) + " words after it";
        return out;
    }
    static const char* names[6] = {"U knots", "V knots", "U control points", "V control points", "boundaries",
                                   "hole origin"};
    for (int i = 0; i < 6; ++i) {
        const float value = f.floatWord(static_cast<std::size_t>(i) + 1);
        if (!std::isfinite(value) || std::fabs(value) > 2147483520.0f) {
            out.problem = std::string("NURBS count of ") + names[i] + " is not a number of sensible size";
            return out;
        }
        out.counts[i] = static_cast<std::int64_t>(value);
        if (i < 5 && out.counts[i] < 0) {
            out.problem = std::string("negative NURBS count of ") + names[i];
            return out;
        }
    }
    const std::uint64_t before = 7 + static_cast<std::uint64_t>(out.counts[0] + out.counts[1]) +
                                 4 * static_cast<std::uint64_t>(out.counts[2]) * static_cast<std::uint64_t>(out.counts[3]);
    const std::uint64_t withDims = before + static_cast<std::uint64_t>(out.counts[4]);
    if (withDims > n) {
        out.problem = "NURBS sections need at least " + std::to_string(withDims) + " words, record has " + std::to_string(n);
        return out;
    }
    for (std::int64_t k = 0; k < out.counts[4]; ++k) {
        const float d = f.floatWord(static_cast<std::size_t>(before + static_cast<std::uint64_t>(k)));
        if (!std::isfinite(d) || d < 0 || d > 1e9f) {
            out.problem = "NURBS boundary dimension " + std::to_string(k) + " is not a point count";
            return out;
        }
        out.boundaryPoints += static_cast<std::int64_t>(d);
    }
    const std::uint64_t total = withDims + 2 * static_cast<std::uint64_t>(out.boundaryPoints);
    if (total != n)
        out.problem = "NURBS sections add up to " + std::to_string(total) + " words (boundaries hold " +
                      std::to_string(out.boundaryPoints) + " points), record has " + std::to_string(n);
    return out;
}

}  // namespace gmdk
