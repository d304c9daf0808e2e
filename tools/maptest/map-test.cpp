// The adventure map in the game's window at 800 x 600: campaign level 3 composed in
// code (the sample levels' own builder), its groups walking, its scenery and city
// decorations animated, rain falling, the first player's fog over it. The arrow keys
// and the mouse at the window's edges scroll; F12 saves a screenshot in "Bmp/".
// With --data the level, its pictures and the global data come from the archives the
// build generates in that program folder, else from code. --cast makes the selected
// group cast that map spell at once, C casts it again. --effect-shots PREFIX saves
// PREFIX-<tick>.bmp at those ticks of the spell's effect (--ticks a,b,...; by default a
// few in each phase), prints the phase lengths, saves PREFIX-end.bmp once the effect
// is gone and quits. --target DX,DY casts on the cell that far from the caster instead
// of the nearest enemy group.
//
//   map-test [--fullscreen] [--seconds N] [--screenshot FILE] [--data FOLDER] [--cast ID]
//            [--target DX,DY] [--effect-shots PREFIX [--ticks LIST]]
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/spells/MapSpellEffect.h"
#include "game/world/cities/City.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"
#include "platform/display/DisplayHardware.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinWindow.h"
#include "tools/TestScreenOptions.h"
#include "tools/levels/LevelBuilder.h"
#include "tools/levels/SeedLevel.h"
#include "tools/maptest/MapTestArt.h"
#include "tools/maptest/MapTestScene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Win32;

namespace {

constexpr int ViewWidth = Tools::MapViewWidth;
constexpr int ViewHeight = Tools::MapViewHeight;
constexpr int ScrollStep = 8;    // pixels per update
constexpr int EdgeMargin = 6;    // pixels at the window's edge that scroll
constexpr int CampaignLevel = 2; // level 3
constexpr int DefaultSpell = 60; // for C without --cast

struct TMapTestOptions {
    std::string DataFolder; // empty: everything made in code
    int CastSpell = 0;
    std::string EffectShots; // file name prefix; empty: none
    std::vector<uint32_t> EffectTicks;
    bool TargetGiven = false; // else the nearest enemy group
    int TargetDX = 0, TargetDY = 0;
};

// A few ticks in each phase that has a length, and the last one.
std::vector<uint32_t> TicksInPhases(const GameData::TSpell& visual) {
    const uint32_t cast = visual.CastTicks, flight = visual.FlightTicks;
    const uint32_t impact = visual.ImpactTicks;
    std::vector<uint32_t> ticks{1};
    if (cast > 0)
        ticks.push_back(cast / 2);
    if (flight > 0) {
        ticks.push_back(cast + flight / 4);
        ticks.push_back(cast + flight * 3 / 4);
    }
    ticks.push_back(cast + flight + 2);
    ticks.push_back(cast + flight + impact / 2);
    ticks.push_back(visual.Total > 2 ? visual.Total - 2 : visual.Total);
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
    return ticks;
}

class TProgram {
public:
    TProgram(const Tools::TTestScreenOptions& options, const TMapTestOptions& mapOptions)
        : FOptions(options), FMapOptions(mapOptions) {}
    ~TProgram() { Close(); }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    void Start() {
        using D3DFrame::D3DFramework;
        auto& application = *DXApp::Application;
        application.Create(
            GetModuleHandle(nullptr), "Varnholt map test", "VRNMapTest",
            DXApp::aoHideCursorWindowed | DXApp::aoFixedFrame, 100, [this] { Close(); },
            [this] { Update(); }, [this] { Render(); }, Gfx::RestoreAllSurfaces,
            Gfx::ReleaseAllSurfaces, Gfx::RecreateAllSurfaces, nullptr,
            [this](UINT msg, WPARAM wParam, LPARAM lParam) { Input(msg, wParam, lParam); });
        D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            application.Window, application.Title, D3DFrame::UseDirect3D, ViewWidth, ViewHeight, 16,
            Tools::AcceptTestScreenMode);
        if (FOptions.FullScreen)
            application.SetFullscreen(-1, 100, 100, ViewWidth, ViewHeight);
        else
            application.SetWindowed(SW_SHOWNORMAL, 100, 100, ViewWidth, ViewHeight);
        Gfx::CalibrateRenderer();

