#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Makes its owner window translucent. Level is the transparency (0 opaque ..
// 255); it shows only while Active. On Qt the layered style is the window's
// opacity: alpha 255 - Level while active, opaque otherwise.
class TOpacityForm : public QObject {
    Q_OBJECT

  public:
    // Throws std::invalid_argument without an owner window. The owner keeps
    // the helper (not as a child object) and frees it before it goes itself.
    explicit TOpacityForm(QWidget* owner);
    ~TOpacityForm() override;  // the owner becomes opaque again

    int Level() const { return level_; }
    // Values outside 0..255 or equal to the current one are ignored;
    // OnChage fires before a new value is stored.
    void setLevel(int level);

    bool Active() const { return active_; }
    void setActive(bool active);

    // The alpha the owner shows: 255 - Level while active, 255 otherwise.
    int alpha() const { return active_ ? 255 - level_ : 255; }

    std::function<void(QObject* sender)> OnChage;

  private:
    void applyLevel();

    QWidget* owner_;
    int level_ = 0;
    bool active_ = false;
};
