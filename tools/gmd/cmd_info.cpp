#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <set>

#include "commands.h"
#include "io.h"
#include "json_codec.h"
#include "mesh.h"

namespace tool {

namespace {

struct Summary {
    std::map<std::string, std::size_t> byType;
    std::size_t invalid = 0;
    std::set<int> groups;
    std::set<std::int32_t> volumes;
    bool hasBox = false;
    Vec3 low, high;
};

Summary summarise(const Model& model) {
    Summary s;
    for (const Record& r : model.records) {
        ++s.byType[typeName(r.code, r.frame.letter)];
        if (r.code == 0) ++s.invalid;
        s.groups.insert(r.frame.group);
        if (const Field* v = r.find("volume")) s.volumes.insert(v->ints[0]);
        if (const Field* v = r.find("volumes")) s.volumes.insert(v->ints.begin(), v->ints.end());
    }
    // Solids and surfaces count with the points of a coarse tessellation.
    const Mesh mesh = tessellate(model.records, 32);
    for (const Vec3& p : mesh.points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
        if (!s.hasBox) s.low = s.high = p;
        s.hasBox = true;
        s.low = {std::min(s.low.x, p.x), std::min(s.low.y, p.y), std::min(s.low.z, p.z)};
        s.high = {std::max(s.high.x, p.x), std::max(s.high.y, p.y), std::max(s.high.z, p.z)};
    }
    return s;
}

std::string joinNumbers(const std::set<std::int32_t>& values) {
    std::string out;
    for (std::int32_t v : values) out += (out.empty() ? "" : " ") + std::to_string(v);
    return out.empty() ? "none" : out;
}

std::string pointText(Vec3 p) {
    return "(" + formatFloat(static_cast<float>(p.x)) + ", " + formatFloat(static_cast<float>(p.y)) + ", " +
           formatFloat(static_cast<float>(p.z)) + ")";
}

Json pointJson(Vec3 p) { return Json::array({p.x, p.y, p.z}); }

int run(const std::string& name, bool json) {
    InputFile input(name);
    const Model model = readModel(input.path(), input.label());
    const Summary s = summarise(model);
    const std::set<std::int32_t> groups(s.groups.begin(), s.groups.end());
    if (json) {
        Json out;
        out["file"] = input.label();
        out["size"] = model.scan.fileSize;
        out["frames"] = model.records.size();
        out["types"] = Json::object();
        for (const auto& entry : s.byType) out["types"][entry.first] = entry.second;
        out["invalid"] = s.invalid;
        out["groups"] = Json(std::vector<std::int32_t>(groups.begin(), groups.end()));
        out["volumes"] = Json(std::vector<std::int32_t>(s.volumes.begin(), s.volumes.end()));
        out["boundingBox"] = s.hasBox ? Json{{"min", pointJson(s.low)}, {"max", pointJson(s.high)}} : Json();
        if (model.scan.damaged)
            out["damage"] = Json{{"offset", model.scan.stopOffset}, {"reason", model.scan.stopReason}};
        else
            out["damage"] = Json();
        std::cout << out.dump(2) << '\n';
    } else {
        std::printf("file:          %s\n", input.label().c_str());
        std::printf("size:          %llu bytes\n", static_cast<unsigned long long>(model.scan.fileSize));
        std::printf("frames:        %zu\n", model.records.size());
        std::printf("records by type:\n");
        for (const auto& entry : s.byType) std::printf("  %-26s %zu\n", entry.first.c_str(), entry.second);
        std::printf("invalid:       %zu\n", s.invalid);
        std::printf("groups:        %s\n", joinNumbers(groups).c_str());
        std::printf("volumes:       %s\n", joinNumbers(s.volumes).c_str());
        if (s.hasBox)
            std::printf("bounding box:  %s to %s\n", pointText(s.low).c_str(), pointText(s.high).c_str());
        else
            std::printf("bounding box:  none\n");
        if (model.scan.damaged)
            std::printf("reading stops: offset %llu: %s\n", static_cast<unsigned long long>(model.scan.stopOffset),
                        model.scan.stopReason.c_str());
        else
            std::printf("reading stops: clean end of file\n");
    }
    if (!model.libraryNote.empty()) std::fprintf(stderr, "gmd: %s: %s\n", input.label().c_str(), model.libraryNote.c_str());
    return model.scan.damaged ? 1 : 0;
}

}  // namespace

void addInfo(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("info", "Summarise a GMD file: sizes, record types, groups, extent, damage.");
    auto file = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "GMD file, or - for standard input")->required();
    cmd->add_flag("--json", *json, "Print one JSON object instead of text");
    cmd->callback([&status, file, json] { status = run(*file, *json); });
}

}  // namespace tool
