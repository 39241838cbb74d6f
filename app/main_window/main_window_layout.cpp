// The window's controls: kinds, names, texts and places.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window/delay_edit.h"
#include "app/main_window/main_window.h"
#include "app/main_window/pictures.h"
#include "app/main_window/product_links.h"

namespace {

constexpr int kMeterMaximum = 300;
constexpr int kPanelWebWidth = 185;
const QColor kMaroon(0x80, 0x00, 0x00);

template <typename Widget>
Widget* named(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);  // owned by its parent widget
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* created = named<QLabel>(parent, name);
    created->setText(text);
    return created;
}

QLabel* greyLabel(QWidget* parent, const char* name, const QString& text) {
    QLabel* created = label(parent, name, text);
    QPalette palette = created->palette();
    palette.setColor(QPalette::WindowText, Qt::gray);
    created->setPalette(palette);
    return created;
}

QLabel* sunkenText(QWidget* parent, const char* name) {
    QLabel* created = named<QLabel>(parent, name);
    created->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    created->setMinimumWidth(40);
    return created;
}

QToolButton* button(QWidget* parent, const char* name, const QString& text,
                    const QString& hint = {}) {
    auto* created = named<QToolButton>(parent, name);
    created->setText(text);
    created->setToolTip(hint);
    created->setFocusPolicy(Qt::NoFocus);  // speed buttons never take the focus
    return created;
}

QToolButton* actionButton(QWidget* parent, const char* name, QAction* action) {
    auto* created = named<QToolButton>(parent, name);
    created->setDefaultAction(action);
    created->setFocusPolicy(Qt::NoFocus);
    return created;
}

QProgressBar* meter(QWidget* parent, const char* name, Qt::Orientation orientation) {
    auto* created = named<QProgressBar>(parent, name);
    created->setOrientation(orientation);
    created->setRange(0, kMeterMaximum);
    created->setValue(0);
    created->setTextVisible(false);
    return created;
}

QFont fontOf(const QString& family, int points, bool bold = false) {
    QFont font(family);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

}  // namespace

void Tc_form_kp2DemoMain::buildActions() {
    const auto action = [this](const char* name, const QString& hint) {
        auto* created = new QAction(hint, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setToolTip(hint);
        return created;
    };
    ac_openIn_ = action("ac_openIn", QStringLiteral("Start recording"));
    ac_closeIn_ = action("ac_closeIn", QStringLiteral("Stop recording"));
    ac_openOut_ = action("ac_openOut", QStringLiteral("Start playback"));
    ac_closeOut_ = action("ac_closeOut", QStringLiteral("Stop playback"));
    ac_chooseIn_ = action("ac_chooseIn", QStringLiteral("Choose recording format"));
    ac_chooseOut_ = action("ac_chooseOut", QStringLiteral("Choose playback format"));
    ac_openIn_->setIcon(pictures::recordIcon());
    ac_closeIn_->setIcon(pictures::stopIcon());
}

void Tc_form_kp2DemoMain::buildMenus() {
    const auto item = [this](QMenu* menu, const char* name, const QString& text) {
        auto* created = new QAction(text, this);  // a child of the window, found by name
        created->setObjectName(QString::fromLatin1(name));
        menu->addAction(created);
        return created;
    };
    Menu_ = new QMenu(this);
    Menu_->setObjectName(QStringLiteral("Menu"));
    Maximizar1_ = item(Menu_, "Maximizar1", QStringLiteral("M&aximizar"));
    Maximizar1_->setVisible(false);
    Minimizar1_ = item(Menu_, "Minimizar1", QStringLiteral("&Minimizar"));
    QAction* loadSkin = item(Menu_, "LoadSkin1", QStringLiteral("&Load Skin"));
    QAction* defaultSkin = item(Menu_, "DefaultSkin1", QStringLiteral("&Default Skin"));
    Intensity1_ = item(Menu_, "Intensity1", QStringLiteral("&Opaco 50%"));
    QAction* language = item(Menu_, "Idioma1", QStringLiteral("&Idioma"));
    Menu_->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction* exit = item(Menu_, "Sortir1", QStringLiteral("&Salir"));

    MenuLanguage_ = new QMenu(this);
    MenuLanguage_->setObjectName(QStringLiteral("MenuLanguage"));
    QAction* spanish = item(MenuLanguage_, "Espaol1", QStringLiteral("E&spañol"));
    QAction* english = item(MenuLanguage_, "English1", QStringLiteral("&English"));

    connect(Maximizar1_, &QAction::triggered, this, &Tc_form_kp2DemoMain::Maximizar1Click);
    connect(Minimizar1_, &QAction::triggered, this, &Tc_form_kp2DemoMain::Minimizar1Click);
    connect(loadSkin, &QAction::triggered, this, &Tc_form_kp2DemoMain::LoadBtnClick);
    connect(defaultSkin, &QAction::triggered, this, &Tc_form_kp2DemoMain::DefaultSkin1Click);
    connect(Intensity1_, &QAction::triggered, this, &Tc_form_kp2DemoMain::Intensity1Click);
    connect(language, &QAction::triggered, this, &Tc_form_kp2DemoMain::SpeedlangClick);
    connect(exit, &QAction::triggered, this, &Tc_form_kp2DemoMain::Sortir1Click);
    connect(spanish, &QAction::triggered, this, &Tc_form_kp2DemoMain::Espaol1Click);
    connect(english, &QAction::triggered, this, &Tc_form_kp2DemoMain::English1Click);

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { Menu_->popup(mapToGlobal(at)); });
}

