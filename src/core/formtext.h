#pragma once

#include <QString>

namespace orvix {

// Text the user typed, made safe to put into an address or a form body: "%", "&", "+", "#" and
// "=" are percent-encoded so they can't change the request's structure. Everything else stays
// (Cyrillic goes out as Windows-1251 bytes later).
QString EscapeUserText(const QString& text);

} // namespace orvix
