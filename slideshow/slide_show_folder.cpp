// Slides from a folder: every file that a mask matches, in the directory's own order.
#include "slideshow/slide_show.h"

#include "platform/dir_search.h"

#include <QFileInfo>

namespace lanterna {

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
        TSlideShowItem* item = FItems->Add();
        item->FLocation = path;
        item->FKind = AKind;
        if (CaptionLocation)
            item->FText = path;
        if (LocationThumbHint)
            item->FHint = path;
        if (DescriptionLocation)
            item->FDescription = path;
    }
    if (FUpdateCount == 0)
        StartThread();
}

} // namespace lanterna
