#include "help_viewer.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace norrik {

void OpenWithDesktopViewer(QObject* owner, const QString& path, std::function<void()> noViewer) {
    const QString launcher = QStandardPaths::findExecutable("xdg-open");
    if (launcher.isEmpty()) {
        // Other desktops' launchers, as Qt knows them; false when it found none.
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            QTimer::singleShot(0, owner, std::move(noViewer));
        return;
    }
    // xdg-open exits 0 once a viewer has the file and non-zero when none could open it. While
    // it runs, a viewer is showing the file.
    auto* process = new QProcess(owner);
    QObject::connect(process, &QProcess::finished, owner,
                     [process, noViewer](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0)
                             noViewer();
                     });
    QObject::connect(process, &QProcess::errorOccurred, owner,
                     [process, noViewer](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         noViewer();
                     });
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(launcher, {path});
}

} // namespace norrik
