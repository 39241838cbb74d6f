#pragma once

#include <QString>
#include <QStringList>

#include "app/captions/caption_tables.h"

class QWidget;
class Tc_form_kp2DemoMain;

namespace captions {

// Sets one row's text on the control of that object name inside `window` (or
// on the window itself when the row names it). False when no such control
// exists or it has no caption.
bool applyCaptionRow(QWidget& window, const CaptionRow& row);

// The caption step: for "es" or "uk" sets every row in both windows and gives
// the main window its banner lines; any other code changes nothing. Returns the
// rows that found no control ("window/control"), empty when all applied.
// `recordingSource` may be null (then its rows are skipped and reported).
QStringList applyLanguage(const QString& code, Tc_form_kp2DemoMain& mainWindow,
                          QWidget* recordingSource);

// Makes applyLanguage the main window's language step (run at every show and
// at each language choice). The dialog must outlive the main window's use of it;
// a dialog destroyed earlier is skipped.
void installLanguageStep(Tc_form_kp2DemoMain& mainWindow, QWidget* recordingSource);

}  // namespace captions
