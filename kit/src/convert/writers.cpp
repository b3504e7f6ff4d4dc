#include "convert/formats.h"

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <functional>
#include <map>
#include <type_traits>

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

// Receives an array's bytes as the file stores them, in pieces.
using Emit = std::function<void(const void*, std::size_t)>;

// One data array of the file: its XML attributes, its size and how to get
// its bytes.
struct Array {
    std::string type;  // Float32, Int32, Int64 or UInt8
    const char* name;  // nullptr: no Name attribute
    int components;
    std::uint64_t bytes;
    std::function<void(const Emit&)> produce;
};

constexpr std::size_t kPiece = 1 << 16;  // values converted at a time

// Values of a column as they lie in memory, stored as `type` (of the same
// size: point indices are unsigned in memory and written as Int32 only
// below 2^31).
template <typename T>
Array stored(const char* type, const char* name, const Column<T>& c) {
    return {type, name, 1, c.size() * sizeof(T),
            [&c](const Emit& emit) { c.forEachBlock([&](const T* v, std::size_t n) { emit(v, n * sizeof(T)); }); }};
}

// Values converted to `Out`, a piece at a time.
template <typename Out, typename T>
void emitAs(const T* v, std::size_t n, std::vector<Out>& piece, const Emit& emit) {
    for (std::size_t first = 0; first < n; first += kPiece) {
        const std::size_t end = std::min(n, first + kPiece);
        piece.resize(end - first);
        for (std::size_t i = first; i < end; ++i) piece[i - first] = static_cast<Out>(v[i]);
        emit(piece.data(), piece.size() * sizeof(Out));
    }
}

// Point indices as Int64.
Array widened(const char* name, const Column<std::uint32_t>& c) {
    return {"Int64", name, 1, c.size() * sizeof(std::int64_t), [&c](const Emit& emit) {
                std::vector<std::int64_t> piece;
                c.forEachBlock([&](const std::uint32_t* v, std::size_t n) { emitAs(v, n, piece, emit); });
            }};
}

// Runs written out value by value as `Out`, `type` in the file.
template <typename Out, typename T>
Array expanded(const char* type, const char* name, const Runs<T>& r) {
    return {type, name, 1, r.size() * sizeof(Out), [&r](const Emit& emit) {
                std::vector<Out> piece;
                r.expand([&](const T* v, std::size_t n) {
                    if (std::is_same<Out, T>::value) return emit(v, n * sizeof(T));
                    emitAs(v, n, piece, emit);
                });
            }};
}

// The end of each cell in the connectivity, from the cells' types.
template <typename Out>
Array offsets(const Column<std::uint8_t>& types) {
    return {sizeof(Out) == 4 ? "Int32" : "Int64", "offsets", 1, types.size() * sizeof(Out), [&types](const Emit& emit) {
                std::vector<Out> piece;
                piece.reserve(kPiece);
                Out end = 0;
                types.forEachBlock([&](const std::uint8_t* t, std::size_t n) {
                    for (std::size_t i = 0; i < n; ++i) {
                        end += static_cast<Out>(SharedMesh::corners(t[i]));
                        piece.push_back(end);
                        if (piece.size() == kPiece) {
                            emit(piece.data(), piece.size() * sizeof(Out));
                            piece.clear();
                        }
                    }
                });
                emit(piece.data(), piece.size() * sizeof(Out));
            }};
}

// Base64 of a byte stream that arrives in pieces of any length.
class Base64 {
public:
    explicit Base64(Output& out) : out_(out) {}
    void put(const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        text_.clear();
        for (std::size_t i = 0; i < n; ++i) {
            held_[count_++] = p[i];
            if (count_ == 3) encode();
        }
        out_.put(text_);
    }
    void close() {
        text_.clear();
        if (count_) encode();
        out_.put(text_);
    }

private:
    void encode() {
        static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const std::uint32_t v = std::uint32_t{held_[0]} << 16 | (count_ > 1 ? held_[1] : 0) << 8 | (count_ > 2 ? held_[2] : 0);
        text_.push_back(digits[v >> 18 & 63]);
        text_.push_back(digits[v >> 12 & 63]);
        text_.push_back(count_ > 1 ? digits[v >> 6 & 63] : '=');
        text_.push_back(count_ > 2 ? digits[v & 63] : '=');
        count_ = 0;
    }
    Output& out_;
    std::uint8_t held_[3] = {};
    std::size_t count_ = 0;
    std::string text_;
};

// The values of an array as text, twelve to a line.
class AsciiValues {
public:
    AsciiValues(Output& out, const std::string& type) : out_(out), type_(type) {}
    void put(const void* data, std::size_t n) {
        const std::size_t size = type_ == "UInt8" ? 1 : type_ == "Int64" ? 8 : 4;
        const auto* p = static_cast<const std::uint8_t*>(data);
        std::string text;
        for (std::size_t at = 0; at + size <= n; at += size, ++count_) {
            if (count_) text += (count_ % 12 == 0) ? "\n" : " ";
            if (type_ == "Float32") {
                float f;
                std::memcpy(&f, p + at, 4);
                text += formatFloat(f);
            } else if (size == 8) {
                std::int64_t v;
                std::memcpy(&v, p + at, 8);
                text += std::to_string(v);
            } else if (size == 4) {
                std::int32_t v;
                std::memcpy(&v, p + at, 4);
                text += std::to_string(v);
            } else {
                text += std::to_string(p[at]);
            }
        }
        out_.put(text);
    }

private:
    Output& out_;
    std::string type_;
    std::uint64_t count_ = 0;
};

}  // namespace

