// Frames that reach the screen while the presentation window changes slides, on a real X display.
// The window is the player's own, with its design values and a folder of screen-sized photos, filling
// the screen; the slide show steps its transitions on its own timer. A second connection to the X
// server asks for a damage report on the window and takes a fresh one after each: the server sends one
// notice, with its own time stamp, each time the window's pixels change on the screen, so each notice is
// one frame presented, whatever the painting did. Reported per animation (and for the player's own set,
// argument -1): frames presented per second during a transition and the longest gap between two frames.
// Run on an X display of the size to measure, with QT_QPA_PLATFORM=xcb.

#include "bench/bench_main.h"
#include "player/presentation_form.h"
#include "player/settings_form.h"
#include "slideshow/slide_show.h"
#include "testing/application.h"
#include "testing/pictures.h"
#include "widgets/directory_edit.h"
#include "widgets/spin_edit.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace lanterna {
namespace {

// Server time stamps (ms) of the changes of one window's pixels on the screen.
class TDamageLog {
public:
    explicit TDamageLog(xcb_window_t window) : FConnection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(FConnection))
            return;
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(FConnection, &xcb_damage_id);
        if (!ext || !ext->present)
            return;
        FEventBase = ext->first_event;
        free(xcb_damage_query_version_reply(FConnection, xcb_damage_query_version(FConnection, 1, 1),
                                            nullptr));
        FDamage = xcb_generate_id(FConnection);
        xcb_damage_create(FConnection, FDamage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(FConnection);
        FReady = true;
    }
    ~TDamageLog() {
        if (FReady)
            xcb_damage_destroy(FConnection, FDamage);
        xcb_disconnect(FConnection);
    }
    TDamageLog(const TDamageLog&) = delete;
    TDamageLog& operator=(const TDamageLog&) = delete;

    bool Ready() const { return FReady; }
    // Takes the notices that have arrived; each is answered by clearing the damage, so that the next
    // change of the window sends the next notice.
    void Read() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(FConnection)) {
            if ((event->response_type & 0x7f) == FEventBase + XCB_DAMAGE_NOTIFY) {
                FTimes.push_back(reinterpret_cast<xcb_damage_notify_event_t*>(event)->timestamp);
                xcb_damage_subtract(FConnection, FDamage, XCB_NONE, XCB_NONE);
                xcb_flush(FConnection);
            }
            free(event);
        }
    }
    // Waits for what the server still has to say about the changes made so far.
    void Settle() {
        free(xcb_get_input_focus_reply(FConnection, xcb_get_input_focus(FConnection), nullptr));
        Read();
    }
    std::vector<xcb_timestamp_t> Take() { return std::exchange(FTimes, {}); }

private:
    xcb_connection_t* FConnection;
    xcb_damage_damage_t FDamage = 0;
    std::uint8_t FEventBase = 0;
    bool FReady = false;
    std::vector<xcb_timestamp_t> FTimes;
};

// The presentation window over the whole screen with five photos of the screen's size: more than the
// slide show keeps scaled, so that every slide change meets a picture drawn for the first time, as in a
// folder of many photos.
class TPresentation {
public:
    TPresentation() : FSettings(FWindows) {
        FWindows.Form2 = &FForm;
        FWindows.Form3 = &FSettings;
        FForm.Settings = [this] { return FSettings.PresentationSettings(); };
        const QSize size = QGuiApplication::primaryScreen()->size();
        for (int i = 0; i < 5; ++i)
            testing::PhotoLike(size.width(), size.height(), i)
                .save(FFolder.filePath(QStringLiteral("%1.bmp").arg(i)));
        FSettings.SlideDirectory->SetText(FFolder.path());
        FSettings.RotateInterval->SetValue(3600);
        FForm.setGeometry(QRect(QPoint(0, 0), size));
        FForm.show();
        FForm.NactiSlideButClick();
        Show().SetRotation(false);
        testing::WaitFor([this] { return !Show().Loading(); }, 120000);
        FPlayerAnimations = Show().Animations();
        FDamage = std::make_unique<TDamageLog>(xcb_window_t(FForm.winId()));
    }
    TSlideShow& Show() { return *FForm.SlideShow; }
    TDamageLog& Damage() { return *FDamage; }

    // One slide change with `effect` (-1: the player's own set); the server times of its frames. The
    // slide stands first until the loader and the copies made ahead are done, as it stands for the
    // rotation's interval in the player, so that one change does not pay for the work of the last.
    std::vector<xcb_timestamp_t> Transition(int effect) {
        testing::WaitFor([this] { return !Show().Loading(); }, 20000);
        Show().FinishScaledPictures();
        Show().SetAnimations(effect < 0 ? FPlayerAnimations
                                        : TSlideShowAnimations{static_cast<TSlideShowAnimation>(effect)});
        FDamage->Settle();
        FDamage->Take();
        Show().Next();
        QDeadlineTimer deadline(20000);
        while (Show().Transition().Running() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            FDamage->Read();
        }
        QCoreApplication::processEvents();
        FDamage->Settle();
        return FDamage->Take();
    }

private:
    QTemporaryDir FFolder;
    player::Windows FWindows;
    player::TForm3 FSettings;
    player::TForm2 FForm;
    TSlideShowAnimations FPlayerAnimations;
    std::unique_ptr<TDamageLog> FDamage;
};

void PresentedFrames(benchmark::State& state) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        state.SkipWithError("needs an X display and QT_QPA_PLATFORM=xcb");
        return;
    }
    static std::unique_ptr<TPresentation> kept;
    if (!kept) {
        kept = std::make_unique<TPresentation>();
        bench::ReleaseBeforeExit([] { kept.reset(); });
    }
    TPresentation& presentation = *kept;
    if (!presentation.Damage().Ready()) {
        state.SkipWithError("the X server has no damage extension");
        return;
    }
    double frames = 0, seconds = 0, longestGap = 0;
    for (auto _ : state) {
        const std::vector<xcb_timestamp_t> times = presentation.Transition(int(state.range(0)));
        if (times.size() < 2)
            continue;
        const double length = (times.back() - times.front()) / 1000.0;
        for (std::size_t i = 1; i < times.size(); ++i)
            longestGap = std::max(longestGap, double(times[i] - times[i - 1]));
        frames += double(times.size() - 1);
        seconds += length;
        state.SetIterationTime(length);
    }
    const QSize size = QGuiApplication::primaryScreen()->size();
    state.counters["fps"] = seconds > 0 ? frames / seconds : 0;
    state.counters["longest_gap_ms"] = longestGap;
    state.SetLabel(std::to_string(size.width()) + "x" + std::to_string(size.height()));
}

BENCHMARK(PresentedFrames)->DenseRange(-1, 27)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lanterna
