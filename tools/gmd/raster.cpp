#include "raster.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "io.h"
#include <set>

namespace tool {

namespace {

struct Camera {
    Vec3 right, up, toward;   // toward points from the model to the viewer
};

Camera cameraFor(View view) {
    Vec3 toward, up;
    switch (view) {
    case View::Top: toward = {0, 0, 1}; up = {0, 1, 0}; break;
    case View::Front: toward = {0, -1, 0}; up = {0, 0, 1}; break;
    case View::Side: toward = {1, 0, 0}; up = {0, 0, 1}; break;
    case View::Iso: toward = normalized({1, -1, 1}); up = {0, 0, 1}; break;
    }
    Camera c;
    c.toward = toward;
    c.right = normalized(cross(up, toward));
    c.up = cross(toward, c.right);
    return c;
}

struct Colour {
    double r, g, b;
};

Colour paletteColour(std::int64_t key) {
    static const Colour palette[] = {{0.90, 0.45, 0.20}, {0.25, 0.55, 0.85}, {0.35, 0.70, 0.35}, {0.80, 0.30, 0.55},
                                     {0.85, 0.75, 0.25}, {0.45, 0.40, 0.80}, {0.30, 0.70, 0.70}, {0.70, 0.50, 0.35}};
    const std::size_t n = sizeof palette / sizeof palette[0];
    return palette[static_cast<std::size_t>(((key % static_cast<std::int64_t>(n)) + static_cast<std::int64_t>(n)) %
                                            static_cast<std::int64_t>(n))];
}

class Canvas {
public:
    Canvas(int w, int h) : image_{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3, 255)},
                           depth_(static_cast<std::size_t>(w) * h, -std::numeric_limits<double>::infinity()) {}

    // Screen points: x, y in pixels, z the depth (larger is nearer).
    void triangle(Vec3 a, Vec3 b, Vec3 c, Colour colour) {
        const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (area == 0 || !std::isfinite(area)) return;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 = std::min(image_.width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 = std::min(image_.height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double w0 = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const double w1 = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const double w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                plot(x, y, w0 * a.z + w1 * b.z + w2 * c.z, colour);
            }
    }

    void line(Vec3 a, Vec3 b, Colour colour) {
        const double steps = std::ceil(std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y)));
        if (!std::isfinite(steps)) return;
        const int n = static_cast<int>(std::min(steps, 100000.0));
        for (int i = 0; i <= n; ++i) {
            const double t = n ? static_cast<double>(i) / n : 0;
            // Lines win over the faces they lie on.
            plot(static_cast<int>(a.x + t * (b.x - a.x)), static_cast<int>(a.y + t * (b.y - a.y)),
                 a.z + t * (b.z - a.z) + depthBias_, colour);
        }
    }

    void setDepthBias(double bias) { depthBias_ = bias; }
    Image take() { return std::move(image_); }

private:
    void plot(int x, int y, double z, Colour colour) {
        if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.width) + static_cast<std::size_t>(x);
        if (!(z > depth_[at])) return;
        depth_[at] = z;
        image_.rgb[3 * at] = static_cast<std::uint8_t>(std::clamp(colour.r, 0.0, 1.0) * 255);
        image_.rgb[3 * at + 1] = static_cast<std::uint8_t>(std::clamp(colour.g, 0.0, 1.0) * 255);
        image_.rgb[3 * at + 2] = static_cast<std::uint8_t>(std::clamp(colour.b, 0.0, 1.0) * 255);
    }

    Image image_;
    std::vector<double> depth_;
    double depthBias_ = 0;
};

// Digits 0-9 and '-' in 3 x 5 pixels, a row per 3 bits from the top.
const std::uint16_t kGlyphs[11] = {075557, 022222, 071747, 071717, 055711, 074717, 074757, 071111, 075757, 075717, 000700};

void drawLegend(Image& image, const std::set<std::int32_t>& groups) {
    const int scale = std::max(1, std::min(image.width, image.height) / 300);
    int row = 0;
    auto fill = [&](int x0, int y0, int w, int h, Colour c) {
        for (int y = y0; y < y0 + h && y < image.height; ++y)
            for (int x = x0; x < x0 + w && x < image.width; ++x) {
                const std::size_t at = 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x));
                image.rgb[at] = static_cast<std::uint8_t>(c.r * 255);
                image.rgb[at + 1] = static_cast<std::uint8_t>(c.g * 255);
                image.rgb[at + 2] = static_cast<std::uint8_t>(c.b * 255);
            }
    };
    for (std::int32_t g : groups) {
        const int y = 4 * scale + row * 8 * scale;
        if (y + 6 * scale > image.height || row == 32) break;
        fill(4 * scale, y, 6 * scale, 6 * scale, paletteColour(g));
        const std::string text = std::to_string(g);
        for (std::size_t k = 0; k < text.size(); ++k) {
            const std::uint16_t glyph = kGlyphs[text[k] == '-' ? 10 : text[k] - '0'];
            for (int gy = 0; gy < 5; ++gy)
                for (int gx = 0; gx < 3; ++gx)
                    if (glyph >> (3 * (4 - gy) + (2 - gx)) & 1)
                        fill((13 + static_cast<int>(k) * 4 + gx) * scale, y + (gy + 1) * scale - scale / 2, scale, scale, {0, 0, 0});
        }
        ++row;
    }
}

