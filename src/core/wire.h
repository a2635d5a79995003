#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace orvix {

// An address as the game expects it on the wire: Windows-1251 bytes, every byte above 0x7F and
// the blank percent-encoded, never UTF-8. Everything else is passed as it stands.
QByteArray WireAddress(QStringView address);
QUrl WireUrl(QStringView address);

} // namespace orvix