void Tc_form_kp2DemoMain::buildLogoPanel(QWidget* parent) {
    auto* panel = named<QFrame>(parent, "Panellogo");
    panel->setFixedHeight(65);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 4, 4, 4);

    QToolButton* logo = button(panel, "Speedlogo", {});
    logo->setIcon(QIcon(pictures::productLogo()));
    logo->setIconSize(QSize(225, 56));
    logo->setFixedSize(225, 56);
    logo->setAutoRaise(true);
    row->addWidget(logo);
    row->addStretch(1);

    QToolButton* manual = button(panel, "PdfManual", {}, QStringLiteral("Manual de instrucciones"));
    manual->setIcon(QIcon(pictures::manualPicture()));
    manual->setIconSize(QSize(35, 33));
    manual->setFixedSize(35, 33);
    manual->setAutoRaise(true);
    row->addWidget(manual);

    TrackOpaciti_ = named<QSlider>(panel, "TrackOpaciti");
    TrackOpaciti_->setOrientation(Qt::Horizontal);
    TrackOpaciti_->setRange(20, 100);
    TrackOpaciti_->setTickInterval(10);
    TrackOpaciti_->setTickPosition(QSlider::TicksBelow);
    TrackOpaciti_->setValue(20);
    TrackOpaciti_->setFixedWidth(70);
    TrackOpaciti_->setToolTip(QStringLiteral("% Opacidad"));
    row->addWidget(TrackOpaciti_);

    auto* load = named<QPushButton>(panel, "LoadBtn");
    load->setText(QStringLiteral("&Load Skin"));
    load->setToolTip(QStringLiteral("Cambiar caratula (skin)"));
    row->addWidget(load);
    Speedlang_ = button(panel, "Speedlang", QStringLiteral("L&anguage"));
    row->addWidget(Speedlang_);
    QToolButton* minimise =
        button(panel, "SpeedMin", {}, QStringLiteral("Minimizar en barra de tareas"));
    minimise->setIcon(style()->standardIcon(QStyle::SP_TitleBarMinButton));
    row->addWidget(minimise);

    connect(logo, &QToolButton::clicked, this, &Tc_form_kp2DemoMain::SpeedlogoClick);
    connect(manual, &QToolButton::clicked, this, &Tc_form_kp2DemoMain::PdfManualClick);
    connect(TrackOpaciti_, &QSlider::valueChanged, this, &Tc_form_kp2DemoMain::TrackOpacitiChange);
    connect(load, &QPushButton::clicked, this, &Tc_form_kp2DemoMain::LoadBtnClick);
    connect(Speedlang_, &QToolButton::clicked, this, &Tc_form_kp2DemoMain::SpeedlangClick);
    connect(minimise, &QToolButton::clicked, this, &Tc_form_kp2DemoMain::Minimizar1Click);
    parent->layout()->addWidget(panel);

    Panel1_ = label(parent, "Panel1", product_links::kBaseUrl);
    Panel1_->setFixedHeight(24);
    Panel1_->setFont(fontOf(QStringLiteral("Arial"), 10, true));
    QPalette palette = Panel1_->palette();
    palette.setColor(QPalette::WindowText, kMaroon);
    Panel1_->setPalette(palette);
    parent->layout()->addWidget(Panel1_);
}

