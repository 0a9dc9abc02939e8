#pragma once

#include <QString>

namespace sumbrook {

// One pupil of the class as the class list names them: the teacher's number (学号) and the
// name. Plain data; the server's own id stays on the server.
struct ClassPupil {
    QString number;
    QString name;

    friend bool operator==(const ClassPupil&, const ClassPupil&) = default;
};

}  // namespace sumbrook
