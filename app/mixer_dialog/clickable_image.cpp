#include "app/mixer_dialog/clickable_image.h"

#include <QMouseEvent>

void ClickableImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        onClick_) {
        onClick_();
    }
    QLabel::mouseReleaseEvent(event);
}
