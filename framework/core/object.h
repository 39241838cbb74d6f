#pragma once

// Root of the framework's classes. Lists that own their items free them
// through this base, so the destructor is virtual.
class unaObject {
  public:
    unaObject() = default;
    virtual ~unaObject() = default;

    unaObject(const unaObject&) = delete;
    unaObject& operator=(const unaObject&) = delete;
};

// Base of the errors the framework raises itself. A worker that ends with one
// of these exits with code -1 and can be started again.
#include <stdexcept>

class unaException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Unwinds a construction that cannot go on (no thread record free). The
// program's top-level error handling swallows it without showing anything.
class unaSilentAbort : public unaException {
  public:
    unaSilentAbort() : unaException("silent abort") {}
};
