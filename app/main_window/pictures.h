#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn at start so that no image files need shipping.
namespace pictures {

QPixmap productLogo();    // 225 x 56, the logo button
QPixmap manualPicture();  // 35 x 33, the manual link
QIcon programIcon();      // window and tray icon
QIcon recordIcon();       // start recording
QIcon stopIcon();         // stop recording

}  // namespace pictures
