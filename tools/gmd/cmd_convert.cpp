#include <cstdio>
#include <fstream>
#include <iostream>

#include "commands.h"
#include "convert/formats.h"
#include "convert/import.h"
#include "gmd.h"
#include "io.h"
#include "json_codec.h"
#include "jsonl_writer.h"
#include "model/fields.h"
#include "model/writer.h"

namespace tool {

namespace {

using gmdk::Record;

struct Options {
    std::string in, out, from, to;
    int resolution = 24;
    std::string vtuEncoding = "raw";
    bool force = false;
};

std::vector<std::uint8_t> bytesFrom(const std::string& path, std::uint64_t offset) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int gmdToJsonl(const InputFile& in, const OutputFile& out, bool force) {
    gmdk::RecordReader reader(in.path());
    requireOpened(reader, in.label());
    JsonlWriter writer(out.path(), out.label());
    Record r;
    Progress progress("converting", reader.report().file_size);
    while (reader.next(r)) {
        writer.add(r);
        progress.step(r.frame.offset);
    }
    if (const int status = finishReading(reader, in.label(), force)) return status;
    // With --force the bytes after the damage travel along, so that the
    // file converts back to the same bytes.
    if (reader.status() == GMDK_STATUS_DAMAGED)
        writer.tail(reader.report().stop_offset, reader.report().reason, bytesFrom(in.path(), reader.report().stop_offset));
    writer.close();
    return 0;
}

int jsonlToGmd(const InputFile& in, const OutputFile& out) {
    std::ifstream file(in.path());
    if (!file) throw Exit(2, in.label() + ": cannot open");
    gmdk::RecordWriter writer(out.path(), out.label());
    std::string line;
    std::size_t lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        const std::string at = in.label() + ": line " + std::to_string(lineNumber) + ": ";
        try {
            const Json json = parseLine(line);
            if (isTail(json)) {
                writer.writeBytes(tailBytes(json));
                continue;
            }
            if (!writer.write(recordFromJson(json))) throw Error("the library refused the record's fields");
        } catch (const Json::exception& e) {
            throw Exit(1, at + "not JSON: " + e.what());
        } catch (const Exit&) {
            throw;
        } catch (const Error& e) {
            throw Exit(1, at + e.what());
        }
    }
    writer.close();
    return 0;
}

int gmdToMesh(const InputFile& in, const OutputFile& out, const std::string& format, const Options& o) {
    gmdk::RecordReader reader(in.path());
    requireOpened(reader, in.label());
    gmdk::Mesh piece;
    gmdk::SharedMesh shared;
    std::unique_ptr<gmdk::StlWriter> stl;
    if (format == "stl") stl = std::make_unique<gmdk::StlWriter>(out.path());
    Record r;
    gmdk::PolygonCell cell;
    std::vector<std::string> warnings;
    while (reader.next(r, false)) {
        if (gmdk::readPlainPolygon(reader.handle(), r, cell)) {
            if (stl)
                stl->add(cell);
            else
                shared.add(cell);
            continue;
        }
        gmdk::readFields(reader.handle(), r);
        piece.points.clear();
        piece.cells.clear();
        gmdk::tessellate(r, o.resolution, piece);
        for (const std::string& w : piece.warnings) warnings.push_back(w);
        piece.warnings.clear();
        if (stl)
            stl->add(piece);
        else
            shared.add(piece);
    }
    if (const int status = finishReading(reader, in.label(), o.force)) return status;
    for (const std::string& w : warnings) std::fprintf(stderr, "gmd: %s: %s\n", in.label().c_str(), w.c_str());
    if (stl) stl->close();
    if (format == "obj") gmdk::writeObj(shared, out.path());
    if (format == "vtu")
        gmdk::writeVtu(shared, out.path(),
                       o.vtuEncoding == "ascii"    ? gmdk::VtuEncoding::Ascii
                       : o.vtuEncoding == "base64" ? gmdk::VtuEncoding::Base64
                                                   : gmdk::VtuEncoding::Raw);
    return 0;
}

// Faces become polygon records ('P', or 'L' for a line) in their group; a
// named group also gets a group material name record ('M') before its first
// face.
class RecordSink : public gmdk::ImportSink {
public:
    RecordSink(const std::string& path, const std::string& label)
        : label_(label), handle_(GMD_OpenWriteFile(path.c_str())) {
        if (!handle_) throw Exit(2, label + ": cannot create the file");
    }
    ~RecordSink() override {
        if (handle_) GMD_CloseFile(handle_);
    }
    void group(int number, const std::string& name) override {
        if (name.empty()) return;
        check(GMD_SetGroupMaterialName(handle_, name.c_str()) && GMD_SetGroup(handle_, number) && GMD_WriteRecord(handle_));
    }
    void face(const gmdk::ImportedFace& f) override {
        const int ok = f.corners == 2   ? GMD_SetSegment(handle_, f.xyz)
                       : f.corners == 3 ? GMD_SetTriangle(handle_, f.xyz)
                                        : GMD_SetQuad(handle_, f.xyz);
        check(ok && GMD_SetGroup(handle_, f.group) && GMD_WriteRecord(handle_));
    }
    void close() {
        GMD_File* h = handle_;
        handle_ = nullptr;
        if (!GMD_CloseFile(h)) throw Exit(2, label_ + ": write failed");
    }

private:
    void check(int ok) {
        if (!ok) throw Exit(2, label_ + ": the library refused a record");
    }
    std::string label_;
    GMD_File* handle_;
};

int meshToGmd(const InputFile& in, const OutputFile& out, const std::string& format) {
    RecordSink sink(out.path(), out.label());
    try {
        if (format == "stl")
            gmdk::readStl(in.path(), in.label(), sink);
        else
            gmdk::readObj(in.path(), in.label(), sink);
    } catch (const gmdk::NotThisFormat& e) {
        throw Exit(2, e.what());
    } catch (const Exit&) {
        throw;
    } catch (const Error& e) {
        throw Exit(1, e.what());
    }
    sink.close();
    return 0;
}

std::string formatOf(const std::string& given, const std::string& name, const char* which) {
    std::string format = given.empty() ? extensionOf(name) : given;
    if (format == "json") format = "jsonl";
    if (format.empty())
        throw Exit(2, std::string("cannot tell the ") + which + " format of '" + name + "'; give --" +
                          (which[0] == 'i' ? "from" : "to"));
    return format;
}

int run(const Options& o) {
    const std::string inFormat = formatOf(o.from, o.in, "input");
    const std::string outFormat = formatOf(o.to, o.out, "output");
    const bool meshOut = outFormat == "vtu" || outFormat == "obj" || outFormat == "stl";
    const bool known = (inFormat == "gmd" && (outFormat == "jsonl" || meshOut)) ||
                       (inFormat == "jsonl" && outFormat == "gmd") ||
                       ((inFormat == "stl" || inFormat == "obj") && outFormat == "gmd");
    if (!known) {
        const bool otherMesh = (inFormat != "gmd" && inFormat != "jsonl" && outFormat == "gmd") ||
                               (inFormat == "gmd" && outFormat != "gmd");
        throw Exit(2, "no conversion from ." + inFormat + " to ." + outFormat +
                          (otherMesh ? "; for other mesh formats use: python3 -m gmd convert " + o.in + " " + o.out : ""));
    }
    InputFile in(o.in);
    OutputFile out(o.out);
    int status = 0;
    if (inFormat == "gmd" && outFormat == "jsonl")
        status = gmdToJsonl(in, out, o.force);
    else if (inFormat == "jsonl")
        status = jsonlToGmd(in, out);
    else if (inFormat == "gmd")
        status = gmdToMesh(in, out, outFormat, o);
    else
        status = meshToGmd(in, out, inFormat);
    if (status == 0) out.commit();
    return status;
}

}  // namespace

void addConvert(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("convert", "Convert by extension: gmd <-> jsonl; gmd -> vtu, obj, stl; stl, obj -> gmd.");
    auto o = std::make_shared<Options>();
    cmd->add_option("IN", o->in, "Input file, or - for standard input")->required();
    cmd->add_option("OUT", o->out, "Output file, or - for standard output")->required();
    cmd->add_option("--from", o->from, "Input format (gmd, jsonl, stl, obj) when the name does not tell");
    cmd->add_option("--to", o->to, "Output format (gmd, jsonl, vtu, obj, stl) when the name does not tell");
    cmd->add_option("-r,--resolution", o->resolution, "Steps around solids and across NURBS surfaces")
        ->check(CLI::Range(3, 512));
    cmd->add_option("--vtu-encoding", o->vtuEncoding, "VTU arrays as appended raw bytes (default), base64 or ascii")
        ->check(CLI::IsMember({"raw", "base64", "ascii"}));
    cmd->add_flag("--force", o->force, "Convert the records before damage instead of failing");
    cmd->callback([&status, o] { status = run(*o); });
}

}  // namespace tool
