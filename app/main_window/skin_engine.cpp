#include "app/main_window/skin_engine.h"

#include <QFile>
#include <QWidget>

// The built-in skin lives in this static library; its resources need registering.
static void registerBuiltInSkin() {
    Q_INIT_RESOURCE(main_window);
}

namespace {

// Skin files are small; anything larger is not one.
constexpr qint64 kMaxSkinBytes = 1 << 20;

QString readText(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.size() > kMaxSkinBytes) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace

QString SkinEngine::builtInStyleSheet() {
    static const bool registered = (registerBuiltInSkin(), true);
    (void)registered;
    return readText(QStringLiteral(":/main_window/builtin.qss"));
}

void SkinEngine::setSkinFile(const QString& fileName) {
    skinFile_ = fileName.trimmed();
    if (active_) {
        apply();
    }
}

void SkinEngine::activate() {
    active_ = true;
    apply();
}

void SkinEngine::apply() {
    QString sheet = skinFile_.isEmpty() ? QString() : readText(skinFile_);
    if (sheet.trimmed().isEmpty()) {
        sheet = builtInStyleSheet();
    }
    styleSheet_ = sheet;
    target_->setStyleSheet(styleSheet_);
}
