#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <QVariant>

// The script the game writes in: 简体 as the story was written, or 繁體 by
// OpenCC's Taiwan phrase set (s2twp). Only what is shown converts: the game
// reads, matches and records the Simplified text, so saves, branches and the
// records do not depend on the choice.
namespace core {

// Setting line 11 holds the choice (core/settingvalues.h).
enum class TextForm { Simplified = 0, Traditional = 1 };

// The text in Traditional characters; unchanged when OpenCC or its s2twp set
// cannot be opened (warned once).
QString toTraditional(const QString &text);

// Many lines at once, line for line: one call to OpenCC for a whole script.
QStringList toTraditional(const QStringList &lines);

// For tests: the library the converters are opened from on their next use
// (QLibrary's name, without version), as if the game started afresh; empty for
// the game's own, libopencc.
void useOpenccLibrary(const QString &name);

// Simplified text as the player sees it in the form given. Strings, and lists
// and maps of strings (the backlog's rows), convert; anything else is as given.
QString shown(const QString &text, TextForm form);
QVariant shown(const QVariant &value, TextForm form);

// A page's words as the voice should read them: back in Simplified when the
// page shows Traditional.
QString spoken(const QString &text, TextForm form);

// The pages' qsTr() words in Traditional characters, while it is installed.
class TraditionalTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace core
