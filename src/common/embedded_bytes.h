#pragma once

#include <QByteArray>
#include <cstddef>

namespace sumbrook {

// Bytes the build compiled into the program (tools/embed_files.cmake), seen as a byte array
// without copying them: they are constant data that lives as long as the process.
inline QByteArray embeddedBytes(const unsigned char* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

}  // namespace sumbrook
