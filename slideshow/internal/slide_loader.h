#pragma once
// The slide show's loading front: owns the loader thread, chooses which slide it builds next, keeps
// the window of decoded pictures round the selected slide, and puts the results into the slides.
// Everything here runs on the user-interface thread; the loader thread only ever sees plain jobs.

#include "slideshow/internal/aspect_fit.h"
#include "slideshow/internal/load_job.h"

#include <QImage>
#include <QObject>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace lanterna {

class TImageLoaderThread;
class TSlideShowItem;
class TSlideShowItems;

// What the loader asks of the control each time it chooses a job: a plain value the control makes.
struct TLoadContext {
    int Selected = 0;
    // The control is in the middle of many changes: nothing is loaded.
    bool Updating = false;
    // A transition runs: only the slide it goes to is loaded.
    bool Animating = false;
    QSize ControlSize;
    // The rotation and the arrow keys may stand on the slide of this index.
    std::function<bool(int index)> Selectable;
    // Empty while the control shows no thumbnails: none are made then.
    QSize ThumbBox;
    TAspectRule ThumbRule;
    // Where the control draws the slides' pictures; a picture is decoded at the size it is drawn at.
    TPictureLayout PictureLayout;
    // Empty when the control has no drawing handler.
    TCustomDrawHandler CustomDraw;
    // A picture of a control shown as a slide, taken on the user-interface thread.
    std::function<QImage(QWidget* control, int index)> CaptureControl;
};

class TSlideLoader : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSlideLoader)

public:
    // Loads `items`; `context` is asked for the control's state whenever a job is chosen.
    TSlideLoader(TSlideShowItems& items, std::function<TLoadContext()> context);
    ~TSlideLoader() override;

    // Starts the loader thread (nothing when it runs) and schedules the next job.
    void Start();
    // Ends the loader thread, waiting for the job in hand (one decode at most).
    void Stop();
    bool Running() const { return FThread != nullptr; }
    // Chooses the next job soon, once per burst of calls.
    void Schedule();
    // The slides moved or changed: the next pass of the build cursor starts at the first slide.
    void Restart();
    // Slides remain to be loaded, or the loader has one in hand.
    bool Loading() const;

    // --- Events, raised on the user-interface thread with the slide's index.
    // A slide's picture data was built and its size is known.
    std::function<void(int index)> OnPictureLoaded;
    // The slide's thumbnail, after its picture.
    std::function<void(int index)> OnThumbnailLoaded;
    // A slide's picture was decoded again; nothing else of it changed.
    std::function<void(int index)> OnPictureDecoded;
    // A slide that had a picture cannot be read any more.
    std::function<void(int index)> OnSourceLost;

private:
    Q_INVOKABLE void ResultsReady();
    void LoadNext();
    // What a job does: builds a slide, decodes the picture of a built one again, or makes the thumbnail
    // of a slide built while the control showed none.
    enum class TJobKind : std::uint8_t { Build, Redecode, Thumbnail };

    // The job for one slide; `decodeBound` is empty when only its size and thumbnail are wanted.
    TLoadJob MakeLoadJob(const TLoadContext& context, TSlideShowItem* item, int index, QSize decodeBound,
                         bool redecode) const;
    int IndexOfLoadTag(std::uint64_t tag) const;
    void Apply(TJobKind kind, TSlideShowItem* item, int index, TLoadResult& result);
    void ApplyBuild(TSlideShowItem* item, int index, TLoadResult& result);
    void ApplyRedecode(TSlideShowItem* item, int index, TLoadResult& result);
    void ApplyThumbnail(TSlideShowItem* item, int index, TLoadResult& result);
    void Dispatch(TJobKind kind, TLoadJob job);
    void DispatchBuild(const TLoadContext& context, TSlideShowItem* item, int index, QSize decodeBound);
    void DispatchRedecode(const TLoadContext& context, TSlideShowItem* item, int index, QSize decodeBound);
    void DispatchThumbnail(const TLoadContext& context, TSlideShowItem* item, int index);
    void SourceLost(TSlideShowItem* item, int index);
    std::vector<int> DecodeWindowIndices(const TLoadContext& context, QSize decodeBound) const;
    void DropPicturesOutsideWindow(const std::vector<int>& window);

    TSlideShowItems& FItems;
    const std::function<TLoadContext()> FContext;
    std::unique_ptr<TImageLoaderThread> FThread;
    // The job the thread has in hand, by the tag of its slide; a tag of 0 when it is idle.
    struct TInFlight {
        std::uint64_t Tag = 0;
        TJobKind Kind = TJobKind::Build;
    } FInFlight;
    int FCursor = 0;
    bool FRestartLoop = false;
    bool FScheduled = false;
};

} // namespace lanterna
