#pragma once

#include <QPalette>
#include <QString>
#include <optional>

#include "themes/skin_api.h"

namespace sumbrook {

// Applies skin blocks inside this process: attach sets the application's style sheet and
// palette from the block, detach restores the look the application had before the first
// attach. A stand-in until the embedded skin module, loaded from memory, takes its place
// behind the same SkinApi. Needs a running QApplication.
class InProcessSkin : public SkinApi {
  public:
    bool attach(const QByteArray& block) override;
    void detach() override;

  private:
    void rememberSystemLook();

    bool remembered_ = false;
    QString systemStyleSheet_;
    QPalette systemPalette_;
};

}  // namespace sumbrook
