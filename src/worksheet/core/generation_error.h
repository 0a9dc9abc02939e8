#pragma once

#include <stdexcept>
#include <string>

namespace sumbrook {

// A request that no sheet can satisfy: a subtype asked for more different questions than
// it can make. The window's limits never get here; the command line can.
class GenerationError : public std::runtime_error {
  public:
    explicit GenerationError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace sumbrook
