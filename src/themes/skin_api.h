#pragma once

#include <QByteArray>

namespace sumbrook {

// The seam through which themes reach the skin module: attach draws every window of the
// process with one skin block (".SHE" + our format); detach returns them to the system
// look. Results are reported but themes ignore them.
class SkinApi {
  public:
    virtual ~SkinApi() = default;
    virtual bool attach(const QByteArray& block) = 0;
    virtual void detach() = 0;
};

}  // namespace sumbrook