void Tc_form_kp2DemoMain::buildPlaybackGroup(QWidget* parent) {
    auto* group = named<QGroupBox>(parent, "c_groupBox_top");
    group->setFixedHeight(84);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    QLabel* title = label(group, "LalbelRep", QStringLiteral("Reproducir"));
    title->setFont(fontOf(font().family(), font().pointSize(), true));
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(greyLabel(group, "LabelOutDevice", QStringLiteral("Device")), 1, 0);
    c_comboBox_playbackDevice_ = named<QComboBox>(group, "c_comboBox_playbackDevice");
    c_comboBox_playbackDevice_->setToolTip(QStringLiteral("Seleccionar dispositivo de salida"));
    grid->addWidget(c_comboBox_playbackDevice_, 1, 1);
    grid->addWidget(greyLabel(group, "LabelOutFormat", QStringLiteral("Format")), 2, 0);
    c_staticText_outFormat_ = sunkenText(group, "c_staticText_outFormat");
    grid->addWidget(c_staticText_outFormat_, 2, 1);
    grid->setColumnStretch(1, 1);

    // Designed beyond the group's right edge, so never seen: kept hidden.
    for (QWidget* unseen :
         {static_cast<QWidget*>(actionButton(group, "c_sb_waveOutStart", ac_openOut_)),
          static_cast<QWidget*>(actionButton(group, "c_sb_waveOutStop", ac_closeOut_)),
          static_cast<QWidget*>(actionButton(group, "c_sb_waveOutChoose", ac_chooseOut_))}) {
        unseen->setVisible(false);
    }
    outMeters_ = {meter(group, "c_progressBar_outLeft", Qt::Horizontal),
                  meter(group, "c_progressBar_outRight", Qt::Horizontal)};
    for (QProgressBar* bar : outMeters_) {
        bar->setVisible(false);
    }
    connect(c_comboBox_playbackDevice_, &QComboBox::currentIndexChanged, this,
            &Tc_form_kp2DemoMain::c_comboBox_playbackDeviceChange);
    parent->layout()->addWidget(group);
}

