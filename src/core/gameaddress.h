#pragma once

#include "core/hosts.h"

#include <QString>

namespace orvix {

// The base of the server of the city the address is on; the main server's for any other.
QString ServerBase(const QString& currentAddress, const Hosts& hosts);

// A fresh decimal number in [0, 1333927250) that keeps caches from answering a request.
QString CacheBuster();

QString First50(const QString& text);

// The three-character rule of the engine version accepted by the game's login.
QString EngineVersionPrefix(const QString& version);
bool IsAcceptedEngineVersion(const QString& version);

} // namespace orvix
