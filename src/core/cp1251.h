#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace orvix::cp1251 {

// Every byte decodes to one character; 0x98 has none and becomes U+FFFD.
QString decode(QByteArrayView bytes);

// One byte per character; a character outside the code page (a surrogate pair counts as one
// character) becomes "?".
QByteArray encode(QStringView text);

// The byte of one character, or '?' when the code page has none.
char encodeChar(char16_t c);

} // namespace orvix::cp1251
