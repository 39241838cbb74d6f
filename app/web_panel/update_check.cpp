#include "app/web_panel/update_check.h"

#include <QFrame>

#include "app/main_window/main_window.h"
#include "app/web_panel/update_marker.h"

namespace {
constexpr int kConnectionPanel = 1;
}

bool runMarkerScan(Tc_form_kp2DemoMain& window, const QStringList& documentLines,
                   const std::function<void()>& offerUpdate) {
    window.adTimer().stop();
    const update_marker::Scan found = update_marker::scan(documentLines);
    if (found.found) {
        window.markerFound = true;
        if (update_marker::offersUpdate(found.version, Tc_form_kp2DemoMain::kVersionNumber)) {
            offerUpdate();
            window.close();  // the program ends whether or not the update ran
            return false;
        }
    }
    if (window.markerFound) {
        window.setStatusPanelText(kConnectionPanel, QStringLiteral("Connected"));
        if (auto* panel = window.findChild<QFrame*>(QStringLiteral("PanelWeb"))) {
            panel->setVisible(true);
        }
    }
    window.show();
    return true;
}
