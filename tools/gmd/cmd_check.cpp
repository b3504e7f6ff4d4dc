#include <cstdio>

#include "commands.h"
#include "diagnose.h"
#include "io.h"
#include "record.h"

namespace tool {

namespace {

std::string where(const Record& r) {
    return "offset " + std::to_string(r.frame.offset) + " (record " + std::to_string(r.index) + ", " +
           letterText(r.frame.letter) + " " + typeName(r.code, r.frame.letter) + ")";
}

// 0 sound, 1 problems found, 2 the file cannot be read at all.
int checkFile(const std::string& name, bool strict, bool quiet) {
    std::unique_ptr<InputFile> input;
    Model model;
    try {
        input = std::make_unique<InputFile>(name);
        model = readModel(input->path(), input->label());
    } catch (const Error& e) {
        std::fprintf(stderr, "gmd: %s\n", e.what());
        return 2;
    }
    const char* label = input->label().c_str();
    std::size_t problems = 0, warnings = 0;
    for (const Record& r : model.records) {
        for (const std::string& reason : structuralProblems(r)) {
            std::printf("%s: %s: %s\n", label, where(r).c_str(), reason.c_str());
            ++problems;
        }
        if (!strict) continue;
        for (const std::string& warning : geometryWarnings(r)) {
            std::printf("%s: %s: warning: %s\n", label, where(r).c_str(), warning.c_str());
            ++warnings;
        }
    }
    if (model.scan.damaged) {
        std::printf("%s: offset %llu: %s; the last %llu byte(s) are not read\n", label,
                    static_cast<unsigned long long>(model.scan.stopOffset), model.scan.stopReason.c_str(),
                    static_cast<unsigned long long>(model.scan.fileSize - model.scan.stopOffset));
        ++problems;
    }
    if (!model.libraryNote.empty()) {
        std::printf("%s: %s\n", label, model.libraryNote.c_str());
        ++problems;
    }
    if (!quiet)
        std::printf("%s: %zu record(s), %zu problem(s)%s\n", label, model.records.size(), problems,
                    strict ? (", " + std::to_string(warnings) + " warning(s)").c_str() : "");
    return problems + warnings ? 1 : 0;
}

}  // namespace

void addCheck(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("check", "Report invalid records and damaged frames; exit 0 sound, 1 problems, 2 unreadable.");
    auto files = std::make_shared<std::vector<std::string>>();
    auto strict = std::make_shared<bool>(false);
    auto quiet = std::make_shared<bool>(false);
    cmd->add_option("FILE", *files, "GMD files, or - for standard input")->required();
    cmd->add_flag("--strict", *strict, "Also warn about degenerate or non-finite geometry and zero normals");
    cmd->add_flag("-q,--quiet", *quiet, "Print problems only, no summary line");
    cmd->callback([&status, files, strict, quiet] {
        int worst = 0;
        for (const std::string& f : *files) worst = std::max(worst, checkFile(f, *strict, *quiet));
        status = worst;
    });
}

}  // namespace tool
