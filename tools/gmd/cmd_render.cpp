#include <cstdio>

#include "commands.h"
#include "io.h"
#include "raster.h"

namespace tool {

namespace {

struct Options {
    std::string file;
    std::string output;
    std::string view = "iso";
    std::string up = "z";
    std::string size = "800x600";
    std::string colour = "group";
    int resolution = 24;
    bool force = false;
};

void parseSize(const std::string& text, int& width, int& height) {
    unsigned w = 0, h = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%ux%u%c", &w, &h, &extra) != 2 || w < 1 || h < 1 || w > 16384 || h > 16384)
        throw Exit(2, "--size wants WxH with each side from 1 to 16384, not '" + text + "'");
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

int run(const Options& o) {
    int width = 0, height = 0;
    parseSize(o.size, width, height);
    const View view = o.view == "top" ? View::Top : o.view == "front" ? View::Front : o.view == "side" ? View::Side : View::Iso;
    InputFile input(o.file);
    gmdk::RecordReader reader(input.path());
    requireOpened(reader, input.label());
    gmdk::Mesh mesh;
    gmdk::Record r;
    while (reader.next(r)) gmdk::tessellate(r, o.resolution, mesh);
    if (const int status = finishReading(reader, input.label(), o.force)) return status;
    for (const std::string& w : mesh.warnings) std::fprintf(stderr, "gmd: %s: %s\n", input.label().c_str(), w.c_str());
    if (mesh.cells.empty()) std::fprintf(stderr, "gmd: %s: nothing to draw\n", input.label().c_str());
    const Image image = render(mesh, view, o.up[0] - 'x', o.colour == "type" ? Colouring::Type : Colouring::Group, width, height);
    OutputFile out(o.output);
    writePng(image, out.path());
    out.commit();
    return 0;
}

}  // namespace

void addRender(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("render", "Draw the whole model into a PNG picture.");
    auto o = std::make_shared<Options>();
    cmd->add_option("FILE", o->file, "GMD file, or - for standard input")->required();
    cmd->add_option("-o,--output", o->output, "PNG file to write, or - for standard output")->required();
    cmd->add_option("--view", o->view, "Direction of view")->check(CLI::IsMember({"iso", "top", "front", "side"}));
    cmd->add_option("--up", o->up, "Model axis that points up in the picture (default z)")
        ->check(CLI::IsMember({"x", "y", "z"}));
    cmd->add_option("--size", o->size, "Picture size WxH in pixels (default 800x600)");
    cmd->add_option("--color", o->colour, "Colour faces by group byte (with a legend) or by record type")
        ->check(CLI::IsMember({"group", "type"}));
    cmd->add_option("-r,--resolution", o->resolution, "Steps around solids and across NURBS surfaces")
        ->check(CLI::Range(3, 512));
    cmd->add_flag("--force", o->force, "Draw the records before damage instead of failing");
    cmd->callback([&status, o] { status = run(*o); });
}

}  // namespace tool
