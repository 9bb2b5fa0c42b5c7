#include "control_twins.h"

#include "clickable_picture.h"
#include "form1.h"
#include "view/picture_surface.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace norrik {
namespace {

// Keeps the twin enabled exactly while the hidden control is: the handlers enable and disable
// the hidden controls (clock source, a capture running), and the twin must not act when they
// would not.
class EnabledFollower : public QObject {
public:
    EnabledFollower(QWidget* hidden, QWidget* twin) : QObject(twin), twin_(twin) {
        twin->setEnabled(hidden->isEnabled());
        hidden->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            twin_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

private:
    QWidget* twin_;
};

void FollowEnabled(QWidget* hidden, QWidget* twin) {
    new EnabledFollower(hidden, twin);
}

} // namespace

QComboBox* TwinList(QComboBox* hidden, QWidget* parent) {
    auto* twin = new QComboBox(parent);
    // One list of entries for both: clearing or filling the hidden list fills this one.
    twin->setModel(hidden->model());
    twin->setToolTip(hidden->toolTip());
    twin->setCurrentIndex(hidden->currentIndex());
    const auto follow = [hidden, twin] {
        const QSignalBlocker quiet(twin);
        twin->setCurrentIndex(hidden->currentIndex());
    };
    // A selection from code blocks the hidden list's index signal, then reports the choice.
    QObject::connect(hidden, &QComboBox::currentIndexChanged, twin, follow);
    QObject::connect(hidden, &QComboBox::activated, twin, follow);
    QObject::connect(twin, &QComboBox::activated, hidden,
                     [hidden](int index) { Form1::SelectEntry(hidden, index); });
    FollowEnabled(hidden, twin);
    return twin;
}

QPushButton* TwinButton(QPushButton* hidden, QWidget* parent) {
    auto* twin = new QPushButton(hidden->text(), parent);
    twin->setToolTip(hidden->toolTip());
    QObject::connect(twin, &QPushButton::clicked, hidden, [hidden] { hidden->click(); });
    FollowEnabled(hidden, twin);
    return twin;
}

QRadioButton* TwinOption(QRadioButton* hidden, QWidget* parent) {
    auto* twin = new QRadioButton(hidden->text(), parent);
    twin->setToolTip(hidden->toolTip());
    twin->setChecked(hidden->isChecked());
    QObject::connect(hidden, &QRadioButton::toggled, twin, [twin](bool on) {
        if (on)
            twin->setChecked(true);
    });
    QObject::connect(twin, &QRadioButton::clicked, hidden, [hidden] { hidden->click(); });
    FollowEnabled(hidden, twin);
    return twin;
}

ClickablePicture* TwinPicture(ClickablePicture* hidden, QWidget* parent) {
    auto* twin = new ClickablePicture(parent);
    twin->setToolTip(hidden->toolTip());
    twin->setAutoFillBackground(hidden->autoFillBackground());
    twin->setPalette(hidden->palette());
    twin->setAlignment(hidden->alignment());
    const auto follow = [hidden, twin] {
        if (hidden->pixmap().isNull())
            twin->setText(hidden->text());
        else
            twin->setPixmap(hidden->pixmap());
    };
    follow();
    hidden->onChange = follow;
    twin->onClick = [hidden] {
        if (hidden->onClick)
            hidden->onClick();
    };
    FollowEnabled(hidden, twin);
    return twin;
}

QLineEdit* TwinBox(QLineEdit* hidden, QWidget* parent) {
    auto* twin = new QLineEdit(hidden->text(), parent);
    twin->setReadOnly(true);
    QObject::connect(hidden, &QLineEdit::textChanged, twin, &QLineEdit::setText);
    return twin;
}

SurfaceTwin::SurfaceTwin(const PictureSurface* hidden, QWidget* parent)
    : QWidget(parent), hidden_(hidden) {
    setFixedSize(hidden->size());
    setToolTip(hidden->toolTip());
}

void SurfaceTwin::Refresh() {
    setToolTip(hidden_->toolTip());
    update();
}

void SurfaceTwin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), hidden_->Picture());
}

} // namespace norrik
