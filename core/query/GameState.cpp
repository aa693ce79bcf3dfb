#include "query/GameState.h"

#include <QCoreApplication>

namespace {

struct KnownState {
    GameStateCode code;
    QLatin1StringView value;
    const char* text; // the English text, translated when shown
};

constexpr KnownState knownStates[] = {
    {SelectingMission, QLatin1StringView("2"), QT_TRANSLATE_NOOP("GameState", "Selecting mission")},
    {SettingUp, QLatin1StringView("6"), QT_TRANSLATE_NOOP("GameState", "Setting up")},
    {Debriefing, QLatin1StringView("9"), QT_TRANSLATE_NOOP("GameState", "Debriefing")},
    {Briefing, QLatin1StringView("13"), QT_TRANSLATE_NOOP("GameState", "Briefing")},
    {GameInProgress, QLatin1StringView("14"),
     QT_TRANSLATE_NOOP("GameState", "Game in progress...")},
};

} // namespace

GameStateCode gameStateOf(QLatin1StringView value) {
    for (const KnownState& s : knownStates) {
        if (s.value == value)
            return s.code;
    }
    return NoGameState;
}

QString gameStateText(GameStateCode code) {
    for (const KnownState& s : knownStates) {
        if (s.code == code)
            return QCoreApplication::translate("GameState", s.text);
    }
    return {};
}
