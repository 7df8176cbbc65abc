#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace core {

// Lines as a text-mode stream reads them: split at LF, a CR before the LF
// dropped, a last line without LF still a line, no empty line after a final LF.
QList<QByteArray> splitTextLines(const QByteArray &content);

// The lines of a file named relative to the working directory, split as
// above. A missing file has none; ok (when given) says it opened.
QList<QByteArray> readTextLines(const QString &path, bool *ok = nullptr);

} // namespace core
