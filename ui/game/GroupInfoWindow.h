// The group panel at the right edge of the adventure screen: one unit panel per unit
// of the viewing player's active group, on that player's own turn. It slides in when
// a group is chosen and out when none is; a portrait click marks the unit to split
// off, the spell book button opens the unit's spell book.
#pragma once

#include "ui/game/SlideAnimation.h"
#include "ui/widgets/VRNWindow.h"

#include <array>
#include <cstdint>
#include <functional>

namespace GameData {
class TGroup;
class TScenario;
class TUnit;
} // namespace GameData

namespace Main {

class TUnitInfoControl;

class TGroupInfoWindow : public TVRNWindow {
public:
    static constexpr int32_t PanelWidth = 238;
    static constexpr int32_t RowHeight = 104;
    static constexpr int32_t Slots = 3;
    // Docked at the right edge: slid out it waits just past it.
    static constexpr int32_t OutsideX = 800;
    static constexpr int32_t Top = 140;
    static constexpr int32_t SlideMilliseconds = 100;

    enum TState : int32_t { gsShown = 1, gsHidden = 2 };

    explicit TGroupInfoWindow(DXWin::TDXWindowSystem* windowSystem);
    ~TGroupInfoWindow() override;

    // The panels are emptied at once: the old scenario's units may be gone.
    void SetScenario(GameData::TScenario* scenario);
    GameData::TScenario* Scenario() const { return FScenario; }
    void SlideIn();
    void SlideOut();
    void SlideTo(int32_t x, int32_t y, int32_t duration);
    // Each tick: shows the active group of the player on turn while that player is
    // the viewing player.
    void Refresh();
    // Portrait clicks: posts the group's split marks with this slot's mark turned over.
    void ToggleMark(int slot);
    // The spell book of the unit in the slot; a spell chosen there is then aimed on the
    // map by the map window.
    void OpenSpellBook(int slot);
    // The spell the player picks from the unit's book, 0 for none: the spell book
    // shown modally, unless a test answers in its place.
    std::function<int(GameData::TUnit&)> ChooseSpell;

    GameData::TGroup* Group() const { return FGroup; }
    TState State() const { return FState; }
    TUnitInfoControl* Panel(int slot) const { return FPanels[size_t(slot)]; }
    bool SlotShown(int slot) const { return FSlotStates[size_t(slot)] == ssShown; }

private:
    enum TSlotState : int32_t { ssShown = 1, ssPushedOut = 2 };

    void Step();
    // The group the panel follows now; null when it shows none.
    GameData::TGroup* ShownGroup() const;
    // The viewing player plays at this machine and owns the group.
    bool Commands(const GameData::TGroup& group) const;
    void FillSlot(int slot, GameData::TUnit& unit, bool commanded);
    void EmptySlot(int slot);
    void ClearPanels();
    int ChooseFromSpellBook(GameData::TUnit& unit);

    GameData::TScenario* FScenario = nullptr;
    GameData::TGroup* FGroup = nullptr;
    TSlideAnimation FSlide;
    TState FState = gsHidden;
    std::array<TUnitInfoControl*, Slots> FPanels{};
    std::array<TSlotState, Slots> FSlotStates{ssPushedOut, ssPushedOut, ssPushedOut};
};

} // namespace Main
