#include "formats.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "io.h"
#include "record.h"

namespace tool {

namespace {

std::ofstream openText(const std::string& path) {
    std::ofstream out(path, std::ios::trunc);
    if (!out) throw Error(path + ": cannot create the file");
    out.imbue(std::locale::classic());
    return out;
}

void finish(std::ofstream& out, const std::string& path) {
    out.close();
    if (!out) throw Error(path + ": write failed");
}

std::string coordinate(double value) { return formatFloat(static_cast<float>(value)); }

template <typename Get>
void cellArray(std::ofstream& out, const char* type, const char* name, const Mesh& mesh, Get get) {
    out << "        <DataArray type=\"" << type << "\" Name=\"" << name << "\" format=\"ascii\">\n          ";
    for (const Cell& c : mesh.cells) out << get(c) << ' ';
    out << "\n        </DataArray>\n";
}

}  // namespace

void writeVtu(const Mesh& mesh, const std::string& path) {
    std::ofstream out = openText(path);
    out << "<?xml version=\"1.0\"?>\n"
           "<VTKFile type=\"UnstructuredGrid\" version=\"0.1\" byte_order=\"LittleEndian\">\n"
           "  <UnstructuredGrid>\n"
        << "    <Piece NumberOfPoints=\"" << mesh.points.size() << "\" NumberOfCells=\"" << mesh.cells.size() << "\">\n"
        << "      <Points>\n        <DataArray type=\"Float32\" NumberOfComponents=\"3\" format=\"ascii\">\n";
    for (const Vec3& p : mesh.points)
        out << "          " << coordinate(p.x) << ' ' << coordinate(p.y) << ' ' << coordinate(p.z) << '\n';
    out << "        </DataArray>\n      </Points>\n      <Cells>\n"
           "        <DataArray type=\"Int64\" Name=\"connectivity\" format=\"ascii\">\n          ";
    for (const Cell& c : mesh.cells)
        for (std::uint32_t id : c.ids) out << id << ' ';
    out << "\n        </DataArray>\n        <DataArray type=\"Int64\" Name=\"offsets\" format=\"ascii\">\n          ";
    std::size_t offset = 0;
    for (const Cell& c : mesh.cells) out << (offset += c.ids.size()) << ' ';
    out << "\n        </DataArray>\n        <DataArray type=\"UInt8\" Name=\"types\" format=\"ascii\">\n          ";
    for (const Cell& c : mesh.cells) out << static_cast<int>(c.type) << ' ';
    out << "\n        </DataArray>\n      </Cells>\n      <CellData Scalars=\"record_type\">\n";
    cellArray(out, "Int32", "record", mesh, [](const Cell& c) { return c.record; });
    cellArray(out, "Int32", "record_type", mesh, [](const Cell& c) { return c.code; });
    cellArray(out, "Int32", "group", mesh, [](const Cell& c) { return c.group; });
    cellArray(out, "Int32", "volume1", mesh, [](const Cell& c) { return c.volume1; });
    cellArray(out, "Int32", "volume2", mesh, [](const Cell& c) { return c.volume2; });
    cellArray(out, "Float32", "thickness", mesh, [](const Cell& c) { return formatFloat(c.thickness); });
    out << "      </CellData>\n    </Piece>\n  </UnstructuredGrid>\n</VTKFile>\n";
    finish(out, path);
}

void writeObj(const Mesh& mesh, const std::string& path) {
    std::ofstream out = openText(path);
    out << "# written by gmd " GMD_TOOL_VERSION "\n";
    for (const Vec3& p : mesh.points) out << "v " << coordinate(p.x) << ' ' << coordinate(p.y) << ' ' << coordinate(p.z) << '\n';
    std::map<std::int32_t, std::vector<const Cell*>> byGroup;
    for (const Cell& c : mesh.cells)
        if (c.type != CellVertex) byGroup[c.group].push_back(&c);
    for (const auto& entry : byGroup) {
        out << "g group_" << entry.first << '\n';
        for (const Cell* c : entry.second) {
            out << (c->type == CellLine ? 'l' : 'f');
            for (std::uint32_t id : c->ids) out << ' ' << id + 1;
            out << '\n';
        }
    }
    finish(out, path);
}

void writeStl(const Mesh& mesh, const std::string& path) {
    std::vector<std::array<std::uint32_t, 3>> triangles;
    for (const Cell& c : mesh.cells) {
        if (c.type == CellTriangle) triangles.push_back({c.ids[0], c.ids[1], c.ids[2]});
        if (c.type == CellQuad) {
            triangles.push_back({c.ids[0], c.ids[1], c.ids[2]});
            triangles.push_back({c.ids[0], c.ids[2], c.ids[3]});
        }
    }
    std::vector<std::uint8_t> bytes(80, 0);
    const char header[] = "binary STL written by gmd";
    std::memcpy(bytes.data(), header, sizeof header - 1);
    auto put = [&](const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + n);
    };
    const std::uint32_t count = static_cast<std::uint32_t>(triangles.size());
    put(&count, 4);
    for (const auto& t : triangles) {
        const Vec3 a = mesh.points[t[0]], b = mesh.points[t[1]], c = mesh.points[t[2]];
        const Vec3 n = normalized(cross(b - a, c - a));
        for (const Vec3& v : {n, a, b, c}) {
            const float xyz[3] = {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
            put(xyz, sizeof xyz);
        }
        const std::uint16_t attribute = 0;
        put(&attribute, 2);
    }
    writeWholeFile(path, bytes);
}

std::vector<Face> readStl(const std::string& path, const std::string& label) {
    const std::vector<std::uint8_t> bytes = readWholeFile(path);
    std::vector<Face> faces;
    if (bytes.size() >= 84) {
        std::uint32_t count;
        std::memcpy(&count, bytes.data() + 80, 4);
        if (84 + 50 * static_cast<std::uint64_t>(count) == bytes.size()) {
            for (std::uint32_t i = 0; i < count; ++i) {
                Face f;
                for (int k = 1; k <= 3; ++k) {
                    float xyz[3];
                    std::memcpy(xyz, bytes.data() + 84 + 50 * static_cast<std::size_t>(i) + 12 * k, sizeof xyz);
                    f.corners.push_back({xyz[0], xyz[1], xyz[2]});
                }
                faces.push_back(std::move(f));
            }
            return faces;
        }
    }
    std::string text(bytes.begin(), bytes.end());
    if (text.compare(0, 5, "solid") != 0) throw Error(label + ": neither binary nor ASCII STL");
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    std::string word;
    Face f;
    while (in >> word) {
        if (word == "vertex") {
            Vec3 v;
            if (!(in >> v.x >> v.y >> v.z)) throw Error(label + ": bad vertex line in ASCII STL");
            f.corners.push_back(v);
        } else if (word == "endfacet") {
            if (f.corners.size() != 3) throw Error(label + ": ASCII STL facet without three vertices");
            faces.push_back(std::move(f));
            f = Face();
        }
    }
    return faces;
}

std::vector<Face> readObj(const std::string& path, const std::string& label) {
    std::ifstream in(path);
    if (!in) throw Error(label + ": cannot open");
    std::vector<Vec3> vertices;
    std::vector<Face> faces;
    std::string line;
    int group = 0;
    std::size_t lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream words(line);
        words.imbue(std::locale::classic());
        std::string kind;
        if (!(words >> kind)) continue;
        auto fail = [&](const std::string& what) {
            throw Error(label + ": line " + std::to_string(lineNumber) + ": " + what);
        };
        if (kind == "v") {
            Vec3 v;
            if (!(words >> v.x >> v.y >> v.z)) fail("vertex needs three numbers");
            vertices.push_back(v);
        } else if (kind == "g") {
            std::string name;
            words >> name;
            group = 0;
            if (name.compare(0, 6, "group_") == 0) group = std::atoi(name.c_str() + 6);
        } else if (kind == "f" || kind == "l") {
            std::vector<Vec3> corners;
            std::string item;
            while (words >> item) {
                long index = std::strtol(item.c_str(), nullptr, 10);   // "7/2/3" counts as 7
                if (index < 0) index += static_cast<long>(vertices.size()) + 1;
                if (index < 1 || static_cast<std::size_t>(index) > vertices.size()) fail("vertex index out of range");
                corners.push_back(vertices[static_cast<std::size_t>(index - 1)]);
            }
            if (kind == "l") {
                for (std::size_t i = 1; i < corners.size(); ++i) faces.push_back({{corners[i - 1], corners[i]}, group});
                continue;
            }
            if (corners.size() < 3) fail("face with fewer than three corners");
            if (corners.size() <= 4) {
                faces.push_back({corners, group});
                continue;
            }
            for (std::size_t i = 1; i + 1 < corners.size(); ++i) faces.push_back({{corners[0], corners[i], corners[i + 1]}, group});
        }
    }
    return faces;
}

}  // namespace tool
