#pragma once
// Saving a file whole: what is written goes to a temporary file beside the target, which replaces the target only
// once everything was written, so that a failed save (a full disk, a write refused) never cuts an earlier file.

#include <QString>

#include <functional>

class QIODevice;

namespace trelmo {

// Replaces the file at path with what write puts into the device it is handed. When write returns false or any
// write fails, the earlier file stays as it was and nothing is left behind; the result is then false, with the
// system's reason in *reason when given.
bool SaveFileWhole(const QString& path, const std::function<bool(QIODevice&)>& write, QString* reason = nullptr);

} // namespace trelmo
