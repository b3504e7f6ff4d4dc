#include "diagnose.h"

#include <cmath>
#include <cstdint>

#include "vec.h"

namespace tool {

namespace {

std::string words(std::size_t n) { return std::to_string(n) + (n == 1 ? " word" : " words"); }

std::string countProblem(std::size_t count, const std::string& expected) {
    return "wrong word count: " + words(count) + ", expects " + expected;
}

// The layout of an attributed polygon: its code fixes which blocks follow the
// vertices, and the thickness count must fit the words that remain.
void attributedProblems(const Frame& f, std::vector<std::string>& out) {
    const std::size_t n = f.wordCount();
    const int code = f.group2;
    if (code < 0 || code > 4) {
        out.push_back("attribute layout code " + std::to_string(code) + " outside 0..4");
        return;
    }
    if (code == 0) {
        if (n != 12 && n != 15) out.push_back(countProblem(n, "12 or 15 for an oriented polygon (layout code 0)"));
        return;
    }
    const std::size_t vertices = (code == 2 || code == 4) ? 12 : 9;
    const std::size_t t = vertices + (code >= 3 ? 3 : 0);
    if (n < t + 1) {
        out.push_back(countProblem(n, "at least " + std::to_string(t + 1) + " for layout code " + std::to_string(code)));
        return;
    }
    const std::int64_t thickness = f.intWord(t);
    if (thickness < 0 || t + 1 + static_cast<std::size_t>(thickness) != n)
        out.push_back("thickness count " + std::to_string(thickness) + " needs " +
                      std::to_string(static_cast<std::int64_t>(t) + 1 + thickness) + " words, record has " +
                      std::to_string(n));
}

void nurbsProblems(const Frame& f, std::vector<std::string>& out) {
    const std::size_t n = f.wordCount();
    if (n < 7) {
        out.push_back(countProblem(n, "at least 7 for a NURBS surface"));
        return;
    }
    const float declared = f.floatWord(0);
    if (!(declared == static_cast<float>(n - 1))) {
        out.push_back("NURBS word count word says " + std::to_string(declared) + ", record has " +
                      std::to_string(n - 1) + " words after it");
        return;
    }
    std::int64_t counts[6];
    static const char* names[6] = {"U knots", "V knots", "U control points", "V control points", "boundaries",
                                   "hole origin"};
    for (int i = 0; i < 6; ++i) {
        const float value = f.floatWord(static_cast<std::size_t>(i) + 1);
        if (!std::isfinite(value) || std::fabs(value) > 2147483520.0f) {
            out.push_back(std::string("NURBS count of ") + names[i] + " is not a number of sensible size");
            return;
        }
        counts[i] = static_cast<std::int64_t>(value);
        if (i < 5 && counts[i] < 0) {
            out.push_back(std::string("negative NURBS count of ") + names[i]);
            return;
        }
    }
    const std::uint64_t before = 7 + static_cast<std::uint64_t>(counts[0] + counts[1]) +
                                 4 * static_cast<std::uint64_t>(counts[2]) * static_cast<std::uint64_t>(counts[3]);
    const std::uint64_t withDims = before + static_cast<std::uint64_t>(counts[4]);
    if (withDims > n) {
        out.push_back("NURBS sections need at least " + std::to_string(withDims) + " words, record has " +
                      std::to_string(n));
        return;
    }
    std::int64_t points = 0;
    for (std::int64_t k = 0; k < counts[4]; ++k) {
        const float d = f.floatWord(static_cast<std::size_t>(before + static_cast<std::uint64_t>(k)));
        if (!std::isfinite(d) || d < 0 || d > 1e9f) {
            out.push_back("NURBS boundary dimension " + std::to_string(k) + " is not a point count");
            return;
        }
        points += static_cast<std::int64_t>(d);
    }
    const std::uint64_t total = withDims + 2 * static_cast<std::uint64_t>(points);
    if (total != n)
        out.push_back("NURBS sections add up to " + std::to_string(total) + " words (boundaries hold " +
                      std::to_string(points) + " points), record has " + std::to_string(n));
}

void hingeProblems(const Frame& f, std::vector<std::string>& out) {
    const std::int64_t n = static_cast<std::int64_t>(f.wordCount());
    auto fail = [&](const std::string& what) { out.push_back("hinge " + what); };
    if (n < 4) return fail("of " + words(static_cast<std::size_t>(n)) + " cannot hold its four sections");
    const std::int64_t l1 = f.intWord(0);
    if (l1 < 0 || l1 % 4 || l1 / 4 + 2 > n) return fail("name length " + std::to_string(l1) + " does not fit");
    const std::int64_t l2 = f.intWord(static_cast<std::size_t>(l1 / 4 + 1));
    const std::int64_t k = l1 / 4 + l2 / 4 + 2;
    if (l2 < 0 || l2 % 4 || k >= n) return fail("type length " + std::to_string(l2) + " does not fit");
    const std::int64_t points = f.intWord(static_cast<std::size_t>(k));
    if (points < 0 || k + 10 * points + 1 >= n) return fail("point count " + std::to_string(points) + " does not fit");
    const std::int64_t groups = f.intWord(static_cast<std::size_t>(k + 10 * points + 1));
    if (groups < 0 || k + 10 * points + 2 + groups != n)
        return fail("group count " + std::to_string(groups) + " does not match the record's " +
                    words(static_cast<std::size_t>(n)));
}

void macroGroupProblems(const Frame& f, std::vector<std::string>& out) {
    const std::int64_t n = static_cast<std::int64_t>(f.wordCount());
    if (n < 1) return out.push_back("macro group without its group count");
    const std::int64_t groups = f.intWord(0);
    if (groups < 0 || groups + 1 > n)
        return out.push_back("macro group count " + std::to_string(groups) + " does not fit " +
                             words(static_cast<std::size_t>(n)));
    if (groups + 1 == n) return;
    const std::int64_t length = f.intWord(static_cast<std::size_t>(groups + 1));
    if (length < 0 || length % 4 || groups + 2 + length / 4 != n)
        out.push_back("macro group name length " + std::to_string(length) + " does not match the record's " +
                      words(static_cast<std::size_t>(n)));
}

void countsOf(const Frame& f, std::vector<std::string>& out) {
    const std::size_t n = f.wordCount();
    auto exactly = [&](std::size_t expected) {
        if (n != expected) out.push_back(countProblem(n, std::to_string(expected)));
    };
    switch (f.letter) {
    case 'S': return exactly(4);
    case 'R': return exactly(5);
    case 'C': case 'D': return exactly(7);
    case 'E': return exactly(15);
    case 'F': return exactly(17);
    case 'O': return exactly(9);
    case 'l': return exactly(8);
    case 'W': case 'w': case 'e':
        if (n != 12 && n != 14) out.push_back(countProblem(n, "12 or 14"));
        return;
    case 'L':
        if (n < 6) out.push_back(countProblem(n, "6 or more"));
        return;
    case 'P':
        // 7-8, 10-11 and 13+ words are legacy forms that readers shorten.
        if (n < 7) out.push_back(countProblem(n, "9 or 12"));
        return;
    case 'p':
        if (n != 11 && n != 14) out.push_back(countProblem(n, "11 or 14"));
        return;
    case 'A': return attributedProblems(f, out);
    case 'G':
        if (n < 1) out.push_back(countProblem(n, "1"));
        return;
    case 'v':
        if (n < 3) out.push_back(countProblem(n, "3 or more"));
        return;
    case 'N': return nurbsProblems(f, out);
    case 'H': return hingeProblems(f, out);
    case 'U': return macroGroupProblems(f, out);
    case 'M': case 'm': case 'Z': return;
    case 0:
        out.push_back("empty record (letter 0)");
        return;
    default:
        out.push_back("unknown letter " + letterText(f.letter));
        return;
    }
}

bool allFinite(const Field& f) {
    for (float v : f.floats)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

std::vector<std::string> structuralProblems(const Record& r) {
    std::vector<std::string> out;
    if (r.frame.payload.size() % 4)
        out.push_back("payload of " + std::to_string(r.frame.payload.size()) + " bytes is not whole words");
    countsOf(r.frame, out);
    if (r.code == 0 && out.empty()) out.push_back("rejected by the library");
    return out;
}

std::vector<std::string> geometryWarnings(const Record& r) {
    std::vector<std::string> out;
    if (!r.hasFields) return out;
    for (const Field& f : r.fields)
        if (f.kind == Kind::Float && !allFinite(f)) out.push_back("non-finite value in '" + f.name + "'");
    if (!out.empty()) return out;
    auto zero = [&](const char* name, const char* what) {
        const Field* f = r.find(name);
        if (f && f->floats.size() == 3 && length(point(f->floats, 0)) == 0) out.push_back(std::string("zero ") + what);
    };
    auto nonPositive = [&](const char* name) {
        const Field* f = r.find(name);
        if (f && f->floats.size() == 1 && !(f->floats[0] > 0)) out.push_back("non-positive " + std::string(name));
    };
    if (isPolygonCode(r.code)) {
        const std::vector<float>& v = r.floats("vertices").floats;
        const std::size_t corners = v.size() / 3;
        Vec3 a = point(v, 0), b = point(v, 1), c = point(v, 2);
        double area = length(cross(b - a, c - a));
        if (corners == 4) area += length(cross(c - a, point(v, 3) - a));
        bool repeated = false;
        for (std::size_t i = 0; i < corners; ++i)
            if (point(v, i) == point(v, (i + 1) % corners)) repeated = true;
        if (area == 0 || repeated) out.push_back(corners == 3 ? "degenerate triangle" : "degenerate quad");
        zero("orientation", "FSS orientation");
        return out;
    }
    switch (r.frame.letter) {
    case 'L': case 'l': {
        const std::vector<float>& v = r.floats("vertices").floats;
        if (point(v, 0) == point(v, 1)) out.push_back("zero-length segment");
        break;
    }
    case 'W': case 'w': case 'e':
        if (point(r.floats("firstVertex").floats, 0) == point(r.floats("secondVertex").floats, 0))
            out.push_back("zero-length edge");
        zero("leftNormal", "left normal");
        zero("rightNormal", "right normal");
        break;
    case 'O':
        if (point(r.floats("firstVertex").floats, 0) == point(r.floats("secondVertex").floats, 0))
            out.push_back("zero-length junction");
        zero("normal", "junction normal");
        break;
    case 'S': case 'R': nonPositive("radius"); break;
    case 'D': zero("normal", "disk normal"); nonPositive("radius"); break;
    case 'C':
        nonPositive("radius");
        nonPositive("height");
        break;
    case 'E':
        zero("zDirection", "axis");
        nonPositive("xSemiAxis");
        nonPositive("ySemiAxis");
        break;
    case 'F':
        zero("zDirection", "axis");
        nonPositive("height");
        break;
    case 'N': {
        const std::int64_t degreeU = static_cast<std::int64_t>(r.floats("uKnots").floats.size()) - r.scalarInt("numUcontrolPoints") - 1;
        const std::int64_t degreeV = static_cast<std::int64_t>(r.floats("vKnots").floats.size()) - r.scalarInt("numVcontrolPoints") - 1;
        if (degreeU < 0 || degreeV < 0) out.push_back("knot and control point counts give no surface");
        for (const char* name : {"uKnots", "vKnots"}) {
            const std::vector<float>& k = r.floats(name).floats;
            for (std::size_t i = 1; i < k.size(); ++i)
                if (k[i] < k[i - 1]) {
                    out.push_back(std::string("decreasing ") + name);
                    break;
                }
        }
        for (float w : r.floats("weights").floats)
            if (!(w > 0)) {
                out.push_back("non-positive NURBS weight");
                break;
            }
        break;
    }
    default:
        break;
    }
    return out;
}

}  // namespace tool
