#include "app/main_window/delay_edit.h"

#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <cmath>

namespace {

const QString kSuffix = QStringLiteral(" s.");

QString strippedOfSuffix(QString text) {
    text = text.trimmed();
    if (text.endsWith(kSuffix.trimmed())) {
        text.chop(kSuffix.trimmed().size());
    }
    return text.trimmed();
}

}  // namespace

DelayEdit::DelayEdit(QWidget* parent) : QLineEdit(parent) {
    // Digits, one decimal separator (the system's) and a sign.
    const QString separator = QRegularExpression::escape(QLocale().decimalPoint());
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[+-]?[0-9]*(%1[0-9]*)?").arg(separator)), this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValue(0.0);
}

QString DelayEdit::numberText(double seconds) {
    return QLocale().toString(seconds, 'f', 2);
}

QString DelayEdit::displayText(double seconds) {
    return numberText(seconds) + kSuffix;
}

double DelayEdit::value() const {
    if (!hasFocus()) {
        return value_;
    }
    bool ok = false;
    const double typed = QLocale().toDouble(strippedOfSuffix(text()), &ok);
    return ok && std::isfinite(typed) ? typed : 0.0;
}

void DelayEdit::setValue(double seconds) {
    value_ = std::round(seconds * 100.0) / 100.0;
    setText(hasFocus() ? numberText(value_) : displayText(value_));
}

void DelayEdit::focusInEvent(QFocusEvent* event) {
    setText(numberText(value_));
    QLineEdit::focusInEvent(event);
}

void DelayEdit::focusOutEvent(QFocusEvent* event) {
    // The typed number becomes the value before the rules see it.
    bool ok = false;
    const double typed = QLocale().toDouble(strippedOfSuffix(text()), &ok);
    value_ = ok && std::isfinite(typed) ? typed : 0.0;
    QLineEdit::focusOutEvent(event);
    setText(displayText(value_));
    emit exited();
}

void DelayEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
