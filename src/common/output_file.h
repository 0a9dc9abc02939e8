#pragma once

#include <QIODevice>
#include <QString>
#include <memory>

class QFileDevice;

namespace sumbrook {

// A file that a user named, written whole. A regular file, or one not there yet, is
// replaced in one step once every byte has reached the disk, so a failure leaves the old
// file as it was. What is already there and is not a regular file (a character device, a
// pipe, one of the program's own descriptors such as /dev/stdout) is written in place and
// never replaced, renamed or removed. A folder is refused. Every write is checked: a
// write cut short fails the file. It makes no folders and reads nothing.
class OutputFile : public QIODevice {
  public:
    explicit OutputFile(QString path);
    ~OutputFile() override;  // uncommitted: as cancel()

    // Only write-only modes; false with reason() when the file cannot be written.
    bool open(OpenMode mode = WriteOnly) override;
    bool isSequential() const override { return true; }
    // Puts the written bytes in place of the old file; false with reason() on a write
    // that failed or fell short, in which case a replaced file is left as it was.
    bool commit();
    // Gives up: a file that would have been replaced is left as it was.
    void cancel();
    // "cannot write 'PATH': why", naming the path as given.
    QString reason() const { return reason_; }
    QString path() const { return path_; }
    // True when the target is written in place rather than replaced.
    bool writesInPlace() const { return inPlace_; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

  private:
    bool fail(const QString& why);

    QString path_;
    std::unique_ptr<QFileDevice> file_;
    bool inPlace_ = false;
    bool failed_ = false;
    qint64 written_ = 0;
    QString reason_;
};

}  // namespace sumbrook
