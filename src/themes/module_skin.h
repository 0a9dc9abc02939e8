#pragma once

#include "themes/memory_module.h"
#include "themes/skin_api.h"

namespace sumbrook {

// Reaches the skin module loaded in `module` (the program's skinModule): attach calls its
// SkinH_AttachRes with (block, length, no text, 0, 0, 0), detach its SkinH_Detach. Each call
// looks the export up afresh; when the module is not loaded or lacks the export, the call
// does nothing and reports false.
class ModuleSkin : public SkinApi {
  public:
    explicit ModuleSkin(const MemoryModule& module) : module_(module) {}

    bool attach(const QByteArray& block) override;
    void detach() override;

  private:
    const MemoryModule& module_;
};

}  // namespace sumbrook
