// Placeholder translation of the Access SQL dialect: hands the text on unchanged
// until the real translator replaces this file.
#include "AccessDialect.h"

namespace mdblite {

Translation translateAccessSql(std::string_view accessSql) {
    Translation result;
    result.ok = true;
    result.sql = std::string(accessSql);
    return result;
}

}  // namespace mdblite
