#include "app/captions/caption_tables.h"

#include "app/main_window/product_links.h"

namespace captions {
namespace {

struct TableEntry {
    CaptionWindow window;
    const char* control;  // null: the recording-source dialog itself
    CaptionProperty property;
    const char16_t* spanish;
    const char16_t* english;
};

constexpr auto M = CaptionWindow::main;
constexpr auto R = CaptionWindow::recordingSource;
constexpr auto C = CaptionProperty::caption;
constexpr auto H = CaptionProperty::hint;

// Order matters only in that it is the order the texts are set.
constexpr TableEntry kTable[] = {
    {M, "PdfManual", H, u"Manual de instrucciones", u"Manual of instructions"},
    {M, "TrackOpaciti", H, u"% Opacidad", u"% Opacity"},
    {M, "SpeedMin", H, u"Minimizar en barra de tareas", u"Minimize on task bar"},
    {M, "LoadBtn", C, u"&Cargar Skin", u"&Load Skin"},
    {M, "LoadBtn", H, u"Cambiar caratula (skin)", u"Change skin"},
    {M, "LalbelRep", C, u"Reproducir", u"Play"},
    {M, "Labelsave", C, u"Grabar", u"Save"},
    {M, "Labelret", C, u"Retardo", u"Delay"},
    {M, "tracksegons", H, u"Ajustar retraso deseado", u"Adjust time delay"},
    {M, "Maximizar1", C, u"M&aximizar", u"M&aximize"},
    {M, "Minimizar1", C, u"&Minimizar", u"&Minimize"},
    {M, "LoadSkin1", C, u"&Cargar Skin", u"&Load Skin"},
    {M, "DefaultSkin1", C, u"&Skin por defecto", u"&Skin default"},
    {M, "Intensity1", C, u"&Opaco 50%", u"&Opacity 50%"},
    {M, "Idioma1", C, u"&Idioma", u"&Language"},
    {M, "Sortir1", C, u"&Salir", u"&Exit"},
    {M, "Speedlang", C, u"Idioma", u"Language"},
    {M, "Speedlang", H, u"Cambiar idioma", u"Change Language"},
    {M, "c_sb_waveOutStart", H, u"Reproducir playback", u"Play playback"},
    {M, "c_sb_waveOutStop", H, u"Parar playback", u"Stop playback"},
    {M, "c_comboBox_playbackDevice", H, u"Seleccionar dispositivo de salida",
     u"Select output device"},
    {M, "c_comboBox_recordingDevice", H, u"Seleccionar dispositivo de entrada",
     u"Select input device"},
    {M, "c_sb_waveInStart", H, u"Empezar a grabar", u"Go to start/delay"},
    {M, "c_sb_waveInStop", H, u"Parar grabación", u"Stop delay"},
    {M, "c_checkBox_loop2Playback", C, u"Grabar y reproducir &directamente",
     u"Save and play &directly"},
    {M, "c_checkBox_saveIn2File", C, u"&Grabar en Fichero *.wav", u"&Save to file *.wav"},
    {M, "Currencys", H, u"Ajuste a milesima. 0,1 - 600s", u"Adjuste delay 0,1 - 600s"},
    {R, nullptr, C, u"Seleccionar Entrada de Audio", u"Audio Input select"},
    {R, "Label5", C, u"Entrada", u"Input"},
    {R, "c_label_out", C, u"Linea de playback", u"Playback Line"},
    {R, "c_label_in", C, u"Linea de entrada", u"Recording Source Line"},
    {R, "c_checkBox_micForce", C, u"Forzar a microfono", u"Force to Microphone"},
    {R, "Label1", C, u"Dispositivo de entrada", u"Input device"},
    {R, "c_checkBox_inMute", C, u"&Enmudecer", u"&Muted"},
    {R, "c_checkBox_outMute", C, u"&Enmudecer", u"&Muted"},
    {R, "Label3", C, u"Izquierda", u"Left"},
    {R, "Label4", C, u"Derecha", u"Right"},
    {R, "c_button_recStart", C, u"Prue&ba", u"Te&st"},
    {R, "c_button_recStop", C, u"&Parar", u"&Stop"},
    {R, "ImageMixer", H, u"Abrir Mezclador (xp)", u"Open mixer (xp)"},
};

constexpr const char16_t* kSpanishBanner[] = {
    u"¡ Vive el fútbol en su momento !",
    nullptr,  // the web address
    u"Quillanvero Software ha sido concebido para",
    u"solucionar el avance de la voz al escuchar",
    u"una transmisión deportiva por la radio y al",
    u"mismo tiempo contemplarla por televisión.",
    u"Quillanvero realiza un retardo de la voz",
    u"para sincronizarla con la imagen televisiva.",
};

constexpr const char16_t* kEnglishBanner[] = {
    nullptr,  // the web address
    u"¿Would you like to listen Your Favorite Radio ",
    u"Broadcasters Call Games In Sync With Your TV?",
    u"Now, with \"Quillanvero\"",
    u"you can delay the radio audio to exactly match",
    u"what you´re watching. (Soccer, Basquetball, F1... etc..)",
    u"We have three products some for hardware",
    u"and other one for software.",
};

static_assert(std::size(kSpanishBanner) == kBannerLineCount);
static_assert(std::size(kEnglishBanner) == kBannerLineCount);

enum class Language { none, spanish, english };

Language languageOf(QStringView code) {
    if (code == QStringView(kSpanish)) {
        return Language::spanish;
    }
    if (code == QStringView(kEnglish)) {
        return Language::english;
    }
    return Language::none;
}

}  // namespace

QString recordingSourceFormName() {
    return QStringLiteral("c_form_main");
}

std::vector<CaptionRow> captionRows(QStringView code) {
    const Language language = languageOf(code);
    std::vector<CaptionRow> rows;
    if (language == Language::none) {
        return rows;
    }
    rows.reserve(std::size(kTable));
    for (const TableEntry& entry : kTable) {
        const QString control = entry.control != nullptr ? QString::fromLatin1(entry.control)
                                                         : recordingSourceFormName();
        const char16_t* text = language == Language::spanish ? entry.spanish : entry.english;
        rows.push_back({entry.window, control, entry.property, QString::fromUtf16(text)});
    }
    return rows;
}

QStringList bannerLines(QStringView code) {
    const Language language = languageOf(code);
    if (language == Language::none) {
        return {};
    }
    QStringList lines;
    for (const char16_t* line : language == Language::spanish ? kSpanishBanner : kEnglishBanner) {
        lines.push_back(line != nullptr ? QString::fromUtf16(line) : product_links::kBaseUrl);
    }
    return lines;
}

}  // namespace captions
