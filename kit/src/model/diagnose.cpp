#include "model/diagnose.h"

#include <cmath>
#include <cstdint>

#include "model/layout.h"
#include "model/vec.h"
#include "model/names.h"

namespace gmdk {

namespace {

std::string words(std::size_t n) { return std::to_string(n) + (n == 1 ? " word" : " words"); }

std::string countProblem(std::size_t count, const std::string& expected) {
    return "wrong word count: " + words(count) + ", expects " + expected;
}

// The layout of an attributed polygon: its code fixes which blocks follow the
// vertices, and the thickness count must fit the words that remain.
void attributedProblems(const RecordFrame& f, std::vector<std::string>& out) {
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

void addProblem(const std::string& problem, std::vector<std::string>& out) {
    if (!problem.empty()) out.push_back(problem);
}

void countsOf(const RecordFrame& f, std::vector<std::string>& out) {
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
    case 'N': return addProblem(nurbsLayout(f).problem, out);
    case 'H': return addProblem(hingeLayout(f).problem, out);
    case 'U': return addProblem(macroGroupLayout(f).problem, out);
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

}  // namespace gmdk
