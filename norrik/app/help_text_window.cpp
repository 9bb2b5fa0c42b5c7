#include "help_text_window.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace norrik {

HelpTextWindow::HelpTextWindow(QWidget* owner, const QString& path) : QWidget(owner, Qt::Window) {
    setObjectName("HelpText");
    setWindowTitle("Tarnwick Logic Analyzer Help");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* why = new QLabel(QString("No program on this desktop opens %1, so the help is shown "
                                   "here.")
                               .arg(QFileInfo(path).fileName()),
                           this);
    why->setWordWrap(true);
    layout->addWidget(why);

    Text = new QPlainTextEdit(this);
    Text->setReadOnly(true);
    // The help file lines its columns up with blanks.
    Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        Text->setPlainText(QString::fromUtf8(file.readAll()));
    else
        Text->setPlainText("The help file " + path + " could not be read.");
    layout->addWidget(Text);

    auto* close = new QPushButton("Close", this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    const QFontMetrics metrics(Text->font());
    resize(metrics.horizontalAdvance(QString(100, 'x')) + 40, 560);
}

} // namespace norrik
