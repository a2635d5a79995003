#pragma once

#include <QString>

namespace orvix {

// How core tells the user something without depending on widgets.
class Alerts {
public:
    virtual ~Alerts() = default;
    // A plain message box.
    virtual void message(const QString& text) = 0;
    // A warning box with a single OK button.
    virtual void warning(const QString& text) = 0;
};

} // namespace orvix
