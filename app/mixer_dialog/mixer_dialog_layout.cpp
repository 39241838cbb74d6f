// The dialog's controls: kinds, names, texts and positions at 96 dpi.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "app/mixer_dialog/clickable_image.h"
#include "app/mixer_dialog/mixer_dialog.h"

namespace {

constexpr int kClientWidth = 359;
constexpr int kClientHeight = 376;
constexpr int kMeterMaximum = 300;
constexpr int kTimerIntervalMs = 150;
const QColor kPaleYellow(0xFF, 0xFF, 0xB7);

template <typename Widget>
Widget* place(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new Widget(parent);  // owned by its parent widget
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* created = place<QLabel>(parent, name, geometry);
    created->setText(text);
    return created;
}

QSlider* trackBar(QWidget* parent, const char* name, int tag, QRect geometry) {
    auto* bar = place<QSlider>(parent, name, geometry);
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(0, 100);
    bar->setTickInterval(5);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setProperty("tag", tag);
    return bar;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* box = place<QCheckBox>(parent, name, geometry);
    box->setText(text);
    return box;
}

QProgressBar* meter(QWidget* parent, const char* name, QRect geometry) {
    auto* bar = place<QProgressBar>(parent, name, geometry);
    bar->setRange(0, kMeterMaximum);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

void separator(QWidget* parent, QFrame::Shape shape, QRect geometry) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(geometry);
}

}  // namespace

// The picture lives in this static library: register it explicitly.
static void registerPictures() {
    Q_INIT_RESOURCE(mixer_dialog);
}

void Tc_form_main::buildControls() {
    registerPictures();
    setObjectName("c_form_main");
    setWindowTitle("Audio Input select");
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    QFont font("MS Sans Serif");
    font.setPixelSize(11);
    setFont(font);

    Label5 = label(this, "Label5", "Entrada:", {48, 16, 40, 13});
    c_comboBox_mixerIndex = place<QComboBox>(this, "c_comboBox_mixerIndex", {100, 12, 209, 21});

    c_label_out = label(this, "c_label_out", "Playback Line", {20, 56, 67, 13});
    c_trackBar_outMain = trackBar(this, "c_trackBar_outMain", 0, {12, 72, 145, 33});
    c_label_out->setBuddy(c_trackBar_outMain);
    c_comboBox_outConn = place<QComboBox>(this, "c_comboBox_outConn", {20, 132, 129, 21});
    c_trackBar_out = trackBar(this, "c_trackBar_out", 1, {13, 156, 141, 33});
    c_checkBox_outMute = checkBox(this, "c_checkBox_outMute", "&Muted", {20, 192, 109, 17});

    c_label_in = label(this, "c_label_in", "Recording Source Line", {204, 56, 109, 13});
    c_trackBar_inMain = trackBar(this, "c_trackBar_inMain", 2, {196, 72, 145, 33});
    c_label_in->setBuddy(c_trackBar_inMain);
    c_checkBox_micForce =
        checkBox(this, "c_checkBox_micForce", "Force to Microphone", {204, 119, 129, 17});
    Label1 = label(this, "Label1", "Dispositivo entrada", {208, 144, 90, 13});
    c_comboBox_inConn = place<QComboBox>(this, "c_comboBox_inConn", {204, 161, 129, 21});
    c_trackBar_in = trackBar(this, "c_trackBar_in", 3, {197, 191, 141, 33});
    c_checkBox_inMute = checkBox(this, "c_checkBox_inMute", "Mu&ted", {204, 227, 125, 17});
    c_checkBox_inMute->setChecked(true);

    Label3 = label(this, "Label3", "Left", {63, 267, 18, 13});
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label4 = label(this, "Label4", "Right", {58, 283, 25, 13});
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c_progressBar_left = meter(this, "c_progressBar_left", {92, 267, 177, 13});
    c_progressBar_right = meter(this, "c_progressBar_right", {92, 283, 177, 13});
    c_button_recStart = place<QPushButton>(this, "c_button_recStart", {92, 307, 75, 25});
    c_button_recStart->setText("Prue&ba");
    c_button_recStop = place<QPushButton>(this, "c_button_recStop", {192, 307, 75, 25});
    c_button_recStop->setText("&Parar");

    ImageMixer = place<ClickableImage>(this, "ImageMixer", {302, 260, 41, 49});
    ImageMixer->setPixmap(QPixmap(":/mixer_dialog/image_mixer.xpm"));
    ImageMixer->setAlignment(Qt::AlignCenter);
    ImageMixer->setToolTip("Control Mixer");
    ImageMixer->setCursor(Qt::PointingHandCursor);
    Label2 = label(this, "Label2", "Control \nMixer", {309, 311, 33, 24});
    Label2->setAlignment(Qt::AlignCenter);
    QFont small("Arial");
    small.setPixelSize(9);
    Label2->setFont(small);

    c_statusBar_main = place<QStatusBar>(this, "c_statusBar_main", {0, 357, 359, 19});
    c_statusBar_main->setSizeGripEnabled(false);
    QPalette statusColours = c_statusBar_main->palette();
    statusColours.setColor(QPalette::WindowText, kPaleYellow);
    c_statusBar_main->setPalette(statusColours);
    for (int panel = 0; panel < 2; ++panel) {
        statusPanels_[panel] = new QLabel(c_statusBar_main);
        // The last panel takes the rest of the bar, as messages are longer than 50 pixels.
        if (panel == 0) {
            statusPanels_[panel]->setFixedWidth(100);
        } else {
            statusPanels_[panel]->setMinimumWidth(50);
        }
        c_statusBar_main->addWidget(statusPanels_[panel], panel == 0 ? 0 : 1);
    }

    separator(this, QFrame::HLine, {0, 43, kClientWidth, 3});
    separator(this, QFrame::HLine, {0, 251, kClientWidth, 3});
    separator(this, QFrame::HLine, {0, 342, kClientWidth, 3});
    separator(this, QFrame::VLine, {174, 52, 3, 217 - 52});

    a_record = new QAction("R&ecord", this);
    a_record->setObjectName("a_record");
    a_stop = new QAction("&Stop", this);
    a_stop->setObjectName("a_stop");
    a_stop->setEnabled(false);
    c_timer_update = new QTimer(this);
    c_timer_update->setObjectName("c_timer_update");
    c_timer_update->setInterval(kTimerIntervalMs);
}