// The model turned so that axis `up` becomes z, which the views keep upright.
Vec3 upright(Vec3 p, int up) {
    if (up == 0) return {-p.z, p.y, p.x};
    if (up == 1) return {p.x, -p.z, p.y};
    return p;
}

}  // namespace

Image render(const Mesh& mesh, View view, int up, Colouring colouring, int width, int height) {
    const Camera cam = cameraFor(view);
    std::vector<Vec3> projected(mesh.points.size());
    double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY, minZ = INFINITY, maxZ = -INFINITY;
    for (std::size_t i = 0; i < mesh.points.size(); ++i) {
        const Vec3 p = upright(mesh.points[i], up);
        projected[i] = {dot(p, cam.right), dot(p, cam.up), dot(p, cam.toward)};
        if (!std::isfinite(projected[i].x) || !std::isfinite(projected[i].y) || !std::isfinite(projected[i].z)) continue;
        minX = std::min(minX, projected[i].x), maxX = std::max(maxX, projected[i].x);
        minY = std::min(minY, projected[i].y), maxY = std::max(maxY, projected[i].y);
        minZ = std::min(minZ, projected[i].z), maxZ = std::max(maxZ, projected[i].z);
    }
    Canvas canvas(width, height);
    if (!(maxX >= minX)) return canvas.take();
    const double margin = 0.05;
    const double spanX = std::max(maxX - minX, 1e-12), spanY = std::max(maxY - minY, 1e-12);
    const double scale = std::min(width * (1 - 2 * margin) / spanX, height * (1 - 2 * margin) / spanY);
    const double midX = (minX + maxX) / 2, midY = (minY + maxY) / 2;
    for (Vec3& p : projected) p = {width / 2.0 + (p.x - midX) * scale, height / 2.0 - (p.y - midY) * scale, p.z};
    canvas.setDepthBias(std::max(maxZ - minZ, 1e-12) * 1e-3);
    const Vec3 light = normalized(cam.toward + 0.5 * cam.up + 0.3 * cam.right);
    for (const Cell& c : mesh.cells) {
        const Colour base = paletteColour(colouring == Colouring::Group ? c.group : c.code);
        if (c.type == CellTriangle || c.type == CellQuad) {
            const Vec3 a = upright(mesh.points[c.ids[0]], up), b = upright(mesh.points[c.ids[1]], up),
                       d = upright(mesh.points[c.ids[2]], up);
            // Two-sided: a face lit from behind is as bright as from the front.
            const double shade = 0.25 + 0.75 * std::fabs(dot(normalized(cross(b - a, d - a)), light));
            const Colour lit{base.r * shade, base.g * shade, base.b * shade};
            canvas.triangle(projected[c.ids[0]], projected[c.ids[1]], projected[c.ids[2]], lit);
            if (c.type == CellQuad) canvas.triangle(projected[c.ids[0]], projected[c.ids[2]], projected[c.ids[3]], lit);
        } else if (c.type == CellLine) {
            const Colour dark{base.r * 0.45, base.g * 0.45, base.b * 0.45};
            canvas.line(projected[c.ids[0]], projected[c.ids[1]], dark);
        } else {
            canvas.line(projected[c.ids[0]], projected[c.ids[0]], {0, 0, 0});
        }
    }
    Image image = canvas.take();
    if (colouring == Colouring::Group) {
        std::set<std::int32_t> groups;
        for (const Cell& c : mesh.cells) groups.insert(c.group);
        drawLegend(image, groups);
    }
    return image;
}

namespace {

// libpng reports errors by longjmp, so this frame holds nothing with a destructor.
bool encodePng(const Image& image, FILE* file) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void writePng(const Image& image, const std::string& path) {
    FILE* file = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
    if (!file) throw Error(path + ": cannot create the file");
    const bool written = encodePng(image, file);
    const bool closed = file == stdout ? std::fflush(file) == 0 : std::fclose(file) == 0;
    if (!written || !closed) throw Error(path + ": cannot write the PNG");
}

}  // namespace tool
