// Reading and writing a capture file with a busy cursor and, for a large file, a modal progress
// dialog. The work runs on a worker thread while the dialog keeps the window painted and its
// input blocked; the window makes no other library call meanwhile (its pod watch waits, see
// FileWorkRunning), so the library's single-call file exports never meet another call.
#pragma once

#include "interchange/foreign_format.h"

#include <QString>

#include <functional>

class QWidget;

namespace norrik {

// Files of at least this many bytes get the progress dialog.
constexpr qint64 kLargeFileBytes = qint64{16} << 20;

enum class FileProgress {
    None,     // a small file: the work runs on the window's thread under the busy cursor
    Moving,   // the work reports no progress: a bar that moves while it runs
    Measured, // the work reports its share done
};

using FileWork = std::function<bool(const interchange::ProgressHook& progress)>;

// Runs the work and returns its result. `label` says what is being done.
bool RunFileWork(QWidget* parent, const QString& label, FileProgress progress,
                 const FileWork& work);

} // namespace norrik
