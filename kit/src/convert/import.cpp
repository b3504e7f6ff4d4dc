#include "convert/import.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <vector>

#include "convert/polygon.h"
#include "model/error.h"

namespace gmdk {

namespace {

// Corners beyond this make ear clipping too slow to wait for; such a face is
// refused before its corners are kept.
constexpr std::size_t kMaxFaceCorners = 10000;

std::FILE* openInput(const std::string& path, const std::string& label, std::uint64_t& size) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) throw Error(label + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode)) throw Error(label + ": is a folder, not a file");
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw Error(label + ": " + std::strerror(errno));
    size = static_cast<std::uint64_t>(info.st_size);
    return f;
}

struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
};

// Text that holds NUL bytes is UTF-16 (or not text at all); neither OBJ nor
// ASCII STL is written that way.
void refuseWideText(const std::uint8_t* bytes, std::size_t n, const std::string& label, const char* format) {
    if (n >= 2 && ((bytes[0] == 0xff && bytes[1] == 0xfe) || (bytes[0] == 0xfe && bytes[1] == 0xff)))
        throw NotThisFormat(label + ": UTF-16 text, not " + format + " (save it as UTF-8 or ASCII)");
    if (std::memchr(bytes, 0, n)) throw NotThisFormat(label + ": holds NUL bytes, not " + format + " text");
}

// Numbers in the C locale, whatever the program's locale is.
bool number(const char*& at, double& out) {
    while (*at == ' ' || *at == '\t') ++at;
    if (!*at) return false;
    char* end = nullptr;
    out = std::strtod(at, &end);
    if (end == at || (*end && *end != ' ' && *end != '\t' && *end != '\r' && *end != '\n')) return false;
    at = end;
    return true;
}

std::string trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t\r\n") + 1 - a);
}

// The first word of a line and the rest after it.
std::string firstWord(const std::string& line, std::string& rest) {
    const auto a = line.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) {
        rest.clear();
        return "";
    }
    const auto b = line.find_first_of(" \t\r\n", a);
    rest = b == std::string::npos ? "" : trimmed(line.substr(b));
    return line.substr(a, b == std::string::npos ? std::string::npos : b - a);
}

// Numbers groups in order of appearance and emits the faces of polygons of
// any corner count.
class Grouper {
public:
    Grouper(ImportSink& sink, const std::string& label) : sink_(sink), label_(label) {}

    // A new group under this name (OBJ reuses a name's number, STL does not).
    void start(const std::string& name, bool reuse, const std::string& where) {
        if (reuse) {
            auto it = names_.find(name);
            if (it != names_.end()) {
                current_ = it->second;
                return;
            }
        }
        pendingName_ = name;
        pendingWhere_ = where;
        current_ = -1;
        reuse_ = reuse;
    }

    void face(const std::vector<Vec3>& corners, const std::string& where) {
        if (current_ < 0) open();
        ImportedFace f;
        f.group = current_;
        auto put = [&](const Vec3& c, int k) {
            f.xyz[3 * k] = static_cast<float>(c.x);
            f.xyz[3 * k + 1] = static_cast<float>(c.y);
            f.xyz[3 * k + 2] = static_cast<float>(c.z);
        };
        if (corners.size() <= 4) {
            f.corners = static_cast<int>(corners.size());
            for (std::size_t k = 0; k < corners.size(); ++k) put(corners[k], static_cast<int>(k));
            sink_.face(f);
            return;
        }
        std::vector<std::array<std::size_t, 3>> triangles;
        try {
            triangles = triangulate(corners);
        } catch (const Error& e) {
            throw Error(label_ + ": " + where + ": " + e.what());
        }
        f.corners = 3;
        for (const auto& t : triangles) {
            for (int k = 0; k < 3; ++k) put(corners[t[static_cast<std::size_t>(k)]], k);
            sink_.face(f);
        }
    }

private:
    void open() {
        if (next_ >= kMaxImportGroups)
            throw Error(label_ + ": " + pendingWhere_ + ": group " + std::to_string(next_ + 1) + " (\"" + pendingName_ +
                        "\"): a GMD group byte holds " + std::to_string(kMaxImportGroups) +
                        " groups (0 to 127); merge groups first");
        current_ = next_++;
        if (reuse_) names_[pendingName_] = current_;
        sink_.group(current_, pendingName_);
    }

    ImportSink& sink_;
    std::string label_;
    std::map<std::string, int> names_;
    std::string pendingName_, pendingWhere_ = "start";
    bool reuse_ = true;
    int current_ = -1;
    int next_ = 0;
};

