#pragma once

#include <QLoggingCategory>

// One logging category a module. Warnings and notices are on; the trace of
// what the game does (debug lines) is off unless asked for, for example
//   QT_LOGGING_RULES="solvane.*.debug=true" ./solvane
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcCore)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcStory)
Q_DECLARE_LOGGING_CATEGORY(lcStage)
Q_DECLARE_LOGGING_CATEGORY(lcMusic)
Q_DECLARE_LOGGING_CATEGORY(lcSaves)
Q_DECLARE_LOGGING_CATEGORY(lcExtras)
Q_DECLARE_LOGGING_CATEGORY(lcSpeech)
