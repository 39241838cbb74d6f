#include "app/captions/caption_applier.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "app/main_window/main_window.h"

namespace captions {
namespace {

bool setCaption(QObject& target, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(&target)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(&target)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(&target)) {
        group->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(&target)) {
        action->setText(text);
    } else {
        return false;
    }
    return true;
}

bool setHint(QObject& target, const QString& hint) {
    if (auto* widget = qobject_cast<QWidget*>(&target)) {
        widget->setToolTip(hint);
    } else if (auto* action = qobject_cast<QAction*>(&target)) {
        action->setToolTip(hint);
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool applyCaptionRow(QWidget& window, const CaptionRow& row) {
    if (window.objectName() == row.control) {
        if (row.property == CaptionProperty::caption) {
            window.setWindowTitle(row.text);
        } else {
            window.setToolTip(row.text);
        }
        return true;
    }
    // Widgets first: a menu item and a control never share a name, but a
    // layout or a timer could.
    QObject* target = window.findChild<QWidget*>(row.control);
    if (target == nullptr) {
        target = window.findChild<QAction*>(row.control);
    }
    if (target == nullptr) {
        return false;
    }
    return row.property == CaptionProperty::caption ? setCaption(*target, row.text)
                                                    : setHint(*target, row.text);
}

QStringList applyLanguage(const QString& code, Tc_form_kp2DemoMain& mainWindow,
                          QWidget* recordingSource) {
    QStringList missing;
    const std::vector<CaptionRow> rows = captionRows(code);
    if (rows.empty()) {
        return missing;
    }
    for (const CaptionRow& row : rows) {
        QWidget* window = row.window == CaptionWindow::main ? &mainWindow : recordingSource;
        if (window == nullptr || !applyCaptionRow(*window, row)) {
            const char* where = row.window == CaptionWindow::main ? "main/" : "recordingSource/";
            missing.push_back(QString::fromLatin1(where) + row.control);
        }
    }
    mainWindow.setBannerLines(bannerLines(code));
    return missing;
}

void installLanguageStep(Tc_form_kp2DemoMain& mainWindow, QWidget* recordingSource) {
    mainWindow.setLanguageStep(
        [window = &mainWindow, dialog = QPointer<QWidget>(recordingSource)](const QString& code) {
            applyLanguage(code, *window, dialog.data());
        });
}

}  // namespace captions
