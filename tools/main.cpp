// rackbook-db: the command-line tool that creates, fills, imports and exports
// Rackbook databases.  Everything happens in runTool.
#include "commands/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    rackbook::Words args(argv + 1, argv + argc);
    return rackbook::runTool(args, std::cout, std::cerr);
}
