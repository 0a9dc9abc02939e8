#include "scene_assets.h"

namespace sumbrook::scene_assets {

namespace {
QString root() {
    return u':' + bundleRoot();
}
}  // namespace

QString bundleRoot() {
    return QStringLiteral("/scene");
}

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

}  // namespace sumbrook::scene_assets
