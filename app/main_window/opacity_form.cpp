#include "app/main_window/opacity_form.h"

#include <QWidget>
#include <stdexcept>

TOpacityForm::TOpacityForm(QWidget* owner) : owner_(owner) {
    if (owner == nullptr) {
        throw std::invalid_argument("Компонент можно размещать только на потомках TWinControl");
    }
}

TOpacityForm::~TOpacityForm() {
    if (active_) {
        owner_->setWindowOpacity(1.0);
    }
}

void TOpacityForm::setLevel(int level) {
    if (level == level_ || level < 0 || level > 255) {
        return;
    }
    if (OnChage) {
        OnChage(owner_);
    }
    level_ = level;
    applyLevel();
}

void TOpacityForm::setActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    owner_->update();
    applyLevel();
}

void TOpacityForm::applyLevel() {
    owner_->setWindowOpacity(alpha() / 255.0);
}
