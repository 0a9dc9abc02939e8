#include "moviehost/movie_player.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <optional>
#include <span>

#include "moviehost/code_patch_hook.h"
#include "moviehost/file_open_entry.h"
#include "moviehost/filtered_window_list.h"
#include "moviehost/intercepted_open.h"
#include "moviehost/memory_file_table.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_bundle.h"
#include "practice/scene/scene_widget.h"

namespace sumbrook {

namespace {

const QString kDongzuo = QStringLiteral("dongzuo");
const QString kQuanping = QStringLiteral("quanping");

// Everything `path` holds, read through the process's file-open entry; nothing when it
// cannot be opened or read, or when it holds more than `limit` bytes.
std::optional<QByteArray> readWhole(const QString& path, qint64 limit) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = OpenFileForReading(name.constData());
    if (fd < 0) {
        return std::nullopt;
    }
    QByteArray bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0 && info.st_size <= limit) {
        bytes.reserve(static_cast<qsizetype>(info.st_size));
    }
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 || bytes.size() + n > limit) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}

}  // namespace

MoviePlayer::MoviePlayer(ProcessObjects process, SceneServices services)
    : process_(std::move(process)), services_(std::move(services)) {
    // The root directory is "" here, so that its served paths read "/NAME", not "//NAME".
    while (process_.programDirectory.endsWith(u'/')) {
        process_.programDirectory.chop(1);
    }
}

MoviePlayer::~MoviePlayer() {
    releaseScene();
}

QWidget* MoviePlayer::HostWindow() const {
    return widget_.data();
}

bool MoviePlayer::Create(QWidget* parent, int left, int top, int width, int height) {
    if (parent != nullptr) {
        parent_ = parent;
    }
    if (!parent_) {
        return false;
    }
    releaseScene();
    makeScene(left, top, width, height);
    return true;
}

bool MoviePlayer::Create(int left, int top, int width, int height) {
    return Create(nullptr, left, top, width, height);
}

void MoviePlayer::Move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (widget_) {
        widget_->setGeometry(left, top, width, height);
    }
}

bool MoviePlayer::PutMovie(const QString& path) {
    if (!stage_) {
        return false;
    }
    movie_ = path;
    std::optional<QByteArray> bytes = readWhole(path, kMaxMovieBytes);
    if (!bytes || !SceneBundle::isValid(*bytes)) {
        return false;
    }
    if (stage_->started()) {
        // The playing scene may have files of its movie open: a fresh scene, and the old
        // movie dropped only after the scene that used it.
        const QRect place = widget_ ? widget_->geometry() : QRect(left_, top_, width_, height_);
        releaseScene();
        makeScene(place.left(), place.top(), place.width(), place.height());
    }
    auto bundle = std::make_unique<SceneBundle>(std::move(*bytes));
    if (!bundle->isRegistered()) {
        return false;
    }
    bundle_ = std::move(bundle);
    stage_->start();
    if (widget_) {
        widget_->update();
    }
    return true;
}

void MoviePlayer::LoadMovieFromMemory(QByteArrayView bytes) {
    const std::string name =
        process_.files.AddMemoryFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               static_cast<std::size_t>(bytes.size())));
    const QString path = process_.programDirectory + u'/' + QString::fromStdString(name);

    // The movie's path exists on disk as an empty file while the player opens it, so that an
    // open which is not redirected finds a file without a movie rather than none; it is
    // removed as soon as the player has read the movie. The result does not matter.
    {
        QFile emptyFile(path);
        (void)emptyFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    InterceptedOpen::Serve(&process_.files,
                           QFile::encodeName(process_.programDirectory).toStdString());
    // Refused when already installed: the redirection in place stays.
    (void)process_.hook.install(FileOpenEntry::kModule, FileOpenEntry::kFunction,
                                reinterpret_cast<const void*>(&InterceptedOpen::Open));
    PutMovie(path);
    QFile::remove(path);
}

QString MoviePlayer::GetVariable(const QString& name) const {
    if (!stage_ || !stage_->started()) {
        return {};
    }
    if (name == kDongzuo) {
        return stage_->dongzuo();
    }
    if (name == kQuanping) {
        return stage_->quanping();
    }
    return {};
}

void MoviePlayer::SetVariable(const QString& name, const QString& value) {
    if (!stage_ || !stage_->started()) {
        return;
    }
    if (name == kDongzuo) {
        stage_->setDongzuo(value);
    } else if (name == kQuanping) {
        stage_->setQuanping(value);
    } else {
        return;
    }
    if (widget_) {
        widget_->update();
    }
}

void MoviePlayer::makeScene(int left, int top, int width, int height) {
    stage_ = std::make_unique<PracticeStage>(*services_.store, services_.soundChannel(),
                                             *services_.source, *services_.clock,
                                             services_.observer.get());
    stage_->loop().setReviewSource(services_.reviewSource);
    widget_ = new SceneWidget(*stage_, parent_);
    widget_->setGeometry(left, top, width, height);
    widget_->show();
    process_.filteredWindows.append(widget_);
}

void MoviePlayer::releaseScene() {
    if (stage_) {
        stage_->close();
    }
    // The widget paints the stage and the stage plays from the bundle: in that order.
    delete widget_.data();
    stage_.reset();
    bundle_.reset();
}

}  // namespace sumbrook
