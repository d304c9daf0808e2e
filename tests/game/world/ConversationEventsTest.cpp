// Events of the world that start conversations: a group stepping into an area or
// meeting another group, and locations, areas and foreign units coming into sight.
#include "tests/game/world/CityGroupFixture.h"

#include <functional>

namespace CityGroupTests {
namespace {

constexpr int WalkerID = 4; // ACTIONPOINTS 100, SIGHT 3

class ConversationEventsTest : public CityGroupTest {
protected:
    ConversationEventsTest() {
        Data2::TUnitPrototype& walker = Data.AddUnitPrototype(WalkerID, "Walker");
        TestSupport::SetStat(walker.Stats, HITPOINTS, 30);
        TestSupport::SetStat(walker.Stats, ACTIONPOINTS, 100);
        TestSupport::SetStat(walker.Stats, SIGHT, 3);
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
    }

    // A fresh world with red's turn begun; green is neutral to red.
    void NewWorld() {
        World = std::make_unique<TestSupport::TTinyWorld>();
        World->Scenario->AddPlayer(std::make_unique<TPlayer>(World->Scenario.get()));
        Scenario().BeginTurnOf(Red);
    }

    TGroup* Group(uint8_t owner, int x, int y, std::initializer_list<int> prototypes = {WalkerID}) {
        TGroup* group = World->AddGroup(owner, x, y);
        for (const int prototype : prototypes)
            group->AddUnit(Make(prototype), true, false);
        Scenario().UpdateAllVisibility();
        Player(owner).ResetFlags();
        return group;
    }

    void AddConversation(int32_t event, uint32_t ownerID, uint16_t targets) {
        auto conversation = std::make_unique<TScenarioConversation>();
        conversation->ID = uint32_t(100 + Scenario().Conversations.Count());
        conversation->OwnerType = event;
        conversation->OwnerID = int32_t(ownerID);
        conversation->TargetPlayers = targets;
        Scenario().Conversations.Add(std::move(conversation));
    }

    // Owner IDs of the queued conversations, oldest first.
    std::vector<uint32_t> Queued() {
        std::vector<uint32_t> owners;
        while (const TScenarioConversation* conversation = Scenario().PopQueuedConversation())
            owners.push_back(uint32_t(conversation->OwnerID));
        return owners;
    }

    int32_t RunUntilReport(TPlayer& owner) {
        for (int i = 0; i < 5000; ++i) {
            Scenario().Update();
            const TPlayerAction action = owner.TakeAction();
            if (action.Code == acReport)
                return int32_t(action.P[0]);
        }
        return -1;
    }

    static TPoint CellOf(const TGroup& group) { return {group.X / CellSize, group.Y / CellSize}; }
};

TEST_F(ConversationEventsTest, EachEventQueuesTheConversationsOfItsObjectForThePlayer) {
    // Red walks from (1, Row) towards (TargetX, Row), or meets the group the scene
    // made; the scene gives the owner IDs whose conversations the event must start,
    // in the order it starts them.
    TGroup* met = nullptr;
    struct Case {
        const char* Name;
        int32_t Event;
        int Row, TargetX, EndX;
        int32_t Report;
        std::function<std::vector<uint32_t>()> Scene;
    };
    const Case cases[] = {
        {"stepping into an area", ceAreaEntered, 2, 6, 3, arStoppedByConversation,
         [&] {
             return std::vector<uint32_t>{World->AddArea({{3, 2}, {3, 3}})->ID};
         }},
        {"meeting a group", ceUnitMet, 2, 0, 2, arDone,
         [&] {
             met = Group(Green, 3, 2, {HeroID, HeroID}); // in sight
             // The last hero leads.
             return std::vector<uint32_t>{met->UnitAt(1)->ID, met->UnitAt(0)->ID};
         }},
        {"a city coming into view", ceLocationFound, 2, 6, 5, arSpotted,
         [&] { return std::vector<uint32_t>{World->AddCity(Blue, 7, 2)->ID}; }},
        {"an area coming into view", ceAreaSeen, 6, 6, 6, arDone,
         [&] {
             return std::vector<uint32_t>{World->AddArea({{8, 6}})->ID};
         }},
        {"a foreign group coming into view", ceUnitSpotted, 9, 6, 5, arSpotted,
         [&] {
             TGroup* enemy = Group(Blue, 7, 9, {WalkerID, SoldierID});
             return std::vector<uint32_t>{enemy->UnitAt(0)->ID, enemy->UnitAt(1)->ID};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        NewWorld();
        met = nullptr;
        TGroup* walker = Group(Red, 1, c.Row);
        const std::vector<uint32_t> owners = c.Scene();
        for (const uint32_t owner : owners) {
            AddConversation(c.Event, owner, 0b001);     // for red: starts
            AddConversation(c.Event, owner, 0b010);     // for blue only
            AddConversation(c.Event, owner + 1000, 1);  // another object's
            AddConversation(ceEveryTurn, owner, 0b001); // another event's
        }
        ASSERT_EQ(Queued(), std::vector<uint32_t>{}) << "nothing happened yet";
        Player(Red).ResetFlags();

        if (met)
            walker->MoveAgainstGroup(met, 2, true, 0);
        else
            walker->MoveTo(c.TargetX, c.Row, true, 0);
        EXPECT_EQ(RunUntilReport(Player(Red)), c.Report);
        EXPECT_EQ(CellOf(*walker), (TPoint{c.EndX, c.Row}));
        EXPECT_EQ(Queued(), owners);
    }
}

TEST_F(ConversationEventsTest, AnAreaWhoseConversationsAreQueuedAlreadyDoesNotStopTheWalk) {
    NewWorld();
    TGroup* walker = Group(Red, 1, 2);
    const uint32_t area = World->AddArea({{3, 2}})->ID;
    AddConversation(ceAreaEntered, area, 1);
    Scenario().TriggerConversations(Red, ceAreaEntered, int32_t(area));
    walker->MoveTo(5, 2, true, 0);
    EXPECT_EQ(RunUntilReport(Player(Red)), arDone);
    EXPECT_EQ(CellOf(*walker), (TPoint{5, 2}));
    EXPECT_EQ(Queued(), std::vector<uint32_t>{area});
}

} // namespace
} // namespace CityGroupTests
