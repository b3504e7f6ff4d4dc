// Each subcommand registers itself on the application; its callback leaves
// the process exit code in `status`.
#pragma once

#include <CLI/CLI.hpp>

namespace tool {

void addInfo(CLI::App& app, int& status);
void addDump(CLI::App& app, int& status);
void addCheck(CLI::App& app, int& status);
void addDiff(CLI::App& app, int& status);
void addConvert(CLI::App& app, int& status);
void addRender(CLI::App& app, int& status);

}  // namespace tool
