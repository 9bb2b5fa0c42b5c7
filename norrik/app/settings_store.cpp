#include "settings_store.h"

#include <QSettings>

#include <memory>

namespace norrik {
namespace {

// An INI file under the user's configuration folder: ~/.config/plinketktla/plinketktla.ini.
std::unique_ptr<QSettings> Store() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "plinketktla",
                                       "plinketktla");
}

QString Path(const QString& key) {
    return "Startup/" + key;
}

} // namespace

QString ReadSetting(const QString& key, const QString& fallback) {
    const QVariant value = Store()->value(Path(key));
    return value.isValid() ? value.toString() : fallback;
}

void WriteSetting(const QString& key, const QString& text) {
    const auto store = Store();
    store->setValue(Path(key), text);
    store->sync();
}

} // namespace norrik
