// The three persisted values, kept as text in the per-user settings store under the application
// name "plinketktla", section "Startup".
#pragma once

#include <QString>

namespace norrik {

// The stored text of a key, or `fallback` when the key is absent.
QString ReadSetting(const QString& key, const QString& fallback);

void WriteSetting(const QString& key, const QString& text);

} // namespace norrik
