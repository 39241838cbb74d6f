#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// The language-dependent texts of the two windows, without any widget: what
// the caption step sets and the lines of the rotating banner.
namespace captions {

enum class CaptionWindow { main, recordingSource };
enum class CaptionProperty { caption, hint };

// One text to set: the control's object name in its window, which property,
// the text. A row naming the window's own object name sets its title.
struct CaptionRow {
    CaptionWindow window;
    QString control;
    CaptionProperty property;
    QString text;
};

inline constexpr char16_t kSpanish[] = u"es";
inline constexpr char16_t kEnglish[] = u"uk";
inline constexpr qsizetype kBannerLineCount = 8;

// The object name of the recording-source dialog.
QString recordingSourceFormName();

// The rows for a language code, in the order they are applied; empty for a
// code other than "es" and "uk".
std::vector<CaptionRow> captionRows(QStringView code);

// The eight banner lines for a language code; empty for an unknown code.
QStringList bannerLines(QStringView code);

// One banner step: the phase advances by three; a line stays for 42 or 43
// steps and the eight lines repeat every 1024/3 steps.
inline unsigned nextBannerPhase(unsigned phase) {
    return phase + 3u;
}
inline qsizetype bannerLineIndex(unsigned phase) {
    return qsizetype((phase >> 7) & 7u);
}

}  // namespace captions
