// gmd: inspect, check, compare, convert and render GMD files.
#include <cstdio>
#include <exception>

#include "commands.h"
#include "io.h"

int main(int argc, char** argv) {
    CLI::App app{"Inspect, check, compare, convert and render GMD geometry-record files.", "gmd"};
    app.set_version_flag("--version", "gmd " GMD_TOOL_VERSION);
    app.require_subcommand(1);
    int status = 0;
    tool::addInfo(app, status);
    tool::addDump(app, status);
    tool::addCheck(app, status);
    tool::addDiff(app, status);
    tool::addConvert(app, status);
    tool::addRender(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version end here with 0; every usage error is a 2.
        return app.exit(e) == 0 ? 0 : 2;
    } catch (const tool::Exit& e) {
        std::fprintf(stderr, "gmd: %s\n", e.what());
        return e.code();
    } catch (const tool::Error& e) {
        std::fprintf(stderr, "gmd: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gmd: %s\n", e.what());
        return 2;
    }
    return status;
}