void Tc_form_kp2DemoMain::buildRecordingGroup(QWidget* parent) {
    auto* group = named<QGroupBox>(parent, "c_groupBox_bottom");
    group->setMinimumHeight(144);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    QLabel* title = label(group, "Labelsave", QStringLiteral("Grabar"));
    title->setFont(fontOf(font().family(), font().pointSize(), true));
    grid->addWidget(title, 0, 0, 1, 3);

    grid->addWidget(greyLabel(group, "LabelInDevice", QStringLiteral("Device")), 1, 0);
    c_comboBox_recordingDevice_ = named<QComboBox>(group, "c_comboBox_recordingDevice");
    c_comboBox_recordingDevice_->setToolTip(QStringLiteral("Seleccionar dispositivo de entrada"));
    grid->addWidget(c_comboBox_recordingDevice_, 1, 1);
    QToolButton* source = button(group, "SpeedButton1", QStringLiteral("..."),
                                 QStringLiteral("Seleccionar dispositivo entrada"));
    grid->addWidget(source, 1, 2);

    grid->addWidget(greyLabel(group, "LabelInFormat", QStringLiteral("Format")), 2, 0);
    c_staticText_inFormat_ = sunkenText(group, "c_staticText_inFormat");
    grid->addWidget(c_staticText_inFormat_, 2, 1);
    QToolButton* chooseIn = actionButton(group, "c_sb_waveInChoose", ac_chooseIn_);
    chooseIn->setToolButtonStyle(Qt::ToolButtonIconOnly);
    chooseIn->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    grid->addWidget(chooseIn, 2, 2);

    c_edit_waveInFile_ = named<QLineEdit>(group, "c_edit_waveInFile");
    grid->addWidget(c_edit_waveInFile_, 3, 1);
    c_speedButton_inFileOpen_ = button(group, "c_speedButton_inFileOpen", QStringLiteral("..."),
                                       QStringLiteral("Seleccionar fichero grabación..."));
    grid->addWidget(c_speedButton_inFileOpen_, 3, 2);

    auto* controls = new QHBoxLayout;
    QToolButton* start = actionButton(group, "c_sb_waveInStart", ac_openIn_);
    start->setFixedSize(44, 38);
    start->setIconSize(QSize(28, 28));
    QToolButton* stop = actionButton(group, "c_sb_waveInStop", ac_closeIn_);
    stop->setFixedSize(40, 38);
    stop->setIconSize(QSize(28, 28));
    controls->addWidget(start);
    controls->addWidget(stop);
    auto* options = new QVBoxLayout;
    c_checkBox_loop2Playback_ = named<QCheckBox>(group, "c_checkBox_loop2Playback");
    c_checkBox_loop2Playback_->setText(QStringLiteral("Grabar y reproducir &directamente"));
    c_checkBox_loop2Playback_->setChecked(true);
    c_checkBox_saveIn2File_ = named<QCheckBox>(group, "c_checkBox_saveIn2File");
    c_checkBox_saveIn2File_->setText(QStringLiteral("&Grabar en Fichero *.Wav"));
    options->addWidget(c_checkBox_loop2Playback_);
    options->addWidget(c_checkBox_saveIn2File_);
    controls->addLayout(options, 1);
    grid->addLayout(controls, 4, 0, 1, 3);

    inMeters_ = {meter(group, "c_progressBar_inLeft", Qt::Vertical),
                 meter(group, "c_progressBar_inRight", Qt::Vertical)};
    for (int channel = 0; channel < 2; ++channel) {
        inMeters_[size_t(channel)]->setFixedWidth(12);
        grid->addWidget(inMeters_[size_t(channel)], 1, 3 + channel, 4, 1);
    }
    grid->setColumnStretch(1, 1);

    connect(c_comboBox_recordingDevice_, &QComboBox::currentIndexChanged, this,
            &Tc_form_kp2DemoMain::c_comboBox_recordingDeviceChange);
    connect(source, &QToolButton::clicked, this, &Tc_form_kp2DemoMain::SpeedButton1Click);
    connect(c_edit_waveInFile_, &QLineEdit::textChanged, this,
            &Tc_form_kp2DemoMain::c_edit_waveInFileChange);
    connect(c_speedButton_inFileOpen_, &QToolButton::clicked, this,
            &Tc_form_kp2DemoMain::c_speedButton_inFileOpenClick);
    connect(c_checkBox_saveIn2File_, &QCheckBox::toggled, this,
            &Tc_form_kp2DemoMain::c_checkBox_saveIn2FileClick);
    connect(c_checkBox_loop2Playback_, &QCheckBox::toggled, this,
            [this](bool on) { session_.passThrough = on; });
    parent->layout()->addWidget(group);
}

void Tc_form_kp2DemoMain::buildDelayPanel(QWidget* parent) {
    auto* panel = named<QFrame>(parent, "Panel2");
    panel->setFixedHeight(53);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(8, 2, 8, 2);
    QLabel* title = label(panel, "Labelret", QStringLiteral("Retardo"));
    title->setFont(fontOf(font().family(), font().pointSize(), true));
    row->addWidget(title);

    tracksegons_ = named<QSlider>(panel, "tracksegons");
    tracksegons_->setOrientation(Qt::Horizontal);
    tracksegons_->setRange(1, 80);
    tracksegons_->setSingleStep(1);
    tracksegons_->setValue(1);
    tracksegons_->installEventFilter(this);
    row->addWidget(tracksegons_, 1);

    auto* countdown = new QVBoxLayout;
    countdown->setSpacing(1);
    Ldesseg_ = label(panel, "Ldesseg", QStringLiteral("..."));
    Ldesseg_->setFixedSize(60, 12);
    Ldesseg_->setAlignment(Qt::AlignCenter);
    Ldesseg_->setFont(fontOf(QStringLiteral("Arial"), 7));
    Ldesseg_->setAutoFillBackground(true);
    QPalette palette = Ldesseg_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::gray);
    Ldesseg_->setPalette(palette);
    Currencys_ = named<DelayEdit>(panel, "Currencys");
    Currencys_->setFixedSize(60, 21);
    Currencys_->setContextMenuPolicy(Qt::CustomContextMenu);
    countdown->addWidget(Ldesseg_);
    countdown->addWidget(Currencys_);
    row->addLayout(countdown);

    connect(tracksegons_, &QSlider::valueChanged, this, &Tc_form_kp2DemoMain::tracksegonsChange);
    connect(Currencys_, &DelayEdit::exited, this, &Tc_form_kp2DemoMain::CurrencysExit);
    connect(Currencys_, &DelayEdit::enterPressed, this, &Tc_form_kp2DemoMain::CurrencysKeyPress);
    connect(Currencys_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { MenuLanguage_->popup(Currencys_->mapToGlobal(at)); });
    parent->layout()->addWidget(panel);
}

