#include "transfer/internal/transfer_steps.h"

#include "transfer/url_functions.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace lanterna {

QString TargetOf(const TFileTransferItem& item, const QString& name) {
    return TargetPath(item.TargetDir(), item.TargetFilename().isEmpty() ? name : item.TargetFilename());
}

bool TakeByDate(TTransferContext& context, TTransferWork& work, double date, TDatedSide side,
                const QString& name, const std::function<void()>& letGo) {
    const double before = work.Date;
    work.Date = date;
    if (context.ChecksDates())
        return context.AllowDate(date);
    if ((date > before) == (side == dsSource))
        return true;
    work.NoNewFile = true;
    if (letGo)
        letGo();
    context.NoNewFileFound(name, before, date);
    return false;
}

TOpenedTarget OpenTarget(TTransferContext& context, const TTargetRequest& request) {
    TOpenedTarget target{request.Path, nullptr, std::nullopt, {}};
    if (QFileInfo::exists(target.Path)) {
        if (!context.AllowOverwrite(target.Path))
            return target;
        if (context.Settings().CreateUniqueFilenames)
            target.Path = UniqueName(target.Path,
                                     [](const QString& candidate) { return QFileInfo::exists(candidate); });
    }
    const QString folder = QFileInfo(target.Path).absolutePath();
    QDir().mkpath(folder);
    target.Room = DiskRoom(folder);
    if (request.Known > target.Room.Room()) {
        target.Error = NoRoomError(target.Path, request.Known, target.Room.Free, target.Room.Margin);
        return target;
    }
    auto file = std::make_unique<TTargetFile>(target.Path,
                                              std::min(context.Settings().MaxFileSize, target.Room.Room()));
    if (!request.SHA256.isEmpty())
        file->Expect(request.ExactSize, request.SHA256);
    if (!file->Open()) {
        target.Error = EngineError(request.CreateError, target.Path);
        return target;
    }
    target.File = std::move(file);
    return target;
}

} // namespace lanterna
