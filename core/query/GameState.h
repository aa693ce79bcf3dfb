#pragma once

#include <QString>

// Game states a server reports in its gstate value. NoGameState stands for
// any other value and for a reply without gstate.
enum GameStateCode : qint32 {
    NoGameState = 0,
    SelectingMission = 2,
    SettingUp = 6,
    Debriefing = 9,
    Briefing = 13,
    GameInProgress = 14,
};

// The state named by a gstate value. The value must be exactly the decimal
// text of a known code ("2", "13"); anything else gives NoGameState.
GameStateCode gameStateOf(QLatin1StringView value);

// The text shown for a state, e.g. "Briefing"; empty for NoGameState.
QString gameStateText(GameStateCode code);
