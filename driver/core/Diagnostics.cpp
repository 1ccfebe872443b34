// Diagnostic records of one ODBC handle.
#include "Diagnostics.h"

namespace mdblite {

void Diagnostics::add(const std::string& sqlstate, const std::string& message,
                      SQLINTEGER nativeError) {
    records_.push_back(DiagRecord{sqlstate, nativeError, "[mdblite]" + message});
}

} // namespace mdblite
