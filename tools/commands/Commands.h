// The subcommands of rackbook-db.  Each takes the words after its name,
// writes its report to `out`, and throws ToolError (or UsageError) on any
// failure, having left every file as it was.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace rackbook {

using Words = std::vector<std::string>;

void createCommand(const Words& args, std::ostream& out);
void demoCommand(const Words& args, std::ostream& out);
void importCsvCommand(const Words& args, std::ostream& out);
void exportCsvCommand(const Words& args, std::ostream& out);
void importMdbCommand(const Words& args, std::ostream& out);

// The usage text printed by --help.
const char* usageText();

// Runs the whole command line (without the program name) and returns the
// exit status: 0 done, 1 failed, 2 wrong usage.  Messages go to `err`.
int runTool(const Words& args, std::ostream& out, std::ostream& err);

} // namespace rackbook
