#pragma once

#include <QString>

namespace orvix {

// The outcome of an operation whose failure the caller must handle (the Delphi original raised).
class [[nodiscard]] Status {
public:
    static Status success() { return Status(); }
    static Status failure(QString message) { return Status(std::move(message)); }

    bool ok() const { return !m_failed; }
    const QString& message() const { return m_message; }

private:
    Status() = default;
    explicit Status(QString message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    QString m_message;
};

} // namespace orvix
