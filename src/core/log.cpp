#include "core/log.h"

Q_LOGGING_CATEGORY(lcApp, "solvane.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCore, "solvane.core", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "solvane.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStory, "solvane.story", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStage, "solvane.stage", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMusic, "solvane.music", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSaves, "solvane.saves", QtInfoMsg)
Q_LOGGING_CATEGORY(lcExtras, "solvane.extras", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSpeech, "solvane.speech", QtInfoMsg)