void readBinaryStl(std::FILE* f, std::uint64_t size, std::uint32_t count, const std::string& label, ImportSink& sink) {
    const std::uint64_t need = 84 + 50 * static_cast<std::uint64_t>(count);
    if (need > size) {
        const std::uint64_t whole = (size - 84) / 50;
        throw Error(label + ": truncated binary STL: its header counts " + std::to_string(count) + " triangles (" +
                    std::to_string(need) + " bytes), the file ends at byte " + std::to_string(size) +
                    ", inside triangle " + std::to_string(whole + 1) + " at byte " + std::to_string(84 + 50 * whole));
    }
    if (std::fseek(f, 84, SEEK_SET) != 0) throw Error(label + ": cannot read");
    sink.group(0, "");
    std::vector<std::uint8_t> chunk(50 * 4096);
    ImportedFace face;
    face.corners = 3;
    for (std::uint32_t done = 0; done < count;) {
        const std::uint32_t n = std::min<std::uint32_t>(count - done, 4096);
        if (std::fread(chunk.data(), 50, n, f) != n)
            throw Error(label + ": read failed at byte " + std::to_string(84 + 50 * static_cast<std::uint64_t>(done)));
        for (std::uint32_t i = 0; i < n; ++i) {
            std::memcpy(face.xyz, chunk.data() + 50 * static_cast<std::size_t>(i) + 12, 36);
            sink.face(face);
        }
        done += n;
    }
}

void readAsciiStl(std::FILE* f, const std::string& label, ImportSink& sink) {
    std::rewind(f);
    Grouper groups(sink, label);
    std::vector<Vec3> corners;
    std::string line, rest;
    std::size_t lineNumber = 0;
    bool inSolid = false, inFacet = false;
    std::vector<char> buffer(1 << 16);
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), f)) {
        line.assign(buffer.data());
        while (!line.empty() && line.back() != '\n' && std::fgets(buffer.data(), static_cast<int>(buffer.size()), f))
            line += buffer.data();
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber);
        auto fail = [&](const std::string& what) { throw Error(label + ": " + where + ": " + what); };
        const std::string word = firstWord(line, rest);
        if (word.empty()) continue;
        if (word == "solid") {
            if (inSolid) fail("'solid' inside a solid");
            inSolid = true;
            groups.start(rest, false, where);
        } else if (word == "endsolid") {
            if (!inSolid || inFacet) fail("'endsolid' outside a solid or inside a facet");
            inSolid = false;
        } else if (word == "facet") {
            if (!inSolid || inFacet) fail("'facet' outside a solid or inside a facet");
            inFacet = true;
            corners.clear();
        } else if (word == "vertex") {
            if (!inFacet) fail("'vertex' outside a facet");
            Vec3 v;
            const char* at = rest.c_str();
            if (!number(at, v.x) || !number(at, v.y) || !number(at, v.z)) fail("a vertex needs three numbers");
            if (corners.size() == 3) fail("a facet with more than three vertices");
            corners.push_back(v);
        } else if (word == "endfacet") {
            if (!inFacet) fail("'endfacet' without 'facet'");
            if (corners.size() != 3) fail("a facet with " + std::to_string(corners.size()) + " vertices, not 3");
            groups.face(corners, where);
            inFacet = false;
        } else if (word != "outer" && word != "endloop") {
            fail("'" + word.substr(0, 40) + "' is not an ASCII STL keyword");
        }
    }
    if (inSolid || inFacet) throw Error(label + ": truncated ASCII STL: the file ends inside a " + (inFacet ? "facet" : "solid") +
                                        " at line " + std::to_string(lineNumber));
}

}  // namespace

void readStl(const std::string& path, const std::string& label, ImportSink& sink) {
    std::uint64_t size = 0;
    Closer file{openInput(path, label, size)};
    std::uint8_t head[84] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file.f);
    std::size_t skip = 0;
    while (skip < got && (head[skip] == ' ' || head[skip] == '\t' || head[skip] == '\r' || head[skip] == '\n')) ++skip;
    const bool solidWord = got - skip >= 5 && std::memcmp(head + skip, "solid", 5) == 0;
    std::uint32_t count = 0;
    if (got == 84) count = static_cast<std::uint32_t>(head[80]) | static_cast<std::uint32_t>(head[81]) << 8 |
                           static_cast<std::uint32_t>(head[82]) << 16 | static_cast<std::uint32_t>(head[83]) << 24;
    // Binary files may begin with "solid" too; their size tells them apart.
    if (got == 84 && 84 + 50 * static_cast<std::uint64_t>(count) == size) return readBinaryStl(file.f, size, count, label, sink);
    if (solidWord) {
        refuseWideText(head, got, label, "STL");
        return readAsciiStl(file.f, label, sink);
    }
    if (got < 84) throw NotThisFormat(label + ": " + std::to_string(size) + " bytes: too short for binary STL and not ASCII STL");
    if ((head[0] == 0xff && head[1] == 0xfe) || (head[0] == 0xfe && head[1] == 0xff))
        throw NotThisFormat(label + ": UTF-16 text, not STL");
    bool text = true;
    for (std::size_t i = 0; i < got && text; ++i) text = head[i] >= 0x20 || head[i] == '\n' || head[i] == '\r' || head[i] == '\t';
    if (text) throw NotThisFormat(label + ": text that does not begin with 'solid': not STL");
    if (84 + 50 * static_cast<std::uint64_t>(count) > size) return readBinaryStl(file.f, size, count, label, sink);
    throw Error(label + ": binary STL with " + std::to_string(size - 84 - 50 * static_cast<std::uint64_t>(count)) +
                " bytes after its " + std::to_string(count) + " triangles (from byte " +
                std::to_string(84 + 50 * static_cast<std::uint64_t>(count)) + ")");
}

