#pragma once

#include <QLineEdit>

// The delay edit: a number in seconds with the system's decimal separator.
// While it has the focus it shows the bare number for typing; otherwise the
// value with two decimals and the suffix " s.". The program's rules run on
// `exited`, when the edit loses the focus.
class DelayEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit DelayEdit(QWidget* parent = nullptr);

    // The number as it stands, typed or set; 0 when the text is no number.
    double value() const;
    // Writes a value with two decimals.
    void setValue(double seconds);

    // The text for a value, as the edit shows it without the focus ("2,35 s.").
    static QString displayText(double seconds);

  signals:
    void exited();
    void enterPressed();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    static QString numberText(double seconds);
    double value_ = 0.0;
};
