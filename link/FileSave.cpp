#include "FileSave.h"

#include <QSaveFile>

namespace trelmo {

bool SaveFileWhole(const QString& path, const std::function<bool(QIODevice&)>& write, QString* reason)
{
    QSaveFile file(path);
    // commit() renames only when every write went through; the destructor discards an uncommitted file.
    const bool saved = file.open(QIODevice::WriteOnly) && write(file) && file.commit();
    if (!saved && reason)
        *reason = file.errorString();
    return saved;
}

} // namespace trelmo