void readObj(const std::string& path, const std::string& label, ImportSink& sink) {
    std::uint64_t size = 0;
    Closer file{openInput(path, label, size)};
    std::uint8_t head[512];
    const std::size_t got = std::fread(head, 1, sizeof head, file.f);
    refuseWideText(head, got, label, "OBJ");
    std::rewind(file.f);
    Grouper groups(sink, label);
    std::vector<Vec3> vertices, corners;
    std::string line, rest;
    std::size_t lineNumber = 0, elements = 0;
    std::vector<char> buffer(1 << 16);
    static const char* const kIgnored[] = {"vt", "vn", "vp", "s", "usemtl", "mtllib", "cstype", "deg", "bmat", "step",
                                           "curv", "curv2", "surf", "parm", "trim", "hole", "scrv", "sp", "end",
                                           "con", "mg", "lod", "shadow_obj", "trace_obj", "p", "bevel", "c_interp",
                                           "d_interp", "usemap", "maplib"};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), file.f)) {
        line.assign(buffer.data());
        while (!line.empty() && line.back() != '\n' && std::fgets(buffer.data(), static_cast<int>(buffer.size()), file.f))
            line += buffer.data();
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber);
        auto fail = [&](const std::string& what) { throw Error(label + ": " + where + ": " + what); };
        const std::string word = firstWord(line, rest);
        if (word.empty() || word[0] == '#') continue;
        if (word == "v") {
            Vec3 v;
            const char* at = rest.c_str();
            if (!number(at, v.x) || !number(at, v.y) || !number(at, v.z)) fail("a vertex needs three numbers");
            vertices.push_back(v);
        } else if (word == "g" || word == "o") {
            groups.start(rest, true, where);
        } else if (word == "f" || word == "l") {
            corners.clear();
            const char* at = rest.c_str();
            while (*at) {
                while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
                if (!*at) break;
                char* end = nullptr;
                long long index = std::strtoll(at, &end, 10);   // "7/2/3" is vertex 7
                if (end == at) fail("'" + std::string(at).substr(0, 20) + "' is not a vertex index");
                while (*end && *end != ' ' && *end != '\t' && *end != '\r' && *end != '\n') ++end;
                at = end;
                if (index < 0) index += static_cast<long long>(vertices.size()) + 1;
                if (index < 1 || static_cast<std::uint64_t>(index) > vertices.size())
                    fail("vertex index out of range (" + std::to_string(vertices.size()) + " vertices so far)");
                if (corners.size() == kMaxFaceCorners)
                    fail("a face of more than " + std::to_string(kMaxFaceCorners) + " corners");
                corners.push_back(vertices[static_cast<std::size_t>(index - 1)]);
            }
            if (word == "l") {
                if (corners.size() < 2) fail("a line needs two vertices");
                for (std::size_t i = 1; i < corners.size(); ++i) groups.face({corners[i - 1], corners[i]}, where);
            } else {
                if (corners.size() < 3) fail("a face with fewer than three corners");
                groups.face(corners, where);
            }
            ++elements;
        } else {
            bool known = false;
            for (const char* k : kIgnored) known = known || word == k;
            if (known) continue;
            const std::string shown = "'" + word.substr(0, 40) + "' is no OBJ statement";
            if (vertices.empty() && elements == 0) throw NotThisFormat(label + ": " + where + ": " + shown + ": not an OBJ file");
            fail(shown);
        }
    }
    if (std::ferror(file.f)) throw Error(label + ": read failed");
    if (elements == 0) throw NotThisFormat(label + ": no faces or lines: not an OBJ mesh");
}

}  // namespace gmdk
