#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

// What the update dialog fetches with and starts with; the real network and
// desktop unless a test gives its own.
struct UpdateServices {
    std::function<bool(const QUrl& url, const QString& fileName)> download;
    std::function<bool(const QString& file)> launch;
    static UpdateServices system();
};

// The update dialog: fetches the new program and the updater into the current
// directory, starts the updater and closes. Only when both files arrived whole
// does the updater start; otherwise the dialog says so and offers the button again.
class TActualitza : public QDialog {
    Q_OBJECT

  public:
    static constexpr char kNewProgramFile[] = "quillanverosoftware2.exe";
    static constexpr char kUpdaterFile[] = "update.exe";

    explicit TActualitza(const QUrl& serverBase, UpdateServices services = UpdateServices::system(),
                         QWidget* parent = nullptr);

    void setServerBase(const QUrl& base) { serverBase_ = base; }
    // Where the files go; the current directory at the click when empty.
    void setDirectory(const QString& directory) { directory_ = directory; }

    QString informa() const;  // the text of Panelinforma

    void SpeedDescargarClick();

  private:
    void downloadFailed();

    QUrl serverBase_;
    UpdateServices services_;
    QString directory_;
    QLabel* Panelinforma_ = nullptr;
    QPushButton* SpeedDescargar_ = nullptr;
};
