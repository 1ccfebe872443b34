// import-mdb SOURCE.mdb TARGET: not ready yet in this build.
#include "commands/Commands.h"

#include "ToolError.h"

namespace rackbook {

void importMdbCommand(const Words&, std::ostream&) {
    throw ToolError("import-mdb is not available in this build");
}

} // namespace rackbook
