#pragma once

#include <QStringList>
#include <functional>

class Tc_form_kp2DemoMain;

// The marker scan over the lines read from the advertising page: a marker
// shows the panel and "Connected"; one naming another version first runs
// `offerUpdate` (the modal update dialog) and then closes the main window.
// Returns false when the window was closed.
bool runMarkerScan(Tc_form_kp2DemoMain& window, const QStringList& documentLines,
                   const std::function<void()>& offerUpdate);
