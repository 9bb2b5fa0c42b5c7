// Records the order in which the window reaches the library's capture and discovery exports,
// so that tests can show what reached the library while a capture was being stopped.
#pragma once

#include "podcore_api.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace norrik {

struct CallLog {
    static CallLog& Instance() {
        static CallLog log;
        return log;
    }

    // Wraps the bound exports that matter here; `Podcore()` must be bound first.
    void Install() {
        calls.clear();
        real = Podcore();
        Podcore().StartCapture = [](uint32_t rate, uint32_t mode, const uint32_t* steps,
                                    int32_t count, const uint32_t* buffer, uint32_t length,
                                    uint32_t post) {
            const int32_t result =
                Instance().real.StartCapture(rate, mode, steps, count, buffer, length, post);
            Instance().calls
                << QString("StartCapture %1 %2 %3 -> %4").arg(rate).arg(mode).arg(post).arg(result);
            return result;
        };
        Podcore().StopCapture = [] {
            Instance().calls << "StopCapture";
            const int32_t result = Instance().real.StopCapture();
            Instance().calls << "StopCapture returned";
            return result;
        };
        Podcore().NewEnumeratePods = [](uint32_t* ids) {
            Instance().calls << "NewEnumeratePods";
            return Instance().real.NewEnumeratePods(ids);
        };
        Podcore().DemoData = [] {
            Instance().calls << "DemoData";
            return Instance().real.DemoData();
        };
    }

    void Mark(const QString& event) { calls << event; }

    int IndexOf(const QString& call, int from = 0) const { return calls.indexOf(call, from); }

    // The calls from `first` up to (not including) `last` that start with `prefix`.
    int CountBetween(const QString& prefix, int first, int last) const {
        int count = 0;
        for (int i = std::max(first, 0); i < last && i < calls.size(); ++i)
            count += calls[i].startsWith(prefix) ? 1 : 0;
        return count;
    }

    int Count(const QString& prefix) const { return CountBetween(prefix, 0, int(calls.size())); }

    QStringList calls;
    PodcoreApi real;
};

// Saves a picture of the window under $NORRIK_SHOT_DIR when it is set, for checking by eye.
inline void SaveShot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("NORRIK_SHOT_DIR");
    if (!folder.isEmpty())
        window.grab().save(folder + "/" + name + ".png");
}

} // namespace norrik
