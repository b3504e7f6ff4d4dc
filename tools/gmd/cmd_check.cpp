#include <cstdio>

#include "commands.h"
#include "io.h"
#include "model/diagnose.h"
#include "model/names.h"

namespace tool {

namespace {

using gmdk::Record;

std::string where(const Record& r) {
    return "offset " + std::to_string(r.frame.offset) + " (record " + std::to_string(r.index) + ", " +
           gmdk::letterText(r.frame.letter) + " " + gmdk::typeName(r.code, r.frame.letter) + ")";
}

// 0 sound, 1 problems found, 2 the file cannot be read at all.
int checkFile(const std::string& name, bool strict, bool quiet) {
    try {
        InputFile input(name);
        gmdk::RecordReader reader(input.path());
        requireOpened(reader, input.label());
        const char* label = input.label().c_str();
        std::size_t problems = 0, warnings = 0;
        Record r;
        while (reader.next(r, strict)) {
            for (const std::string& reason : gmdk::structuralProblems(r)) {
                std::printf("%s: %s: %s\n", label, where(r).c_str(), reason.c_str());
                ++problems;
            }
            if (!strict) continue;
            for (const std::string& warning : gmdk::geometryWarnings(r)) {
                std::printf("%s: %s: warning: %s\n", label, where(r).c_str(), warning.c_str());
                ++warnings;
            }
        }
        std::fflush(stdout);
        if (finishReading(reader, input.label(), false)) ++problems;
        else if (!reader.libraryNote().empty()) {
            std::printf("%s: %s\n", label, reader.libraryNote().c_str());
            ++problems;
        }
        if (!quiet)
            std::printf("%s: %llu record(s), %zu problem(s)%s\n", label,
                        static_cast<unsigned long long>(reader.report().frames), problems,
                        strict ? (", " + std::to_string(warnings) + " warning(s)").c_str() : "");
        return problems + warnings ? 1 : 0;
    } catch (const Exit& e) {
        std::fprintf(stderr, "gmd: %s\n", e.what());
        return e.code();
    }
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