void Tc_form_kp2DemoMain::buildStatusBar() {
    c_statusBar_main_ = new QStatusBar(this);
    c_statusBar_main_->setObjectName(QStringLiteral("c_statusBar_main"));
    c_statusBar_main_->setFixedHeight(19);
    c_statusBar_main_->setFont(fontOf(QStringLiteral("Tahoma"), 8));
    c_statusBar_main_->setSizeGripEnabled(false);
    struct PanelDesign {
        const char* name;
        int width;
        Qt::Alignment alignment;
        QString text;
    };
    const PanelDesign designs[] = {
        {"StatusMemory", 100, Qt::AlignLeft, QString()},
        {"StatusConnection", 150, Qt::AlignHCenter, QStringLiteral("Not connected")},
        {"StatusVersion", 50, Qt::AlignRight, QString()},
        {"StatusMaker", 320, Qt::AlignRight, QStringLiteral("Quillanvero Software, radio in step")},
    };
    for (size_t i = 0; i < statusPanels_.size(); ++i) {
        QLabel* panel = label(c_statusBar_main_, designs[i].name, designs[i].text);
        panel->setAlignment(designs[i].alignment | Qt::AlignVCenter);
        if (i + 1 < statusPanels_.size()) {
            panel->setFixedWidth(designs[i].width);
        } else {
            panel->setMinimumWidth(0);  // the last panel takes what is left
        }
        c_statusBar_main_->addWidget(panel, i + 1 < statusPanels_.size() ? 0 : 1);
        statusPanels_[i] = panel;
    }
    setStatusBar(c_statusBar_main_);
}

void Tc_form_kp2DemoMain::buildTrayIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    tray_ = new QSystemTrayIcon(pictures::programIcon(), this);
    tray_->setObjectName(QStringLiteral("JvTrayIcon1"));
    tray_->setContextMenu(Menu_);
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::DoubleClick) {
                    JvTrayIcon1DblClick();
                }
            });
}

void Tc_form_kp2DemoMain::buildControls() {
    setObjectName(QStringLiteral("c_form_kp2DemoMain"));
    setWindowTitle(QStringLiteral("  Quillanvero Software v.1.0.10"));
    setWindowIcon(pictures::programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont designed;
    designed.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    designed.setPointSize(8);
    setFont(designed);

    buildActions();
    buildMenus();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);

    PanelPlayRecord_ = named<QFrame>(client, "PanelPlayRecord");
    auto* rows = new QVBoxLayout(PanelPlayRecord_);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    buildLogoPanel(PanelPlayRecord_);
    buildPlaybackGroup(PanelPlayRecord_);
    buildRecordingGroup(PanelPlayRecord_);
    buildDelayPanel(PanelPlayRecord_);
    columns->addWidget(PanelPlayRecord_, 1);

    // The advertising panel; its browser arrives with the advertising step.
    PanelWeb_ = named<QFrame>(client, "PanelWeb");
    PanelWeb_->setFixedWidth(kPanelWebWidth);
    PanelWeb_->setContentsMargins(5, 5, 5, 5);
    PanelWeb_->setVisible(false);
    columns->addWidget(PanelWeb_);
    setCentralWidget(client);

    buildStatusBar();
    buildTrayIcon();

    Timer_banner_.setObjectName(QStringLiteral("Timer_banner"));
    Timer_banner_.setInterval(200);
    timerpublicitat_.setObjectName(QStringLiteral("timerpublicitat"));
    timerpublicitat_.setInterval(1500);
    timerpublicitat_.setSingleShot(true);
    connect(&Timer_banner_, &QTimer::timeout, this, &Tc_form_kp2DemoMain::Timer_bannerTimer);
    Timer_banner_.start();
}
