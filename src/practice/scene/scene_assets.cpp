#include "scene_assets.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares the resource's initialiser, which lives in the global
// namespace, so it must be used outside ours.
static void initSumbrookSceneResource() {
    Q_INIT_RESOURCE(sumbrook_scene_assets);
}

namespace sumbrook {

void initSceneAssets() {
    static const bool done = [] {
        initSumbrookSceneResource();
        return true;
    }();
    (void)done;
}

namespace scene_assets {

namespace {
QString root() {
    return QStringLiteral(":/scene");
}
}  // namespace

QString soundPath(const QString& name) {
    return root() + QStringLiteral("/sounds/") + name;
}

QUrl soundUrl(const QString& name) {
    return QUrl(QStringLiteral("qrc") + soundPath(name));
}

QString moneyPath(int picture) {
    if (picture < 1 || picture > kMoneyPictures) {
        return {};
    }
    return root() + QStringLiteral("/money/money%1.svg").arg(picture, 2, 10, QChar(u'0'));
}

}  // namespace scene_assets
}  // namespace sumbrook
