#pragma once

#include <QString>
#include <QUrl>

// Fetches `url` (always from the server, never a cache) into `fileName`,
// replacing it. True only when the server answered with success and the whole
// body reached the disk (as long as it said, when it said); the file is written
// under a temporary name and takes its own name only then, so a failed
// transfer leaves any earlier file untouched. Runs the caller's event loop
// while it waits, so the windows stay responsive.
bool downloadFile(const QUrl& url, const QString& fileName);