        if (FMapOptions.DataFolder.empty())
            BuildLevelInCode();
        else
            LoadLevelFromArchives();
        InstallMapSpells(*FScenario);
        FScenario->CreateSurfaces();
        FScenario->BeginTurnOf(Tools::PersonsSide);
        FScenario->SetWeather(1);
        SendGroupsWalking();
        ExploreHomeLands();
        DDSURFACEDESC2 desc;
        D3DFrame::InitSurfaceDesc(desc, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT,
                                  DDSCAPS_OFFSCREENPLAIN);
        desc.dwWidth = ViewWidth;
        desc.dwHeight = ViewHeight;
        FRetained = D3DFramework->CreateSurface(desc);
        if (FMapOptions.CastSpell)
            CastFromSelectedGroup(FMapOptions.CastSpell);
        // The pointer is drawn by a window system, as the game draws it.
        FWindows = std::make_unique<DXWin::TDXWindowSystem>();
        if (Data2::MainData && Data2::MainData->Sprites[Data2::msPointerCursor]) {
            FWindows->SetDefaultCursor(Data2::MainData->Sprites[Data2::msPointerCursor]);
        } else {
            FOwnPointer = Tools::MakePointerCursor();
            FWindows->SetDefaultCursor(FOwnPointer.get());
        }
    }

private:
    void BuildLevelInCode() {
        Tools::InstallSeedGlobalData();
        Tools::InstallMapTestArt();
        // The seed data neither lets its units walk nor climb; here they may.
        for (int step = 0; step < 3; ++step)
            Data2::GlobalData->GameConstants[Data2::gcFirstStepHeight + step] = 40 << step;
        for (int i = 0; i < Data2::GlobalData->UnitPrototypes.Count(); ++i) {
            GameData::TUnitStats& stats = Data2::GlobalData->UnitPrototypes[i].Stats;
            stats.Base(GameData::ACTIONPOINTS) = 30;
            stats.Value(GameData::ACTIONPOINTS) = 30;
        }
        FScenario = std::move(
            Tools::BuildLevel(Tools::ReadLevelDescriptionFile(std::string(VRN_SOURCE_DIR) +
                                                              "/data/levels/level3.txt"))
                .Scenario);
    }

    // As the game starts: data.ini in the program folder leads to the archives.
    void LoadLevelFromArchives() {
        FArchivesOpen = true;
        Tools::OpenGameData(FMapOptions.DataFolder);
        FScenario = Tools::LoadCampaignLevel(CampaignLevel);
    }

    // The selected group casts on the nearest enemy group a few cells away, else on a
    // cell beside it, through the game's own casting path.
    void CastFromSelectedGroup(int spellID) {
        GameData::TPlayer& player = *FScenario->Players[Tools::PersonsSide];
        GameData::TGroup* caster = player.GetSelectedGroup();
        GameData::TUnit* leader = caster ? caster->GetLeader() : nullptr;
        if (!leader) {
            std::fprintf(stderr, "map-test: no group to cast from\n");
            return;
        }
        // A second cast would replace the effect still playing.
        if (caster->Activity != GameData::gaNone || caster->AnimState == GameData::asCast ||
            caster->AnimState == GameData::asCastTurn || FScenario->SpellEffect)
            return;
        const int casterX = caster->X / 40, casterY = caster->Y / 40;
        int targetX = casterX + 2, targetY = casterY + 2;
        int nearest = FMapOptions.TargetGiven ? 0 : 6 * 6 + 1;
        if (FMapOptions.TargetGiven) {
            targetX = casterX + FMapOptions.TargetDX;
            targetY = casterY + FMapOptions.TargetDY;
        }
        for (int i = 0; i < FScenario->Objects.Count(); ++i) {
            GameData::TMapObject* object = FScenario->Objects[i];
            if (object->Kind != GameData::okGroup ||
                static_cast<GameData::TGroup*>(object)->GetOwner() == &player)
                continue;
            const int dx = object->X / 40 - casterX, dy = object->Y / 40 - casterY;
            if (dx * dx + dy * dy < nearest) {
                nearest = dx * dx + dy * dy;
                targetX = object->X / 40;
                targetY = object->Y / 40;
            }
        }
        if (!caster->StartSpellCast(leader->ID, uint32_t(spellID), targetX, targetY))
            std::fprintf(stderr, "map-test: spell %d cannot be cast now\n", spellID);
    }

