#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>

#include "commands.h"
#include "convert/tessellate.h"
#include "io.h"
#include "json_codec.h"
#include "model/fields.h"
#include "model/names.h"

namespace tool {

namespace {

using gmdk::Record;
using gmdk::Vec3;

struct Summary {
    // Record type codes are the polygon forms 1-6 or a letter byte.
    std::uint64_t byCode[256] = {};
    std::uint8_t letterOf[256] = {};
    std::uint64_t invalid = 0;
    std::uint64_t byGroup[256] = {};
    std::map<std::int32_t, std::uint64_t> byVolume;   // records naming the volume
    bool hasBox = false;
    Vec3 low, high;

    void include(Vec3 p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
        if (!hasBox) low = high = p;
        hasBox = true;
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }

    std::map<std::string, std::uint64_t> byType() const {
        std::map<std::string, std::uint64_t> out;
        for (int c = 0; c < 256; ++c)
            if (byCode[c]) out[gmdk::typeName(static_cast<std::int8_t>(c), letterOf[c])] += byCode[c];
        return out;
    }

    std::map<std::int32_t, std::uint64_t> groups() const {
        std::map<std::int32_t, std::uint64_t> out;
        for (int g = 0; g < 256; ++g)
            if (byGroup[g]) out[static_cast<std::int8_t>(g)] = byGroup[g];
        return out;
    }

    void add(GMD_File* h, Record& r, gmdk::Mesh& scratch) {
        const std::uint8_t code = static_cast<std::uint8_t>(r.code);
        ++byCode[code];
        letterOf[code] = r.frame.letter;
        if (r.code == GMD_RECORD_INVALID) ++invalid;
        ++byGroup[static_cast<std::uint8_t>(r.frame.group)];
        gmdk::PolygonCell cell;
        if (gmdk::readPlainPolygon(h, r, cell)) {
            for (int k = 0; k < cell.corners; ++k) include({cell.xyz[3 * k], cell.xyz[3 * k + 1], cell.xyz[3 * k + 2]});
            if (r.code == GMD_RECORD_VOLUME_TRIANGLE || r.code == GMD_RECORD_VOLUME_QUAD) {
                ++byVolume[cell.volume1];
                if (cell.volume2 != cell.volume1) ++byVolume[cell.volume2];
            }
            return;
        }
        gmdk::readFields(h, r);
        if (const gmdk::Field* v = r.find("volume")) ++byVolume[v->ints[0]];
        if (const gmdk::Field* v = r.find("volumes")) {
            ++byVolume[v->ints[0]];
            if (v->ints[1] != v->ints[0]) ++byVolume[v->ints[1]];
        }
        if (const gmdk::Field* v = r.find("vertices"); v && gmdk::isPolygonCode(r.code)) {
            for (std::size_t k = 0; k + 2 < v->floats.size(); k += 3)
                include({v->floats[k], v->floats[k + 1], v->floats[k + 2]});
            return;
        }
        // Solids and surfaces count with the points of a coarse tessellation.
        scratch.points.clear();
        scratch.cells.clear();
        gmdk::tessellate(r, 32, scratch);
        for (const Vec3& p : scratch.points) include(p);
    }
};

std::string countsText(const std::map<std::int32_t, std::uint64_t>& counts) {
    std::string out;
    for (const auto& entry : counts)
        out += (out.empty() ? "" : ", ") + std::to_string(entry.first) + ": " + std::to_string(entry.second);
    return out.empty() ? "none" : out;
}

Json countsJson(const std::map<std::int32_t, std::uint64_t>& counts) {
    Json out = Json::object();
    for (const auto& entry : counts) out[std::to_string(entry.first)] = entry.second;
    return out;
}

std::string pointText(Vec3 p) {
    return "(" + gmdk::formatFloat(static_cast<float>(p.x)) + ", " + gmdk::formatFloat(static_cast<float>(p.y)) + ", " +
           gmdk::formatFloat(static_cast<float>(p.z)) + ")";
}

Json pointJson(Vec3 p) { return Json::array({p.x, p.y, p.z}); }

int run(const std::string& name, bool json, bool force) {
    InputFile input(name);
    gmdk::RecordReader reader(input.path());
    requireOpened(reader, input.label());
    Summary s;
    Record r;
    gmdk::Mesh scratch;
    while (reader.next(r, false)) s.add(reader.handle(), r, scratch);
    const int status = finishReading(reader, input.label(), force);
    if (status) return status;
    const GMDK_Report& report = reader.report();
    const bool damaged = reader.status() != GMDK_STATUS_OK;
    if (json) {
        Json out;
        out["file"] = input.label();
        out["size"] = report.file_size;
        out["frames"] = report.frames;
        out["types"] = Json::object();
        for (const auto& entry : s.byType()) out["types"][entry.first] = entry.second;
        out["invalid"] = s.invalid;
        out["groups"] = countsJson(s.groups());
        out["volumes"] = countsJson(s.byVolume);
        out["boundingBox"] = s.hasBox ? Json{{"min", pointJson(s.low)}, {"max", pointJson(s.high)}} : Json();
        out["damage"] = damaged ? Json{{"offset", report.stop_offset}, {"reason", report.reason}} : Json();
        std::cout << out.dump(2) << '\n';
    } else {
        std::printf("file:          %s\n", input.label().c_str());
        std::printf("size:          %llu bytes\n", static_cast<unsigned long long>(report.file_size));
        std::printf("frames:        %llu\n", static_cast<unsigned long long>(report.frames));
        std::printf("records by type:\n");
        for (const auto& entry : s.byType())
            std::printf("  %-26s %llu\n", entry.first.c_str(), static_cast<unsigned long long>(entry.second));
        std::printf("invalid:       %llu\n", static_cast<unsigned long long>(s.invalid));
        std::printf("groups:        %s\n", countsText(s.groups()).c_str());
        std::printf("volumes:       %s\n", countsText(s.byVolume).c_str());
        if (s.hasBox)
            std::printf("bounding box:  %s to %s\n", pointText(s.low).c_str(), pointText(s.high).c_str());
        else
            std::printf("bounding box:  none\n");
        if (damaged)
            std::printf("reading stops: offset %llu: %s\n", static_cast<unsigned long long>(report.stop_offset), report.reason);
        else
            std::printf("reading stops: clean end of file\n");
    }
    if (!reader.libraryNote().empty())
        std::fprintf(stderr, "gmd: %s: %s\n", input.label().c_str(), reader.libraryNote().c_str());
    return 0;
}

}  // namespace

void addInfo(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("info", "Summarise a GMD file: sizes, records by type, group and volume, extent, damage.");
    auto file = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    auto force = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "GMD file, or - for standard input")->required();
    cmd->add_flag("--json", *json, "Print one JSON object instead of text");
    cmd->add_flag("--force", *force, "Summarise the records before damage instead of failing");
    cmd->callback([&status, file, json, force] { status = run(*file, *json, *force); });
}

}  // namespace tool
