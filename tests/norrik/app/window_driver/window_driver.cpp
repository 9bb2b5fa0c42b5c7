// A Qt input plugin that the ending tests load into the real norrik program
// (QT_QPA_GENERIC_PLUGINS=norrikdriver:<scene>): it works the window through real Qt events
// until the scene stands, says so on standard output ("driver: <what>"), and ends it as asked.
//
// Scenes: capture-close, capture-signal, dialog-signal, decoder-close, save-signal.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGenericPlugin>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <functional>

namespace {

void Say(const char* what) {
    std::printf("driver: %s\n", what);
    std::fflush(stdout);
}

QWidget* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == "Tarnwick Logic Analyzer")
            return widget;
    }
    return nullptr;
}

template <typename Widget> Widget* Find(QWidget* within, const QString& text) {
    for (Widget* widget : within->findChildren<Widget*>()) {
        if (widget->text() == text && widget->isVisible())
            return widget;
    }
    return nullptr;
}

QLabel* Named(QWidget* within, const char* name) {
    return within->findChild<QLabel*>(name);
}

void Trigger(QWidget* window, const char* action) {
    // Through the event loop, so that a dialog the action opens does not hold up the driver.
    QTimer::singleShot(0, window,
                       [window, action] { window->findChild<QAction*>(action)->trigger(); });
}

class WindowDriver : public QObject {
public:
    explicit WindowDriver(const QString& scene) : scene_(scene) {
        // Polls until each condition holds; the scenes never take long on a working program.
        poll_ = new QTimer(this);
        connect(poll_, &QTimer::timeout, this, [this] { Poll(); });
        poll_->start(20);
        QTimer::singleShot(30000, this, [] { Say("failed: the scene never stood"); });
    }

private:
    // Steps of a scene: each returns true when done, and the next one starts.
    using Step = std::function<bool()>;

    void Poll() {
        if (steps_.empty() && !started_)
            Plan();
        while (!steps_.empty() && steps_.front()())
            steps_.erase(steps_.begin());
    }

    void Plan() {
        window_ = MainWindow();
        if (window_ == nullptr || Find<QPushButton>(window_, "Acquire") == nullptr)
            return;
        started_ = true;
        if (scene_.startsWith("capture") || scene_.startsWith("dialog"))
            PlanCapture();
        if (scene_ == "capture-close")
            steps_.push_back([this] { return CloseMainWindow(); });
        if (scene_ == "dialog-signal") {
            steps_.push_back([this] {
                Trigger(window_, "NorrikAbout");
                return true;
            });
            steps_.push_back([] {
                if (!qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    return false;
                Say("dialog open");
                return true;
            });
        }
        if (scene_ == "decoder-close")
            PlanDecoder();
        if (scene_ == "save-signal")
            PlanSave();
    }

    // A trigger on VDD low, which the virtual pod holds high: the capture streams on.
    void PlanCapture() {
        steps_.push_back([this] {
            QLabel* vdd = Named(window_, "Trig_20");
            QTest::mouseClick(vdd, Qt::LeftButton);
            QTest::mouseClick(vdd, Qt::LeftButton);
            QTest::mouseClick(Find<QPushButton>(window_, "Acquire"), Qt::LeftButton);
            return true;
        });
        steps_.push_back([this] {
            if (Find<QLabel>(window_, "Waiting for Trigger") == nullptr)
                return false;
            if (++streamingPolls_ < 25) // half a second of streaming
                return false;
            Say("capture streaming");
            return true;
        });
    }

    void PlanDecoder() {
        steps_.push_back([this] {
            window_->findChild<QAction*>("MenuSPI")->trigger();
            return true;
        });
        steps_.push_back([this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->isVisible() && widget->windowTitle() == "SPI Decoder") {
                    decoder_ = widget;
                    // Looked at on every pass of the run's own event processing.
                    poll_->setInterval(0);
                    QTest::mouseClick(Find<QPushButton>(widget, "SPI Decode"), Qt::LeftButton);
                    return true;
                }
            }
            return false;
        });
        steps_.push_back([this] {
            if (decoder_ == nullptr || Find<QLabel>(decoder_, "Processing...") == nullptr)
                return false;
            Say("decoder running");
            return CloseMainWindow();
        });
    }

    // The end is asked for while the save dialog is being accepted: the signal waits in its
    // pipe while the file is written.
    void PlanSave() {
        steps_.push_back([this] {
            Trigger(window_, "SaveAsMenu");
            return true;
        });
        steps_.push_back([] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return false;
            dialog->selectFile(QDir::current().filePath("saved.nrk"));
            Say("saving");
            std::raise(SIGTERM);
            QTest::keyClick(dialog, Qt::Key_Return); // the dialog's Save button
            return true;
        });
    }

    // As a window manager's close button: a close event through the platform window.
    bool CloseMainWindow() {
        Say("closing the main window");
        window_->windowHandle()->close();
        return true;
    }

    QString scene_;
    QTimer* poll_ = nullptr;
    QWidget* window_ = nullptr;
    QWidget* decoder_ = nullptr;
    bool started_ = false;
    int streamingPolls_ = 0;
    std::vector<Step> steps_;
};

class WindowDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "window_driver.json")

public:
    QObject* create(const QString& key, const QString& scene) override {
        if (key.compare("norrikdriver", Qt::CaseInsensitive) != 0)
            return nullptr;
        return new WindowDriver(scene);
    }
};

} // namespace

#include "window_driver.moc"
