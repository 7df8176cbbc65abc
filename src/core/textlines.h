#pragma once

#include <QByteArray>
#include <QList>

namespace core {

// Lines as a text-mode stream reads them: split at LF, a CR before the LF
// dropped, a last line without LF still a line, no empty line after a final LF.
QList<QByteArray> splitTextLines(const QByteArray &content);

} // namespace core
