// A quest (given to a hero, failing when the hero leaves the scenario) or an
// objective (given to a player), with the check script that completes or fails it.
#pragma once

#include "game/script/Check.h"
#include "game/world/scenario/ScriptRecords.h"

namespace GameData {

enum TQuestType : int32_t { qtQuest = 1, qtObjective = 2 };
enum TQuestState : int32_t { qsNotGiven = 0, qsActive = 1, qsCompleted = 2, qsFailed = 3 };

class TQuestObjective : public TScenarioQuest {
public:
    TQuestObjective() { Clear(); }

    void SetScenario(TScenario* scenario) override;
    // Active for the hero; the script's variables start over; the stamp is taken.
    void GiveQuest(int32_t heroID);
    // Active for the player; the hero and the script's variables stay.
    void GiveObjective(int32_t player);
    // Not given, to nobody; texts, type, follow-up and script variables stay.
    void Reset();
    void UpdateQuest() override;
    void UpdatePlayerFromHero(bool raise = false) override;

    // A quest of nobody, not given, with an empty script.
    void Clear() override;
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;

    ClassLib::AnsiString Text;
    int32_t GivenID = 0; // the hero's unit
    TCheck Check{this};
    TScenario* Scenario = nullptr;
    ClassLib::AnsiString Name;
    uint8_t Hidden = 0; // left out of the diary
    ClassLib::AnsiString HeroName;
    int32_t GivenOrder = 0; // later gifts carry larger stamps
};

// Makes the scenario's stored quests quests of this library.
void InstallQuestObjectives(TScenario& scenario);

} // namespace GameData
