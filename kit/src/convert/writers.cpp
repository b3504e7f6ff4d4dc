#include "convert/formats.h"

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <map>

#include "model/error.h"
#include "model/names.h"

namespace gmdk {

namespace {

class Output {
public:
    explicit Output(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
        if (!file_) throw Error(path + ": cannot create the file: " + std::strerror(errno));
    }
    ~Output() {
        if (file_) std::fclose(file_);
    }
    void put(const void* data, std::size_t n) {
        if (n && std::fwrite(data, 1, n, file_) != n) fail();
    }
    void put(const std::string& text) { put(text.data(), text.size()); }
    void close() {
        std::FILE* f = file_;
        file_ = nullptr;
        if (std::fclose(f) != 0) fail();
    }

private:
    [[noreturn]] void fail() { throw Error(path_ + ": write failed: " + std::strerror(errno)); }
    std::string path_;
    std::FILE* file_;
};

// One data array of the file: its XML attributes and where its bytes are.
struct Array {
    const char* type;
    const char* name;      // nullptr: no Name attribute
    int components;
    const void* data;
    std::size_t count;     // values
    std::size_t size;      // bytes of one value in memory
    bool isFloat;
    bool narrow = false;   // 64-bit integers written as Int32
    std::size_t bytes() const { return count * (narrow ? 4 : size); }
};

template <typename T>
Array array(const char* type, const char* name, int components, const std::vector<T>& v) {
    return {type, name, components, v.data(), v.size(), sizeof(T), std::is_floating_point<T>::value};
}

// Point indices and record numbers are 64-bit in memory; while they all fit
// 32 bits the file stores them so, which takes a third off a triangle mesh.
Array indices(const char* name, const std::vector<std::int64_t>& v, bool narrow) {
    Array a = array(narrow ? "Int32" : "Int64", name, 1, v);
    a.narrow = narrow;
    return a;
}

// The values as the file stores them, `first` to `first + n`.
void storedBytes(const Array& a, std::size_t first, std::size_t n, std::vector<std::uint8_t>& out) {
    out.resize(n * (a.narrow ? 4 : a.size));
    const auto* p = static_cast<const std::uint8_t*>(a.data) + first * a.size;
    if (!a.narrow) {
        if (n) std::memcpy(out.data(), p, n * a.size);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        std::int64_t v;
        std::memcpy(&v, p + 8 * i, 8);
        const std::int32_t w = static_cast<std::int32_t>(v);
        std::memcpy(out.data() + 4 * i, &w, 4);
    }
}

std::string base64(const std::vector<std::uint8_t>& in) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((in.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < in.size(); i += 3) {
        const std::uint32_t a = in[i], b = i + 1 < in.size() ? in[i + 1] : 0, c = i + 2 < in.size() ? in[i + 2] : 0;
        const std::uint32_t v = a << 16 | b << 8 | c;
        out.push_back(digits[v >> 18 & 63]);
        out.push_back(digits[v >> 12 & 63]);
        out.push_back(i + 1 < in.size() ? digits[v >> 6 & 63] : '=');
        out.push_back(i + 2 < in.size() ? digits[v & 63] : '=');
    }
    return out;
}

std::string asciiValues(const Array& a) {
    std::string out;
    const auto* p = static_cast<const std::uint8_t*>(a.data);
    for (std::size_t i = 0; i < a.count; ++i) {
        if (i) out += (i % 12 == 0) ? "\n" : " ";
        if (a.isFloat) {
            float f;
            std::memcpy(&f, p + 4 * i, 4);
            out += formatFloat(f);
        } else if (a.size == 8) {  // Int64, narrowed or not, prints the same
            std::int64_t v;
            std::memcpy(&v, p + 8 * i, 8);
            out += std::to_string(v);
        } else if (a.size == 4) {
            std::int32_t v;
            std::memcpy(&v, p + 4 * i, 4);
            out += std::to_string(v);
        } else {
            out += std::to_string(p[i]);
        }
    }
    return out;
}

}  // namespace

// The layout VTK itself writes for appended raw data: each array's bytes are
// preceded by their length as UInt64, and the XML gives each array's offset
// into the appended block.
void writeVtu(const SharedMesh& m, const std::string& path, VtuEncoding encoding) {
    const std::vector<Array> pointArrays = {array("Float32", nullptr, 3, m.points())};
    const bool narrow = m.connectivity.size() < 0x7fffffffu && m.pointCount() < 0x7fffffff;
    const std::vector<Array> cellArrays = {indices("connectivity", m.connectivity, narrow),
                                           indices("offsets", m.offsets, narrow),
                                           array("UInt8", "types", 1, m.types)};
    const std::vector<Array> dataArrays = {array("Int32", "group", 1, m.group),
                                           array("Int32", "volume1", 1, m.volume1),
                                           array("Int32", "volume2", 1, m.volume2),
                                           indices("record", m.record, narrow && (m.record.empty() || m.record.back() < 0x7fffffff)),
                                           array("Int32", "record_type", 1, m.recordType),
                                           array("Float32", "thickness", 1, m.thickness)};
    Output out(path);
    std::uint64_t appended = 0;
    auto element = [&](const Array& a) {
        std::string x = "        <DataArray type=\"" + std::string(a.type) + "\"";
        if (a.name) x += " Name=\"" + std::string(a.name) + "\"";
        if (a.components != 1) x += " NumberOfComponents=\"" + std::to_string(a.components) + "\"";
        if (encoding == VtuEncoding::Raw) {
            x += " format=\"appended\" offset=\"" + std::to_string(appended) + "\"/>\n";
            appended += 8 + a.bytes();
            return out.put(x);
        }
        if (encoding == VtuEncoding::Ascii) return out.put(x + " format=\"ascii\">\n" + asciiValues(a) + "\n        </DataArray>\n");
        // Inline binary: the length header and the values encoded together.
        std::vector<std::uint8_t> values;
        storedBytes(a, 0, a.count, values);
        std::vector<std::uint8_t> bytes(8);
        const std::uint64_t n = values.size();
        std::memcpy(bytes.data(), &n, 8);
        bytes.insert(bytes.end(), values.begin(), values.end());
        out.put(x + " format=\"binary\">\n" + base64(bytes) + "\n        </DataArray>\n");
    };
    out.put("<?xml version=\"1.0\"?>\n<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" "
            "header_type=\"UInt64\">\n  <UnstructuredGrid>\n    <Piece NumberOfPoints=\"" +
            std::to_string(m.pointCount()) + "\" NumberOfCells=\"" + std::to_string(m.cellCount()) + "\">\n" +
            "      <Points>\n");
    for (const Array& a : pointArrays) element(a);
    out.put("      </Points>\n      <Cells>\n");
    for (const Array& a : cellArrays) element(a);
    out.put("      </Cells>\n      <CellData Scalars=\"group\">\n");
    for (const Array& a : dataArrays) element(a);
    out.put("      </CellData>\n    </Piece>\n  </UnstructuredGrid>\n");
    if (encoding == VtuEncoding::Raw) {
        out.put("  <AppendedData encoding=\"raw\">\n   _");
        for (const std::vector<Array>* list : {&pointArrays, &cellArrays, &dataArrays})
            for (const Array& a : *list) {
                const std::uint64_t n = a.bytes();
                out.put(&n, 8);
                std::vector<std::uint8_t> chunk;
                for (std::size_t first = 0; first < a.count; first += 1 << 16) {
                    storedBytes(a, first, std::min<std::size_t>(a.count - first, 1 << 16), chunk);
                    out.put(chunk.data(), chunk.size());
                }
            }
        out.put("\n  </AppendedData>\n");
    }
    out.put("</VTKFile>\n");
    out.close();
}

void writeObj(const SharedMesh& m, const std::string& path) {
    Output out(path);
    out.put("# written by gmd " GMDKIT_VERSION "\n");
    std::string line;
    for (std::int64_t i = 0; i < m.pointCount(); ++i) {
        const float* p = &m.points()[3 * static_cast<std::size_t>(i)];
        line = "v " + formatFloat(p[0]) + ' ' + formatFloat(p[1]) + ' ' + formatFloat(p[2]) + '\n';
        out.put(line);
    }
    std::map<std::int32_t, std::vector<std::int64_t>> byGroup;
    for (std::int64_t c = 0; c < m.cellCount(); ++c)
        if (m.types[static_cast<std::size_t>(c)] != CellVertex) byGroup[m.group[static_cast<std::size_t>(c)]].push_back(c);
    for (const auto& entry : byGroup) {
        out.put("g group_" + std::to_string(entry.first) + '\n');
        for (std::int64_t c : entry.second) {
            const std::size_t k = static_cast<std::size_t>(c);
            line = m.types[k] == CellLine ? "l" : "f";
            for (std::int64_t at = k ? m.offsets[k - 1] : 0; at < m.offsets[k]; ++at)
                line += ' ' + std::to_string(m.connectivity[static_cast<std::size_t>(at)] + 1);
            out.put(line + '\n');
        }
    }
    out.close();
}

StlWriter::StlWriter(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw Error(path + ": cannot create the file: " + std::strerror(errno));
    char header[84] = "binary STL written by gmd";
    if (std::fwrite(header, 1, sizeof header, file_) != sizeof header) throw Error(path + ": write failed");
}

StlWriter::~StlWriter() {
    if (file_) std::fclose(file_);
}

void StlWriter::triangle(const Vec3& a, const Vec3& b, const Vec3& c) {
    const Vec3 n = normalized(cross(b - a, c - a));
    float values[12];
    const Vec3* corners[4] = {&n, &a, &b, &c};
    for (int k = 0; k < 4; ++k) {
        values[3 * k] = static_cast<float>(corners[k]->x);
        values[3 * k + 1] = static_cast<float>(corners[k]->y);
        values[3 * k + 2] = static_cast<float>(corners[k]->z);
    }
    unsigned char bytes[50] = {};
    std::memcpy(bytes, values, sizeof values);
    if (std::fwrite(bytes, 1, sizeof bytes, file_) != sizeof bytes) throw Error(path_ + ": write failed");
    ++count_;
}

void StlWriter::triangle(const float* a, const float* b, const float* c) {
    triangle(Vec3{a[0], a[1], a[2]}, Vec3{b[0], b[1], b[2]}, Vec3{c[0], c[1], c[2]});
}

void StlWriter::add(const PolygonCell& c) {
    triangle(c.xyz, c.xyz + 3, c.xyz + 6);
    if (c.corners == 4) triangle(c.xyz, c.xyz + 6, c.xyz + 9);
}

void StlWriter::add(const Mesh& piece) {
    for (const Cell& c : piece.cells) {
        const auto& p = piece.points;
        if (c.type == CellTriangle) triangle(p[c.ids[0]], p[c.ids[1]], p[c.ids[2]]);
        if (c.type == CellQuad) {
            triangle(p[c.ids[0]], p[c.ids[1]], p[c.ids[2]]);
            triangle(p[c.ids[0]], p[c.ids[2]], p[c.ids[3]]);
        }
    }
}

void StlWriter::close() {
    if (count_ > 0xffffffffu) throw Error(path_ + ": more triangles than binary STL can count");
    const std::uint32_t n = static_cast<std::uint32_t>(count_);
    unsigned char bytes[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                              static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
    std::FILE* f = file_;
    file_ = nullptr;
    const bool ok = std::fseek(f, 80, SEEK_SET) == 0 && std::fwrite(bytes, 1, 4, f) == 4;
    if (std::fclose(f) != 0 || !ok) throw Error(path_ + ": write failed");
}

}  // namespace gmdk
