// The environment handle: the ODBC version and the connections made on it.
#include "Handles.h"
#include "Trace.h"

#include <algorithm>

namespace mdblite {

Environment::Environment() {
    traceAlloc("env", this);
}

Environment::~Environment() {
    connections_.clear();
    tag_ = HandleTag::Dead;
    traceFree("env", this);
}

Environment* Environment::from(SQLHANDLE handle) {
    auto* environment = static_cast<Environment*>(handle);
    if (!environment || environment->tag_ != HandleTag::Environment)
        return nullptr;
    return environment;
}

Connection* Environment::allocConnection() {
    connections_.push_back(std::make_unique<Connection>(*this));
    return connections_.back().get();
}

bool Environment::freeConnection(Connection* connection) {
    if (connection->connected())
        return false;
    auto found = std::find_if(connections_.begin(), connections_.end(),
                              [&](const auto& owned) { return owned.get() == connection; });
    if (found != connections_.end())
        connections_.erase(found);
    return true;
}

} // namespace mdblite
