#pragma once

#include <QUrl>

// Whether the server can be reached at all: a server on this machine always
// counts; otherwise some non-loopback network interface must be up.
bool isInternetConnected(const QUrl& server);
