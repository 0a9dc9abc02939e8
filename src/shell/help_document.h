#pragma once

#include <QByteArray>
#include <QString>

namespace sumbrook {

// "软件说明": the help document the program carries (GBK text with CR LF line ends) and
// its file beside the program. The file is written only when none is there, so a copy the
// user has edited is shown as edited; it does not open the file itself.
class HelpDocument {
  public:
    // The document's bytes as the program carries them.
    static QByteArray bytes();
    // "软件说明.txt" in `programDirectory`.
    static QString path(const QString& programDirectory);
    // Where the document is kept: beside the program when it is there or can be written
    // there, else in the per-user data folder.
    static QString pathInUse(const QString& programDirectory);
    // The document as text: GBK decoded, line ends made "\n". Undecodable bytes show as
    // replacement characters rather than hiding the rest.
    static QString text(const QByteArray& bytes);
    // Writes the document at `path` unless a file is already there. The file appears whole
    // or not at all (a failed write leaves nothing behind). True when a file is there
    // afterwards, written now or before.
    static bool writeIfAbsent(const QString& path);
};

}  // namespace sumbrook
