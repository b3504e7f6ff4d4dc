#include <cstdio>
#include <fstream>
#include <iostream>

#include "commands.h"
#include "formats.h"
#include "io.h"
#include "json_codec.h"

namespace tool {

namespace {

void warnDamage(const std::string& label, const Model& model) {
    if (model.scan.damaged)
        std::fprintf(stderr, "gmd: %s: offset %llu: %s; converted the records before it\n", label.c_str(),
                     static_cast<unsigned long long>(model.scan.stopOffset), model.scan.stopReason.c_str());
}

// Marks raw every record whose fields, written back through the setters, do
// not give the bytes of its frame: the JSON then carries the frame itself.
void keepOnlyLosslessFields(std::vector<Record>& records) {
    const std::string scratch = makeTemporaryPath();
    std::vector<std::size_t> written;
    {
        RecordWriter writer(scratch, "temporary file");
        for (Record& r : records) {
            if (!r.hasFields) continue;
            // Through the JSON text and back, so the check covers the codec too.
            bool accepted = false;
            try {
                accepted = writer.write(recordFromJson(Json::parse(jsonLine(recordToJson(r)))));
            } catch (const std::exception&) {
                writer.write(Record());  // keeps one frame per record
            }
            if (!accepted) r.hasFields = false;
            written.push_back(r.index);
        }
        writer.close();
    }
    const Scan back = scanFile(scratch);
    std::remove(scratch.c_str());
    for (std::size_t k = 0; k < written.size(); ++k) {
        Record& r = records[written[k]];
        if (k >= back.frames.size() || back.frames[k].bytes() != r.frame.bytes()) r.hasFields = false;
    }
    for (Record& r : records)
        if (!r.hasFields) r.fields.clear();
}

void gmdToJsonl(const InputFile& in, const OutputFile& out) {
    Model model = readModel(in.path(), in.label());
    keepOnlyLosslessFields(model.records);
    std::ofstream file(out.path(), std::ios::trunc);
    Progress progress("converting", model.records.size());
    for (const Record& r : model.records) {
        file << jsonLine(recordToJson(r)) << '\n';
        progress.step(r.index + 1);
    }
    if (model.scan.damaged) {
        const std::vector<std::uint8_t> bytes = readWholeFile(in.path());
        const std::vector<std::uint8_t> tail(bytes.begin() + static_cast<std::ptrdiff_t>(model.scan.stopOffset), bytes.end());
        file << jsonLine(tailToJson(model.scan.stopOffset, model.scan.stopReason, tail)) << '\n';
        warnDamage(in.label(), model);
    }
    if (!file.flush()) throw Error(out.label() + ": write failed");
}

void jsonlToGmd(const InputFile& in, const OutputFile& out) {
    std::ifstream file(in.path());
    if (!file) throw Error(in.label() + ": cannot open");
    RecordWriter writer(out.path(), out.label());
    std::string line;
    std::size_t lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        const std::string at = in.label() + ": line " + std::to_string(lineNumber) + ": ";
        try {
            const Json json = Json::parse(line);
            if (isTail(json)) {
                writer.writeBytes(tailBytes(json));
                continue;
            }
            if (!writer.write(recordFromJson(json))) throw Error("the library refused the record's fields");
        } catch (const Json::exception& e) {
            throw Error(at + "not JSON: " + e.what());
        } catch (const Error& e) {
            throw Error(at + e.what());
        }
    }
    writer.close();
}

void gmdToMesh(const InputFile& in, const OutputFile& out, const std::string& format, int resolution) {
    const Model model = readModel(in.path(), in.label());
    warnDamage(in.label(), model);
    const Mesh mesh = tessellate(model.records, resolution);
    for (const std::string& w : mesh.warnings) std::fprintf(stderr, "gmd: %s: %s\n", in.label().c_str(), w.c_str());
    if (format == "vtu") writeVtu(mesh, out.path());
    if (format == "obj") writeObj(mesh, out.path());
    if (format == "stl") writeStl(mesh, out.path());
}

void meshToGmd(const InputFile& in, const OutputFile& out, const std::string& format) {
    const std::vector<Face> faces = format == "stl" ? readStl(in.path(), in.label()) : readObj(in.path(), in.label());
    RecordWriter writer(out.path(), out.label());
    Progress progress("converting", faces.size());
    std::size_t done = 0;
    for (const Face& f : faces) {
        Record r;
        r.hasFields = true;
        r.frame.letter = f.corners.size() == 2 ? 'L' : 'P';
        r.frame.group = static_cast<std::int8_t>(std::max(-127, std::min(127, f.group)));
        std::vector<float> vertices;
        for (const Vec3& c : f.corners)
            for (double v : {c.x, c.y, c.z}) vertices.push_back(static_cast<float>(v));
        r.fields.push_back(floatField("vertices", std::move(vertices)));
        if (!writer.write(r)) throw Error(out.label() + ": the library refused a polygon record");
        progress.step(++done);
    }
    writer.close();
}

std::string formatOf(const std::string& given, const std::string& name, const char* which) {
    std::string format = given.empty() ? extensionOf(name) : given;
    if (format == "json") format = "jsonl";
    if (format.empty())
        throw Error(std::string("cannot tell the ") + which + " format of '" + name + "'; give --" +
                    (which[0] == 'i' ? "from" : "to"));
    return format;
}

void run(const std::string& inName, const std::string& outName, const std::string& from, const std::string& to,
         int resolution) {
    const std::string inFormat = formatOf(from, inName, "input");
    const std::string outFormat = formatOf(to, outName, "output");
    InputFile in(inName);
    OutputFile out(outName);
    if (inFormat == "gmd" && outFormat == "jsonl")
        gmdToJsonl(in, out);
    else if (inFormat == "jsonl" && outFormat == "gmd")
        jsonlToGmd(in, out);
    else if (inFormat == "gmd" && (outFormat == "vtu" || outFormat == "obj" || outFormat == "stl"))
        gmdToMesh(in, out, outFormat, resolution);
    else if ((inFormat == "stl" || inFormat == "obj") && outFormat == "gmd")
        meshToGmd(in, out, inFormat);
    else
        throw Error("no conversion from ." + inFormat + " to ." + outFormat);
    out.commit();
}

}  // namespace

void addConvert(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("convert", "Convert by extension: gmd <-> jsonl; gmd -> vtu, obj, stl; stl, obj -> gmd.");
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto from = std::make_shared<std::string>();
    auto to = std::make_shared<std::string>();
    auto resolution = std::make_shared<int>(24);
    cmd->add_option("IN", *in, "Input file, or - for standard input")->required();
    cmd->add_option("OUT", *out, "Output file, or - for standard output")->required();
    cmd->add_option("--from", *from, "Input format (gmd, jsonl, stl, obj) when the name does not tell");
    cmd->add_option("--to", *to, "Output format (gmd, jsonl, vtu, obj, stl) when the name does not tell");
    cmd->add_option("-r,--resolution", *resolution, "Steps around solids and across NURBS surfaces")
        ->check(CLI::Range(3, 512));
    cmd->callback([&status, in, out, from, to, resolution] {
        run(*in, *out, *from, *to, *resolution);
        status = 0;
    });
}

}  // namespace tool
