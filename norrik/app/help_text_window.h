// The help text in a window of the program's own, for desktops without a viewer for it.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace norrik {

class HelpTextWindow : public QWidget {
public:
    // Shows the text of the file at `path`, saying why it is shown here.
    HelpTextWindow(QWidget* owner, const QString& path);

    QPlainTextEdit* Text = nullptr;
};

} // namespace norrik
