#include "file_work.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <thread>

namespace norrik {
namespace {

constexpr int kSteps = 1000;
constexpr int kPollMilliseconds = 50;

// A file half written cannot be abandoned: the dialog has no way to be closed by the user.
class FileProgressDialog : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

bool RunFileWork(QWidget* parent, const QString& label, FileProgress progress,
                 const FileWork& work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (progress == FileProgress::None) {
        const bool ok = work({});
        QApplication::restoreOverrideCursor();
        return ok;
    }

    FileProgressDialog dialog(label, QString(), 0, progress == FileProgress::Moving ? 0 : kSteps,
                              parent);
    dialog.setWindowTitle("Tarnwick Logic Analyzer");
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setCancelButton(nullptr);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);

    std::atomic<int> done{0};
    std::atomic<bool> finished{false};
    bool ok = false;
    std::thread worker([&] {
        ok = work([&done](double share) { done = int(share * kSteps); });
        finished = true;
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (progress == FileProgress::Measured)
            dialog.setValue(std::min(done.load(), kSteps - 1));
        if (finished)
            dialog.done(QDialog::Accepted);
    });
    poll.start(kPollMilliseconds);
    dialog.exec();
    worker.join();
    QApplication::restoreOverrideCursor();
    return ok;
}

} // namespace norrik
