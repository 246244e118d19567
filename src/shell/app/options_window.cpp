#include "options_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "input_state.h"
#include "options_dialog.h"
#include "play.h"

namespace {

// Check boxes and buttons report this id to the dialog logic for a click
// that is neither button.
constexpr int kBoxClick = 0;

}  // namespace

OptionsWindow::OptionsWindow(QWidget* owner, Play& play) : QDialog(owner), play_(play)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Opciones"));
    setAccessibleName(QStringLiteral("Opciones"));

    auto* group = new QGroupBox(QStringLiteral("Opciones de Juego"), this);
    group->setAccessibleName(group->title());
    auto* groupLayout = new QVBoxLayout(group);
    const OptionBoxes boxes = optionBoxesOf(play.game);
    bullets_ = addBox(group, QStringLiteral("Balas infinitas"), boxes.infiniteBullets);
    music_ = addBox(group, QStringLiteral("Música de fondo"), boxes.music);
    map_ = addBox(group, QStringLiteral("Mostrar Mapa"), boxes.showMap);
    mouse_ = addBox(group, QStringLiteral("Activar Mouse"), boxes.mouse);
    for (QCheckBox* box : {bullets_, music_, map_, mouse_})
        groupLayout->addWidget(box);

    auto* start = new QPushButton(QStringLiteral("Empezar"), this);
    auto* resume = new QPushButton(QStringLiteral("Continuar"), this);
    start->setAccessibleName(start->text());
    resume->setAccessibleName(resume->text());
    // Enter is "Continuar", even with "Empezar" focused: in the game Enter
    // writes the level's report before the restart, and "Empezar" writes
    // none, so a player used to Enter would lose the report. "Empezar"
    // stays a click or Space away.
    resume->setDefault(true);
    start->setAutoDefault(false);
    connect(start, &QPushButton::clicked, this, [this] { command(DialogButton::Start); });
    connect(resume, &QPushButton::clicked, this, [this] { command(DialogButton::Continue); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(start);
    layout->addWidget(resume);
    bullets_->setFocus(Qt::OtherFocusReason);
}

QCheckBox* OptionsWindow::addBox(QWidget* group, const QString& text, bool checked)
{
    auto* box = new QCheckBox(text, group);
    box->setAccessibleName(text);
    box->setChecked(checked);
    // clicked, not toggled: a box set by an option key is not a click.
    connect(box, &QCheckBox::clicked, this, [this] { command(kBoxClick); });
    return box;
}

QCheckBox* OptionsWindow::boxWidget(int boxId) const
{
    switch (boxId) {
    case OptionBox::ShowMap: return map_;
    case OptionBox::Mouse: return mouse_;
    case OptionBox::Music: return music_;
    case OptionBox::InfiniteBullets: return bullets_;
    default: return nullptr;
    }
}

void OptionsWindow::setBox(int boxId, bool checked)
{
    if (QCheckBox* box = boxWidget(boxId))
        box->setChecked(checked);
}

bool OptionsWindow::box(int boxId) const
{
    const QCheckBox* box = boxWidget(boxId);
    return box != nullptr && box->isChecked();
}

void OptionsWindow::command(int control)
{
    const OptionBoxes boxes{music_->isChecked(), bullets_->isChecked(), map_->isChecked(),
                            mouse_->isChecked()};
    if (optionsDialogCommand(control, boxes, play_))
        finish();
}

void OptionsWindow::finish()
{
    finished_ = true;
    close();
    emit closedByPlayer();
}

void OptionsWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc is the cancel button of the dialog, which is "Continuar".
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        command(DialogButton::Continue);
        return;
    }
    QDialog::keyPressEvent(event);
}

void OptionsWindow::closeEvent(QCloseEvent* event)
{
    // The caption's close box: the boxes are not read again and steering
    // stays as it is.
    if (!finished_) {
        finished_ = true;
        dialogClosedByCloseBox(play_.input);
        emit closedByPlayer();
    }
    event->accept();
}
