// Writes a small plate of quads with a material name through libgmd from
// C++, reads it back and prints it. Usage: gmd_example_cpp [file.gmd]
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "gmd.h"

namespace {

// The handle closes itself when it goes out of scope.
struct Closer {
    void operator()(GMD_File *file) const { GMD_CloseFile(file); }
};
using File = std::unique_ptr<GMD_File, Closer>;

using Quad = std::array<float, 12>;

std::vector<Quad> plate(int n) {
    std::vector<Quad> quads;
    for (int i = 0; i < n; ++i) {
        const float x = static_cast<float>(i);
        quads.push_back({x, 0, 0, x + 1, 0, 0, x + 1, 1, 0, x, 1, 0});
    }
    return quads;
}

bool write(const char *path, const std::vector<Quad> &quads) {
    File out(GMD_OpenWriteFile(path));
    if (!out) return false;
    bool ok = GMD_SetGroup(out.get(), 1) && GMD_SetGroupMaterialName(out.get(), "Copper") &&
              GMD_WriteRecord(out.get());
    const float thickness[1] = {0.002f};
    for (const Quad &quad : quads) {
        ok = ok && GMD_SetGroup(out.get(), 1) && GMD_SetQuad(out.get(), quad.data()) &&
             GMD_SetPolygonThickness(out.get(), 1, thickness) && GMD_WriteRecord(out.get());
    }
    return ok;
}

}  // namespace

int main(int argc, char **argv) {
    const char *path = argc > 1 ? argv[1] : "example_cpp.gmd";
    const std::vector<Quad> quads = plate(4);
    if (!write(path, quads)) {
        std::fprintf(stderr, "gmd_example_cpp: cannot write %s\n", path);
        return 1;
    }
    File in(GMD_OpenReadFile(path));
    if (!in) return 1;
    std::size_t read = 0;
    while (GMD_GetRecord(in.get())) {
        const int32_t type = GMD_GetRecordType(in.get());
        if (type == 'M') {
            char name[64];  // 4 bytes per word + NUL; this file's names are short
            if (GMD_GetMaterialName(in.get(), name)) std::printf("material \"%s\"\n", name);
        } else if (type == GMD_RECORD_ATTRIBUTED_QUAD) {
            Quad quad{};
            float thickness = 0;
            int32_t count = 0;
            if (!GMD_GetQuad(in.get(), quad.data()) || quad != quads.at(read)) return 1;
            if (!GMD_GetPolygonNumThickness(in.get(), &count) || count != 1 ||
                !GMD_GetPolygonThickness(in.get(), &thickness))
                return 1;
            std::printf("quad %zu from (%g, %g) to (%g, %g), thickness %g\n", read, quad[0], quad[1], quad[6],
                        quad[7], thickness);
            ++read;
        }
    }
    std::printf("%zu quads read back from %s\n", read, path);
    return read == quads.size() ? 0 : 1;
}
