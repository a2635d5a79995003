#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace orvix {

class Browser;
class DiagnosticLog;

// A hidden memo that holds one captured page: lines, each followed by CR LF.
class PageBuffer {
public:
    QString text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    void clear() { m_text.clear(); }

private:
    friend void CapturePageHtml(Browser&, PageBuffer&, DiagnosticLog&,
                                std::function<void(const QString&)>);
    QString m_text;
    // A capture that a newer one overtook, or that outlives its buffer, is dropped.
    std::shared_ptr<int> m_generation = std::make_shared<int>(0);
};

// Reads the browser's top-level document back in the old engine's text form into the buffer,
// which is cleared first. `done` gets the buffer's text on success; on failure the log gets
// "Ошибка - Главный парсер" and `done` is not called, so the caller's text stays as it was.
void CapturePageHtml(Browser& source, PageBuffer& buffer, DiagnosticLog& log,
                     std::function<void(const QString& html)> done);

} // namespace orvix
