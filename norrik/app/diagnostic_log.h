// The hidden diagnostic log: a picture surface outside the visible window that startup and the
// buffer code print status lines on. Nobody reads it; tests look at its lines.
#pragma once

#include <QStringList>
#include <QWidget>

namespace norrik {

class DiagnosticLog : public QWidget {
public:
    using QWidget::QWidget;

    void Print(const QString& line);
    const QStringList& Lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList lines_;
};

} // namespace norrik
