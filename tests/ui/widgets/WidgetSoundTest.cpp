// The widgets play the interface sounds at the interface volume: scroll windows their
// open and close sounds, buttons, check boxes and scroll bars the click.
#include "engine/sound/SoundStartup.h"
#include "tests/engine/sound/SoundFrameworkFixture.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/ScrollWindow.h"
#include "ui/widgets/SpriteButton.h"
#include "ui/widgets/SpriteScrollBar.h"
#include "ui/widgets/WidgetArt.h"

#include <functional>

namespace {

using namespace Main;
using SoundFrameworkTesting::TTestStream;

class WidgetSounds : public GameWidgetTest {
protected:
    WidgetSounds() {
        DSFramework = std::make_unique<DSFrame::TDSFramework>(nullptr);
        DSFramework->Init(-1, DSFrame::dsoPlayPrimary | DSFrame::dsoExclusiveLevel, 6, 2, 500,
                          44100, 16, 2);
        auto& sounds = Data2::GlobalData->InterfaceSounds;
        sounds[int(TWidgetSound::Click)] = &Click;
        sounds[int(TWidgetSound::WindowOpen)] = &Open;
        sounds[int(TWidgetSound::WindowClose)] = &Close;
        Data2::GlobalData->GameConstants[Data2::gcInterfaceVolume] = 60;
    }
    ~WidgetSounds() override { DSFramework.reset(); }

    // The one sound playing, or null; then silence again.
    const Audio::TAudioStream* TakePlaying() {
        const Audio::TAudioStream* playing = nullptr;
        int count = 0;
        for (int track = 0; track < DSFramework->TrackCount(); ++track) {
            const DSFrame::TTrackRecord& record = DSFramework->Track(track);
            if (record.State.load() & DSFrame::tsPlaying) {
                playing = record.Stream.get();
                EXPECT_EQ(record.Volume, 60); // the interface volume, 60% of the default 100
                ++count;
            }
        }
        EXPECT_LE(count, 1);
        DSFramework->StopAll();
        return playing;
    }

    Win32::TManualSoundOutput Output;
    Win32::TScopedSoundOutput UseOutput{Output};
    TTestStream Click{50000};
    TTestStream Open{50000};
    TTestStream Close{50000};
};

TEST_F(WidgetSounds, OpenCloseAndClick) {
    auto* scroll = new TVertScrollWindow(&Windows, 0);
    DXWin::TDXWindow* window = MakeWindow(300, 0, 300, 300);
    auto* sprite = new TSpriteButton(window, window);
    sprite->SetBoundsRect({10, 10, 50, 50});
    auto* menu = new TMenuButton(window, window);
    menu->SetBoundsRect({10, 60, 110, 90});
    auto* check = new TMenuCheckBox(window, window);
    check->SetBoundsRect({10, 100, 110, 120});
    auto* bar = new TSpriteScrollBar(window, DXWin::sbVertical, 16, 20);
    bar->SetBoundsRect({200, 10, 216, 200});
    bar->SetRange(0, 10);
    const struct {
        const char* Action;
        std::function<void()> Do;
        const Audio::TAudioStream* Sound;
    } cases[] = {
        {"showing a scroll", [&] { scroll->Show(); }, &Open},
        {"showing it again", [&] { scroll->Show(); }, nullptr},
        {"hiding it", [&] { scroll->Hide(); }, &Close},
        {"hiding it while it rolls up", [&] { scroll->Hide(); }, nullptr},
        {"a sprite button", [&] { ClickAt(320, 20); }, &Click},
        {"a menu button", [&] { ClickAt(320, 70); }, &Click},
        {"a menu check box", [&] { ClickAt(320, 110); }, &Click},
        {"a scroll bar arrow", [&] { ClickAt(508, 15); }, &Click},
        {"the bare track", [&] { ClickAt(508, 150); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Action);
        c.Do();
        EXPECT_EQ(TakePlaying(), c.Sound);
    }
}

} // namespace
