// A software z-buffer renderer: flat-shaded faces and dark lines seen along
// one of four fixed directions, with an orthographic camera that fits the
// whole model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/tessellate.h"

namespace tool {

using gmdk::Cell;
using gmdk::Mesh;
using gmdk::Vec3;
using gmdk::CellLine;
using gmdk::CellQuad;
using gmdk::CellTriangle;
using gmdk::normalized;
using gmdk::cross;
using gmdk::dot;

enum class View { Iso, Top, Front, Side };
enum class Colouring { Group, Type };

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;   // row-major, top row first
};

// `up` (0 x, 1 y, 2 z) is the model axis that points up in the picture. With
// group colours, a legend in the top left corner gives each group's colour
// and number.
Image render(const Mesh& mesh, View view, int up, Colouring colouring, int width, int height);
// "-" writes to stdout.
void writePng(const Image& image, const std::string& path);

}  // namespace tool