    // The person's side's groups walk a few cells and its first group is selected;
    // the view starts over them.
    void SendGroupsWalking() {
        GameData::TPlayer& player = *FScenario->Players[Tools::PersonsSide];
        bool first = true;
        for (int i = 0; i < FScenario->Objects.Count(); ++i) {
            GameData::TMapObject* object = FScenario->Objects[i];
            if (object->Kind != GameData::okGroup)
                continue;
            auto* group = static_cast<GameData::TGroup*>(object);
            if (group->GetOwner() != &player)
                continue;
            if (first) {
                player.SelectObject(group);
                FViewX = group->X - ViewWidth / 2 + 150;
                FViewY = group->Y - ViewHeight / 2 + 120;
                first = false;
                // A walking group would not stop to cast.
                if (FMapOptions.CastSpell)
                    continue;
            }
            // The first free cell of a few a short walk away.
            const int offsets[][2] = {{5, 1}, {1, 5}, {-4, 3}, {3, -4}, {6, 6}, {-5, -5}};
            for (const auto& offset : offsets) {
                group->MoveTo(group->X / 40 + offset[0], group->Y / 40 + offset[1], true, 0);
                const GameData::TPlayerAction report = player.TakeAction();
                if (report.Code != GameData::acReport)
                    break;
            }
        }
        ClampView();
    }

    // As after some turns of play: the land around the first player's start is
    // explored, so the map shows beyond its groups' sight.
    void ExploreHomeLands() {
        Tools::ExploreAround(*FScenario, (FViewX + ViewWidth / 2) / 40,
                             (FViewY + ViewHeight / 2) / 40, 13);
    }

    void ClampView() { Tools::ClampMapView(*FScenario, FViewX, FViewY); }

    void Update() {
        auto& application = *DXApp::Application;
        if (!FScenario)
            return;
        FScenario->Update();
        const bool left = GetKeyState(VK_LEFT) < 0 || (FMouseInside && FMouseX < EdgeMargin);
        const bool right =
            GetKeyState(VK_RIGHT) < 0 || (FMouseInside && FMouseX >= ViewWidth - EdgeMargin);
        const bool up = GetKeyState(VK_UP) < 0 || (FMouseInside && FMouseY < EdgeMargin);
        const bool down =
            GetKeyState(VK_DOWN) < 0 || (FMouseInside && FMouseY >= ViewHeight - EdgeMargin);
        FViewX += (right - left) * ScrollStep;
        FViewY += (down - up) * ScrollStep;
        ClampView();
        if (FWindows)
            FWindows->Tick();
        if (FOptions.Seconds >= 0 && application.GameTime >= FOptions.Seconds * 1000)
            FTimeUp = true;
    }

    // Names the shot of this frame once the effect reaches the next tick wanted (an
    // update may run several ticks between two frames); once the effect is gone, the last.
    void WatchEffect() {
        const auto* effect = dynamic_cast<GameData::TMapSpellEffect*>(FScenario->SpellEffect.get());
        if (effect) {
            const GameData::TSpell& visual = effect->Visual;
            if (!FEffectSeen) {
                FEffectSeen = true;
                FShotTicks = FMapOptions.EffectTicks.empty() ? TicksInPhases(visual)
                                                             : FMapOptions.EffectTicks;
                std::sort(FShotTicks.begin(), FShotTicks.end());
                std::printf("spell %d: cast %u flight %u impact %u total %u effect at %u, "
                            "from (%d,%d) to (%d,%d)\n",
                            visual.Prototype ? visual.Prototype->ID : 0, visual.CastTicks,
                            visual.FlightTicks, visual.ImpactTicks, visual.Total, visual.EffectTick,
                            visual.SourceX - FViewX, visual.SourceY - FViewY,
                            visual.TargetX - FViewX, visual.TargetY - FViewY);
            }
            if (FNextShot < FShotTicks.size() && visual.Tick >= FShotTicks[FNextShot]) {
                while (FNextShot < FShotTicks.size() && visual.Tick >= FShotTicks[FNextShot])
                    ++FNextShot;
                FPendingShot = FMapOptions.EffectShots + "-" + std::to_string(visual.Tick) + ".bmp";
            }
        } else if (FEffectSeen && !FTimeUp) {
            FPendingShot = FMapOptions.EffectShots + "-end.bmp";
            FTimeUp = true;
        }
    }

    void Render() {
        using D3DFrame::D3DFramework;
        if (!FScenario || !D3DFramework || !D3DFramework->BackBuffer() || !FRetained)
            return;
        const RECT clip{0, 0, ViewWidth, ViewHeight};
        IDirectDrawSurface7* screen = D3DFramework->BackBuffer();
        Tools::DrawMapFrame(*FScenario, FRetained.Get(), screen, FViewX, FViewY);
        FScenario->DrawWeather(screen, FViewX, clip, FViewY);
        FScenario->DrawSpellEffect(screen, clip.left - FViewX, clip.top - FViewY, clip);
        if (FWindows)
            FWindows->Draw(screen);
        auto& application = *DXApp::Application;
        if (!FMapOptions.EffectShots.empty())
            WatchEffect();
        if (!FPendingShot.empty()) {
            if (!application.SaveBackBuffer(FPendingShot.c_str()))
                std::fprintf(stderr, "map-test: the back buffer could not be read\n");
            FPendingShot.clear();
        }
        if (FTimeUp && !application.Quit) {
            if (!FOptions.Screenshot.empty() && !application.SaveBackBuffer(FOptions.Screenshot))
                std::fprintf(stderr, "map-test: the back buffer could not be read\n");
            application.Terminate();
        }
        D3DFramework->ShowFrame();
    }

