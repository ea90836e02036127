// Slides from a folder: every file that a mask matches, in the directory's own order; and the
// slides of a running show brought into line with the folder's files.
#include "slideshow/slide_show.h"

#include "drawing/gp_picture.h"
#include "platform/dir_search.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace lanterna {

void TSlideShow::InsertFolderItem(int index, const QString& path, TSlideShowItemKind AKind,
                                  bool DescriptionLocation, bool CaptionLocation, bool LocationThumbHint) {
    FItems->Insert(index)->TakeFile(path, AKind, DescriptionLocation, CaptionLocation, LocationThumbHint);
}

void TSlideShow::AddItemsFromFolder(const QString& AFolder, TSlideShowItemKind AKind,
                                    bool DescriptionLocation, bool CaptionLocation, bool LocationThumbHint) {
    if (FUpdateCount == 0)
        StopThread();
    const QString folder = MaskFolder(AFolder);
    for (const TSearchRec& entry : FindFiles(AFolder)) {
        const QString path = folder + entry.Name;
        // Folders (the two dot entries among them) and files gone since the search are no slides.
        if (!QFileInfo(path).isFile())
            continue;
        InsertFolderItem(FItems->Count(), path, AKind, DescriptionLocation, CaptionLocation,
                         LocationThumbHint);
    }
    if (FUpdateCount == 0)
        StartThread();
}

void TSlideShow::SyncItemsWithFiles(const QStringList& files, const QStringList& changed,
                                    TSlideShowItemKind AKind, bool DescriptionLocation, bool CaptionLocation,
                                    bool LocationThumbHint) {
    const QSet<QString> rereads(changed.begin(), changed.end());
    const auto needsReading = [&](const TSlideShowItem* item) {
        return item->SourceLost() || rereads.contains(item->Location());
    };
    bool same = FItems->Count() == files.size();
    for (int i = 0; same && i < files.size(); ++i)
        same = FItems->Items(i)->Location() == files[i] && !needsReading(FItems->Items(i));
    if (same)
        return;

    // The first slide of each file stays; the others leave.
    QHash<QString, TSlideShowItem*> kept;
    for (const QString& file : files)
        kept.insert(file, nullptr);
    for (int i = 0; i < FItems->Count(); ++i) {
        TSlideShowItem* item = FItems->Items(i);
        if (auto found = kept.find(item->Location()); found != kept.end() && !found.value())
            found.value() = item;
    }
    // Which of the slides in use stay is decided before any slide is deleted: a new slide may be
    // given the memory of one that has left, so a pointer kept over the deletions names nothing.
    const auto staying = [&](int index) {
        TSlideShowItem* slide = ValidIndex(index) ? FItems->Items(index) : nullptr;
        return slide && kept.value(slide->Location()) == slide ? slide : nullptr;
    };
    TSlideShowItem* const selected = staying(FItemIndex);
    TSlideShowItem* const current = staying(FTransition.CurrentItemIndex());
    TSlideShowItem* const next = staying(FTransition.NextItemIndex());
    TSlideShowItem* const previous = staying(FTransition.PreviousItemIndex());
    const bool selectionStays = selected || !ValidIndex(FItemIndex);
    const int selectedBefore = FItemIndex;

    BeginUpdate();
    for (int i = FItems->Count() - 1; i >= 0; --i) {
        const TSlideShowItem* slide = FItems->Items(i);
        if (kept.value(slide->Location()) != slide)
            FItems->Delete(i);
    }
    for (int i = 0; i < files.size(); ++i) {
        TSlideShowItem* slide = kept.value(files[i]);
        if (!slide) {
            InsertFolderItem(i, files[i], AKind, DescriptionLocation, CaptionLocation, LocationThumbHint);
            continue;
        }
        FItems->Move(FItems->IndexOf(slide), i);
        // The file has changed, or is back: its picture is read again.
        if (needsReading(slide))
            slide->Image()->Assign(nullptr);
    }
    if (selectionStays)
        FItemIndex = selected ? FItems->IndexOf(selected) : FItemIndex;
    else
        FItemIndex = std::clamp(selectedBefore, 0, std::max(FItems->Count() - 1, 0));
    // A slide of the running change that has left is stood in for by the selected one.
    const auto indexOf = [this](TSlideShowItem* slide) {
        const int index = slide ? FItems->IndexOf(slide) : -1;
        return index >= 0 ? index : FItemIndex;
    };
    FTransition.Renumber(indexOf(current), indexOf(next), indexOf(previous));
    EndUpdate();
    if (!selectionStays)
        FinishTransition();
}

} // namespace lanterna
