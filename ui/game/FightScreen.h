// What the game object asks of the fight screen, which the screens library above
// this one builds: fights started by the attack actions, shown or in the background,
// and the sides' commands carried by the fight-command action.
#pragma once

#include <cstdint>

namespace GameData {
class TCity;
class TGroup;
} // namespace GameData

namespace Main {

class TFightScreen {
public:
    virtual ~TFightScreen() = default;

    // A fight the viewing player takes part in: prepared, then played by Run.
    virtual void StartGroupFight(GameData::TGroup* attacker, GameData::TGroup* defender) = 0;
    virtual void StartCityFight(GameData::TGroup* attacker, GameData::TCity* town, int row) = 0;
    // Modal until the fight is over.
    virtual void Run() = 0;
    // A fight between two players neither of whom sits at this machine: the same
    // rounds without the screen, returning when the fight is over.
    virtual void RunBackgroundGroupFight(GameData::TGroup* attacker,
                                         GameData::TGroup* defender) = 0;
    virtual void RunBackgroundCityFight(GameData::TGroup* attacker, GameData::TCity* town,
                                        int row) = 0;
    // The fight-command action: answer (2 flee, 3 accept) and the twelve words of the
    // choosing side's three command records. False, changing nothing, when the set
    // breaks the battle's rules or no side is choosing.
    virtual bool SetSideCommands(uint32_t answer, const uint32_t* commands) = 0;
    // Draws the battle picture again after the surfaces were restored or re-created.
    virtual void PaintBackdrop() = 0;
    // Whether a fight is running (shown or in the background).
    virtual bool Fighting() const = 0;
    // The connection is lost: a fight on screen ends where it stands, so that the game
    // can close (a background fight stops waiting by itself).
    virtual void Abandon() = 0;
};

} // namespace Main
