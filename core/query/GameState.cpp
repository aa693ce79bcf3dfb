#include "query/GameState.h"

namespace {

struct KnownState {
    GameStateCode code;
    QLatin1StringView value;
    QLatin1StringView text;
};

constexpr KnownState knownStates[] = {
    {SelectingMission, QLatin1StringView("2"), QLatin1StringView("Selecting mission")},
    {SettingUp, QLatin1StringView("6"), QLatin1StringView("Setting up")},
    {Debriefing, QLatin1StringView("9"), QLatin1StringView("Debriefing")},
    {Briefing, QLatin1StringView("13"), QLatin1StringView("Briefing")},
    {GameInProgress, QLatin1StringView("14"), QLatin1StringView("Game in progress...")},
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
            return s.text;
    }
    return {};
}
