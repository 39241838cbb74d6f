#pragma once

#include <QLabel>
#include <functional>

// A picture that runs a handler when the user clicks it.
class ClickableImage : public QLabel {
  public:
    using QLabel::QLabel;

    void setOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::function<void()> onClick_;
};