    void Input(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_KEYDOWN && wParam == VK_ESCAPE)
            DXApp::Application->Terminate();
        if (msg == WM_KEYDOWN && wParam == VK_F12)
            DXApp::Application->ScreenshotRequest = true;
        if (msg == WM_KEYDOWN && wParam == 'C' && FScenario)
            CastFromSelectedGroup(FMapOptions.CastSpell ? FMapOptions.CastSpell : DefaultSpell);
        if (FWindows)
            FWindows->HandleMessage(msg, wParam, lParam);
        if (msg == WM_MOUSEMOVE) {
            FMouseX = GET_X_LPARAM(lParam);
            FMouseY = GET_Y_LPARAM(lParam);
            FMouseInside = true;
        }
    }

    void Close() {
        FWindows.reset();
        FOwnPointer.reset();
        FRetained = nullptr;
        FScenario.reset();
        // Its sprites leave the surface registry while the registry is still there.
        Data2::FreeGlobalData();
        if (FArchivesOpen) {
            Data2::FreeMainData();
            Data2::CloseDataArchives();
            FArchivesOpen = false;
        }
        D3DFrame::D3DFramework.reset();
    }

    const Tools::TTestScreenOptions& FOptions;
    const TMapTestOptions& FMapOptions;
    bool FArchivesOpen = false;
    std::unique_ptr<GameData::TScenario> FScenario;
    TRefPtr<IDirectDrawSurface7> FRetained;
    std::unique_ptr<Gfx::TSprite> FOwnPointer;
    std::unique_ptr<DXWin::TDXWindowSystem> FWindows;
    int FViewX = 0;
    int FViewY = 0;
    int FMouseX = 0;
    int FMouseY = 0;
    bool FMouseInside = false;
    bool FTimeUp = false;
    bool FEffectSeen = false;
    std::vector<uint32_t> FShotTicks;
    size_t FNextShot = 0;
    std::string FPendingShot;
};

} // namespace

int main(int argc, char** argv) {
    // The map's own options; the rest are the test screens'.
    TMapTestOptions mapOptions;
    std::vector<char*> rest{argv[0]};
    bool valid = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--data" && i + 1 < argc) {
            mapOptions.DataFolder = argv[++i];
        } else if (argument == "--cast" && i + 1 < argc) {
            mapOptions.CastSpell = std::atoi(argv[++i]);
            valid = valid && mapOptions.CastSpell > 0;
        } else if (argument == "--effect-shots" && i + 1 < argc) {
            mapOptions.EffectShots = argv[++i];
        } else if (argument == "--target" && i + 1 < argc) {
            mapOptions.TargetGiven =
                std::sscanf(argv[++i], "%d,%d", &mapOptions.TargetDX, &mapOptions.TargetDY) == 2;
            valid = valid && mapOptions.TargetGiven;
        } else if (argument == "--ticks" && i + 1 < argc) {
            for (const char* p = argv[++i]; *p;) {
                char* end = nullptr;
                mapOptions.EffectTicks.push_back(uint32_t(std::strtoul(p, &end, 10)));
                valid = valid && end != p;
                if (end == p)
                    break;
                p = *end == ',' ? end + 1 : end;
            }
        } else {
            rest.push_back(argv[i]);
        }
    }
    Tools::TTestScreenOptions options;
    if (!valid || !Tools::ParseTestScreenOptions(int(rest.size()), rest.data(), options)) {
        std::fprintf(stderr, "usage: map-test [--fullscreen] [--seconds N] [--screenshot FILE] "
                             "[--data FOLDER] [--cast SPELL] [--target DX,DY] "
                             "[--effect-shots PREFIX [--ticks LIST]]\n");
        return 2;
    }
    // An effect that never starts must not keep the run going.
    if (!mapOptions.EffectShots.empty() && options.Seconds < 0)
        options.Seconds = 30;
    return Tools::RunTestScreen("map-test",
                                [&] { return std::make_unique<TProgram>(options, mapOptions); });
}
