#pragma once

#include <QStringList>

#include "themes/skin_api.h"
#include "themes/skin_block.h"

namespace sumbrook::testing {

// A skin seam that records each call as "attach N" (N the theme row whose block was
// given, 0 for any other bytes) or "detach", and changes no look.
class RecordingSkin : public SkinApi {
  public:
    bool attach(const QByteArray& block) override {
        int row = 0;
        for (int r = 1; r <= 7; ++r) {
            if (skinBlock(r) == block) {
                row = r;
            }
        }
        calls.append(QStringLiteral("attach %1").arg(row));
        return true;
    }
    void detach() override { calls.append(QStringLiteral("detach")); }

    QStringList calls;
};

}  // namespace sumbrook::testing