// The layout VTK itself writes for appended raw data: each array's bytes are
// preceded by their length as UInt64, and the XML gives each array's offset
// into the appended block.
void writeVtu(SharedMesh& m, const std::string& path, VtuEncoding encoding) {
    m.finish();
    const std::vector<float>& xyz = m.points();
    const Array points{"Float32", nullptr, 3, xyz.size() * sizeof(float),
                       [&xyz](const Emit& emit) { emit(xyz.data(), xyz.size() * sizeof(float)); }};
    // Point indices, offsets and record numbers take 32 bits while they fit,
    // which takes a third off a triangle mesh.
    const bool narrow = m.connectivity.size() < 0x7fffffffu && m.pointCount() < 0x7fffffff;
    const bool narrowRecords = narrow && (m.record.empty() || m.record.back() < 0x7fffffff);
    const std::vector<Array> pointArrays = {points};
    const std::vector<Array> cellArrays = {
        narrow ? stored("Int32", "connectivity", m.connectivity) : widened("connectivity", m.connectivity),
        narrow ? offsets<std::int32_t>(m.types) : offsets<std::int64_t>(m.types), stored("UInt8", "types", m.types)};
    const std::vector<Array> dataArrays = {
        expanded<std::int32_t>("Int32", "group", m.group),
        expanded<std::int32_t>("Int32", "volume1", m.volume1),
        expanded<std::int32_t>("Int32", "volume2", m.volume2),
        narrowRecords ? expanded<std::int32_t>("Int32", "record", m.record)
                      : expanded<std::int64_t>("Int64", "record", m.record),
        expanded<std::int32_t>("Int32", "record_type", m.recordType),
        expanded<std::uint32_t>("Float32", "thickness", m.thickness)};
    Output out(path);
    std::uint64_t appended = 0;
    auto element = [&](const Array& a) {
        std::string x = "        <DataArray type=\"" + a.type + "\"";
        if (a.name) x += " Name=\"" + std::string(a.name) + "\"";
        if (a.components != 1) x += " NumberOfComponents=\"" + std::to_string(a.components) + "\"";
        if (encoding == VtuEncoding::Raw) {
            x += " format=\"appended\" offset=\"" + std::to_string(appended) + "\"/>\n";
            appended += 8 + a.bytes;
            return out.put(x);
        }
        if (encoding == VtuEncoding::Ascii) {
            out.put(x + " format=\"ascii\">\n");
            AsciiValues text(out, a.type);
            a.produce([&](const void* data, std::size_t n) { text.put(data, n); });
        } else {
            // Inline binary: the length header and the values encoded together.
            out.put(x + " format=\"binary\">\n");
            Base64 text(out);
            text.put(&a.bytes, 8);
            a.produce([&](const void* data, std::size_t n) { text.put(data, n); });
            text.close();
        }
        out.put("\n        </DataArray>\n");
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
                out.put(&a.bytes, 8);
                a.produce([&](const void* data, std::size_t n) { out.put(data, n); });
            }
        out.put("\n  </AppendedData>\n");
    }
    out.put("</VTKFile>\n");
    out.close();
}

void writeObj(SharedMesh& m, const std::string& path) {
    m.finish();
    Output out(path);
    out.put("# written by gmd " GMDKIT_VERSION "\n");
    std::string line;
    for (std::int64_t i = 0; i < m.pointCount(); ++i) {
        const float* p = &m.points()[3 * static_cast<std::size_t>(i)];
        line = "v " + formatFloat(p[0]) + ' ' + formatFloat(p[1]) + ' ' + formatFloat(p[2]) + '\n';
        out.put(line);
    }
    // Each group's cells, and each cell's first corner in the connectivity.
    std::map<std::int32_t, std::vector<std::pair<std::size_t, std::size_t>>> byGroup;
    std::size_t c = 0, start = 0;
    m.group.expand([&](const std::int32_t* groups, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i, ++c) {
            const std::uint8_t type = m.types[c];
            if (type != CellVertex) byGroup[groups[i]].emplace_back(c, start);
            start += static_cast<std::size_t>(SharedMesh::corners(type));
        }
    });
    for (const auto& entry : byGroup) {
        out.put("g group_" + std::to_string(entry.first) + '\n');
        for (const auto& cell : entry.second) {
            const std::uint8_t type = m.types[cell.first];
            line = type == CellLine ? "l" : "f";
            for (int k = 0; k < SharedMesh::corners(type); ++k)
                line += ' ' + std::to_string(std::uint64_t{m.connectivity[cell.second + static_cast<std::size_t>(k)]} + 1);
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
