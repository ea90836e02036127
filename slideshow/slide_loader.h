#pragma once
// The slide show's loading front: owns the loader thread, chooses which slide it builds next, keeps
// the window of decoded pictures round the selected slide, and puts the results into the slides.
// Everything here runs on the user-interface thread; the loader thread only ever sees plain jobs.

#include "slideshow/load_job.h"

#include <QObject>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lanterna {

class TImageLoaderThread;
class TSlideShow;
class TSlideShowItem;

class TSlideLoader : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSlideLoader)

public:
    // Loads the slides of `show`, reading its selection and settings when it chooses a job.
    explicit TSlideLoader(TSlideShow& show);
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
    // The largest size a picture is decoded at: the control or the largest screen, whichever is larger.
    QSize DecodeBound() const;

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
    TLoadJob MakeLoadJob(TSlideShowItem* item, int index, QSize decodeBound, bool redecode) const;
    void DrawControlToBitmap(TSlideShowItem* item, int index, QImage& bitmap) const;
    int IndexOfLoadTag(std::uint64_t tag) const;
    void ApplyBuild(TSlideShowItem* item, int index, TLoadResult& result);
    void ApplyRedecode(TSlideShowItem* item, int index, TLoadResult& result);
    void DispatchBuild(TSlideShowItem* item, int index, bool keepPicture);
    void DispatchRedecode(TSlideShowItem* item, int index);
    bool NeedsRedecode(const TSlideShowItem* item) const;
    void SourceLost(TSlideShowItem* item, int index);
    std::vector<int> DecodeWindowIndices() const;
    void DropPicturesOutsideWindow(const std::vector<int>& window);

    TSlideShow& FShow;
    std::unique_ptr<TImageLoaderThread> FThread;
    // The job the thread has in hand, by the tag of its slide; a tag of 0 when it is idle.
    struct TInFlight {
        std::uint64_t Tag = 0;
        bool Build = false;
    } FInFlight;
    int FCursor = 0;
    bool FRestartLoop = false;
    bool FScheduled = false;
};

} // namespace lanterna
