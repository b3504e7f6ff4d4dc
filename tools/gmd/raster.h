// A software z-buffer renderer: flat-shaded faces and dark lines seen along
// one of four fixed directions, with an orthographic camera that fits the
// whole model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh.h"

namespace tool {

enum class View { Iso, Top, Front, Side };
enum class Colouring { Group, Type };

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;   // row-major, top row first
};

Image render(const Mesh& mesh, View view, Colouring colouring, int width, int height);
// "-" writes to stdout.
void writePng(const Image& image, const std::string& path);

}  // namespace tool
