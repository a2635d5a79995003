#include "core/configstore.h"

#include "core/alerts.h"
#include "core/base64group.h"
#include "core/configlist.h"
#include "core/cp1251.h"
#include "core/diagnosticlog.h"
#include "core/ownerfile.h"
#include "core/programdir.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kLineChars = 72;

QString tempPath() {
    return ProgramFile(u"config.temp"_s);
}
QString exPath() {
    return ProgramFile(u"config.ex"_s);
}

Status fileFailure(const QString& what, const QFileDevice& file) {
    return Status::failure(u"%1 %2: %3"_s.arg(what, file.fileName(), file.errorString()));
}

Status writeAll(QFileDevice& file, QByteArrayView bytes) {
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return fileFailure(u"Cannot write"_s, file);
    return Status::success();
}

} // namespace

ConfigStore::ConfigStore(ConfigList& list, DiagnosticLog& log, Alerts& alerts)
    : m_list(list), m_log(log), m_alerts(alerts), m_pump([] {
          if (QCoreApplication::instance())
              QCoreApplication::processEvents();
      }) {}

void ConfigStore::pump() {
    if (m_pump)
        m_pump();
}

QByteArray ConfigStore::EncodeFile(QByteArrayView plain) {
    const qsizetype chars = (plain.size() + 2) / 3 * 4;
    QByteArray out;
    out.reserve(chars + (chars / kLineChars + 1) * 2);
    qsizetype lineFill = 0;
    for (qsizetype i = 0; i < plain.size(); i += 3) {
        const qsizetype n = qMin<qsizetype>(3, plain.size() - i);
        const auto at = [&](qsizetype k) { return k < n ? std::uint8_t(plain[i + k]) : 0; };
        const auto group = Base64EncodeGroup(MakeGroupWord(at(0), at(1), at(2), int(n)));
        out.append(group.data(), 4);
        lineFill += 4;
        if (lineFill == kLineChars) {
            out.append("\r\n");
            lineFill = 0;
        }
    }
    out.append("\r\n"); // the rest, possibly empty, is the last line
    return out;
}

QByteArray ConfigStore::DecodeFile(QByteArrayView encoded) {
    QByteArray out;
    out.reserve(encoded.size() / 4 * 3);
    qsizetype start = 0;
    const auto decodeLine = [&](QByteArrayView line) {
        for (qsizetype i = 0; i < line.size(); i += 4) {
            const GroupWord w =
                Base64DecodeGroup(line.sliced(i, qMin<qsizetype>(4, line.size() - i)));
            for (int k = 0; k < GroupCount(w); ++k)
                out.append(char(GroupByte(w, k)));
        }
    };
    for (qsizetype i = 0; i <= encoded.size(); ++i) {
        if (i < encoded.size() && encoded[i] != '\r' && encoded[i] != '\n')
            continue;
        decodeLine(encoded.sliced(start, i - start));
        start = i + 1;
    }
    return out;
}

void ConfigStore::LoadConfiguration() {
    const Status status = run(Op::Load);
    if (!status.ok()) // only a save deferred behind this load can fail here
        m_alerts.warning(status.message());
}

Status ConfigStore::SaveConfiguration() {
    return run(Op::Save);
}

// Both operations let the message loop run; a handler there may start another load or save,
// which would delete or rewrite config.temp under the running one. Such calls wait their turn.
Status ConfigStore::run(Op op) {
    if (m_busy) {
        if (m_deferred.isEmpty() || m_deferred.last() != op)
            m_deferred.append(op);
        return Status::success();
    }
    m_busy = true;
    Status first = runNow(op);
    while (!m_deferred.isEmpty()) {
        const Status next = runNow(m_deferred.takeFirst());
        if (first.ok() && !next.ok())
            first = next;
    }
    m_busy = false;
    return first;
}

Status ConfigStore::runNow(Op op) {
    if (op == Op::Save)
        return saveNow();
    if (const Status s = loadNow(); !s.ok()) {
        m_log.LogError(u"I/O - config.ex"_s);
        m_alerts.warning(u"I/O - config.ex"_s);
    }
    return Status::success(); // a failed load is reported above, not to the caller
}

Status ConfigStore::saveNow() {
    const Status s = saveSteps();
    if (!s.ok())
        QFile::remove(tempPath()); // the plain copy holds passwords; the list is still in memory
    return s;
}

Status ConfigStore::saveSteps() {
    {
        QFile temp(tempPath());
        if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fileFailure(u"Cannot create"_s, temp);
        RestrictToOwner(temp);
        if (Status s = writeAll(temp, cp1251::encode(m_list.text())); !s.ok())
            return s;
    }

    pump();

    QByteArray plain;
    {
        QFile temp(tempPath());
        if (!temp.open(QIODevice::ReadOnly))
            return fileFailure(u"Cannot open"_s, temp);
        plain = temp.readAll();
        if (temp.error() != QFileDevice::NoError)
            return fileFailure(u"Cannot read"_s, temp);
    }
    {
        QSaveFile ex(exPath());
        if (!ex.open(QIODevice::WriteOnly))
            return fileFailure(u"Cannot create"_s, ex);
        RestrictToOwner(ex);
        if (Status s = writeAll(ex, EncodeFile(plain)); !s.ok()) {
            ex.cancelWriting();
            return s;
        }
        if (!ex.commit())
            return fileFailure(u"Cannot write"_s, ex);
    }

    if (!QFile::remove(tempPath()) && QFile::exists(tempPath()))
        m_log.LogError(u"Оштбка I/O "_s + tempPath());
    return Status::success();
}

Status ConfigStore::loadNow() {
    pump();

    QFile ex(exPath());
    if (!ex.open(QIODevice::ReadOnly))
        return fileFailure(u"Cannot open"_s, ex);
    {
        QFile temp(tempPath());
        if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fileFailure(u"Cannot create"_s, temp);
        RestrictToOwner(temp);
        const QByteArray encoded = ex.readAll();
        if (ex.error() != QFileDevice::NoError)
            return fileFailure(u"Cannot read"_s, ex);
        if (Status s = writeAll(temp, DecodeFile(encoded)); !s.ok())
            return s;
    }
    ex.close();

    QByteArray plain;
    {
        QFile temp(tempPath());
        if (!temp.open(QIODevice::ReadOnly))
            return fileFailure(u"Cannot open"_s, temp);
        plain = temp.readAll();
        if (temp.error() != QFileDevice::NoError)
            return fileFailure(u"Cannot read"_s, temp);
    }
    m_list.setText(cp1251::decode(plain));

    if (!QFile::remove(tempPath()) && QFile::exists(tempPath()))
        m_log.LogError(u"Оштбка I/O "_s + tempPath());
    return Status::success();
}

} // namespace orvix
