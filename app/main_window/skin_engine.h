#pragma once

#include <QString>

class QWidget;

// Skins are Qt style sheets. The built-in skin is compiled into the program;
// a skin file (*.skn) is a style sheet on disk. A file that cannot be read
// leaves the built-in skin in place, without a word.
class SkinEngine {
  public:
    explicit SkinEngine(QWidget* target) : target_(target) {}

    // The skin file; empty: the built-in skin. Takes effect at once when active.
    void setSkinFile(const QString& fileName);
    const QString& skinFile() const { return skinFile_; }

    void activate();
    bool isActive() const { return active_; }

    // The style sheet in use (empty while not active).
    const QString& styleSheet() const { return styleSheet_; }

    static QString builtInStyleSheet();

  private:
    void apply();

    QWidget* target_;
    QString skinFile_;
    QString styleSheet_;
    bool active_ = false;
};
