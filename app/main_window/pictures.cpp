#include "app/main_window/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pictures {

namespace {

const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kNavy(0x1f, 0x3a, 0x5f);

QPixmap transparentPixmap(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QPixmap productLogo() {
    QPixmap pixmap = transparentPixmap(225, 56);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 56);
    sky.setColorAt(0, QColor(0x2b, 0x5c, 0x8f));
    sky.setColorAt(1, kNavy);
    painter.setBrush(sky);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, 223, 54), 8, 8);
    // A radio wave over a screen: the sound brought into step with the picture.
    painter.setPen(QPen(QColor(0xff, 0xc8, 0x40), 3));
    painter.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 3; ++ring) {
        const int r = 8 + ring * 7;
        painter.drawArc(QRectF(28 - r, 28 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    }
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(22);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(56, 4, 166, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Quillanvero"));
    font.setBold(false);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(0xd0, 0xdc, 0xea));
    painter.drawText(QRect(58, 32, 164, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Software - radio delay"));
    return pixmap;
}

QPixmap manualPicture() {
    QPixmap pixmap = transparentPixmap(35, 33);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(6, 1);
    page.lineTo(23, 1);
    page.lineTo(30, 8);
    page.lineTo(30, 32);
    page.lineTo(6, 32);
    page.closeSubpath();
    painter.drawPath(page);
    painter.setBrush(kMaroon);
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRectF(2, 14, 24, 11));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(2, 14, 24, 11), Qt::AlignCenter, QStringLiteral("PDF"));
    return pixmap;
}

QIcon programIcon() {
    QPixmap pixmap = transparentPixmap(32, 32);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(kNavy);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(QColor(0xff, 0xc8, 0x40));
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("Q"));
    return QIcon(pixmap);
}

QIcon recordIcon() {
    QPixmap pixmap = transparentPixmap(28, 28);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xd0, 0x20, 0x20));
    painter.setPen(QPen(kMaroon, 1));
    painter.drawEllipse(QRectF(4, 4, 20, 20));
    return QIcon(pixmap);
}

QIcon stopIcon() {
    QPixmap pixmap = transparentPixmap(28, 28);
    QPainter painter(&pixmap);
    painter.setBrush(QColor(0x30, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRectF(6, 6, 16, 16));
    return QIcon(pixmap);
}

}  // namespace pictures
