#include "keys_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "options_dialog.h"

namespace {

// The key names are aligned by runs of spaces, as the lines were always
// written; a fixed-pitch font keeps the columns straight.
const char* const kPlayKeys[] = {
    "Acción a la izquierda                           H  ",
    "Acción al centro                                  J ",
    "Acción a la derecha                            K  ",
    "Avanzar                                               Barra Espaceadora  ",
    "Consultar Balas                                    F",
    "Dónde estoy: los lados, las balas y las vidas      D",
    "Oír otra vez lo último que se dijo                 O",
    "Siguiente nivel, después de ganar                  N",
    "Salir: presionar dos veces                       Esc",
};
const char* const kOptionKeys[] = {
    "Activar/Desactivar musica                  Q  ",
    "Activar/Desactivar Balas inifinitas       W  ",
    "Activar/Desactivar ver mapa               E  ",
    "Activar/Desactivar mouse                   R  ",
};

template <size_t N>
QGroupBox* keyGroup(const QString& title, const char* const (&lines)[N], QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    group->setAccessibleName(title);
    auto* layout = new QVBoxLayout(group);
    for (const char* line : lines) {
        const QString text = QString::fromUtf8(line);
        auto* label = new QLabel(text, group);
        label->setAccessibleName(text);
        label->setFocusPolicy(Qt::TabFocus);
        layout->addWidget(label);
    }
    return group;
}

}  // namespace

KeysWindow::KeysWindow(QWidget* owner, InputState& input) : QDialog(owner), input_(input)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Teclas"));
    setAccessibleName(QStringLiteral("Teclas"));
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    setFont(fixed);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keyGroup(QStringLiteral("Teclas para jugar"), kPlayKeys, this));
    layout->addWidget(keyGroup(QStringLiteral("Teclas opciones"), kOptionKeys, this));
}

void KeysWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void KeysWindow::closeEvent(QCloseEvent* event)
{
    if (!closed_) {
        closed_ = true;
        dialogClosedByCloseBox(input_);
        emit closedByPlayer();
    }
    event->accept();
}
