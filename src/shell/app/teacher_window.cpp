#include "teacher_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Ajustes del maestro");
const QString kWhen = QStringLiteral("Los cambios valen desde el pr\u00f3ximo nivel.");

// A label that names its control for sight and for the screen reader alike.
QLabel* labelFor(QWidget* control, const QString& text, const QString& name)
{
    auto* label = new QLabel(text);
    label->setBuddy(control);
    control->setAccessibleName(name);
    return label;
}

// "Aceptar" and "Cancelar", named for the screen reader, closing the dialog.
QDialogButtonBox* acceptCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    ok->setText(QStringLiteral("Aceptar"));
    ok->setAccessibleName(ok->text());
    cancel->setText(QStringLiteral("Cancelar"));
    cancel->setAccessibleName(cancel->text());
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

TeacherWindow::TeacherWindow(QWidget* owner, const TeacherSettings& current) : QDialog(owner)
{
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);
    setAccessibleDescription(kWhen);

    voice_ = new QComboBox(this);
    voice_->addItem(QStringLiteral("normal"));
    voice_->addItem(QStringLiteral("lenta"));
    voice_->setCurrentIndex(current.slowVoice ? 1 : 0);

    shift_ = new QComboBox(this);
    for (int seconds : kShiftSecondsChoices) {
        shift_->addItem(QStringLiteral("%1 segundos").arg(seconds), seconds);
        if (seconds == current.shiftSeconds)
            shift_->setCurrentIndex(shift_->count() - 1);
    }

    traps_ = new QCheckBox(QStringLiteral("&Trampas"), this);
    traps_->setAccessibleName(QStringLiteral("Trampas"));
    traps_->setChecked(current.traps);

    auto* form = new QFormLayout;
    form->addRow(labelFor(voice_, QStringLiteral("&Velocidad de la voz:"), QStringLiteral("Velocidad de la voz")),
                 voice_);
    form->addRow(labelFor(shift_, QStringLiteral("&Las criaturas cambian de lado cada:"),
                          QStringLiteral("Las criaturas cambian de lado cada")),
                 shift_);
    form->addRow(traps_);

    auto* when = new QLabel(kWhen, this);
    when->setAccessibleName(kWhen);

    QDialogButtonBox* buttons = acceptCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(when);
    layout->addWidget(buttons);
    voice_->setFocus(Qt::OtherFocusReason);
}

TeacherSettings TeacherWindow::chosen() const
{
    TeacherSettings settings;
    settings.slowVoice = voice_->currentIndex() == 1;
    settings.shiftSeconds = shift_->currentData().toInt();
    settings.traps = traps_->isChecked();
    return settings;
}
