#include "editor_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScrollArea>
#include <QSplitter>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "grid_view.h"
#include "map_codes.h"

namespace {
const char* const kHelp =
    "Flechas: mover el cursor de casilla en casilla; cada casilla se dice (fila, casilla y lo que hay).\n"
    "0 a 9, M, U, G: poner ese código en la casilla del cursor (0 pared, 1 inicio, 2 al azar, 3 pasillo,\n"
    "4 puerta al centro, 5 puerta a la izquierda, 6 puerta a la derecha, 7 salida o trampa, 8 salida,\n"
    "9 balas, M monstruo, U mutante, G super monstruo).\n"
    "A: decir lo que hay alrededor del cursor (arriba, abajo, a la izquierda, a la derecha).\n"
    "L: ir a la lista de avisos; Enter sobre un aviso lleva el cursor a su casilla.\n"
    "Ctrl+Z deshacer, Ctrl+Y rehacer. Ctrl+S guardar, Ctrl+O abrir, Ctrl+N nuevo.\n"
    "Ctrl+Más y Ctrl+Menos: acercar y alejar; Ctrl+R: mostrar solo el laberinto.\n"
    "F5: probar el mapa en el juego. F1: esta ayuda.\n"
    "Con el mouse: elegir un código en la paleta y pintar con el botón izquierdo.";

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
std::string toNative(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString severityWord(MapFinding::Severity severity)
{
    switch (severity) {
    case MapFinding::Severity::Error: return QStringLiteral("error");
    case MapFinding::Severity::Warning: return QStringLiteral("aviso");
    default: return QStringLiteral("nota");
    }
}
}  // namespace

EditorWindow::EditorWindow(std::vector<std::string> dataFolders, QString home, QWidget* parent)
    : QMainWindow(parent), dataFolders_(std::move(dataFolders)), home_(std::move(home))
{
    buildGrid();
    buildPalette();
    buildLayout();
    buildMenus();
    resize(1100, 760);
    newMap();
}

// The map's squares, whose keys and mouse edit the map and say the cursor.
void EditorWindow::buildGrid()
{
    GridView::Hooks hooks;
    hooks.strokeBegun = [this] { history_.beginStroke(); };
    hooks.strokeEnded = [this] {
        history_.endStroke();
        sayCursor();
    };
    hooks.paint = [this](int row, int col) { setCode(row, col, brush_, false); };
    hooks.codeKey = [this](int32_t code) {
        palette_->setCurrentRow(code);
        setCode(grid_->row(), grid_->col(), code, true);
    };
    hooks.cursorMoved = [this] { sayCursor(); };
    hooks.around = [this] { say(fromUtf8(surroundingsSentence(map_, grid_->row(), grid_->col()))); };
    hooks.list = [this] { findings_->setFocus(Qt::ShortcutFocusReason); };
    grid_ = new GridView(map_, hooks);
}

// The codes to paint with, one chosen at a time.
void EditorWindow::buildPalette()
{
    palette_ = new QListWidget;
    palette_->setAccessibleName(QStringLiteral("Paleta de códigos"));
    for (int32_t code = 0; code <= MapCode::Highest; ++code)
        palette_->addItem(QStringLiteral("%1  %2 (tecla %3)")
                              .arg(code)
                              .arg(fromUtf8(codeName(code)))
                              .arg(QChar(codeKey(code))));
    palette_->setCurrentRow(brush_);
    palette_->setMinimumWidth(palette_->sizeHintForColumn(0) + 2 * palette_->frameWidth() + 8);
    connect(palette_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            brush_ = row;
    });
}

// The grid in the centre over the last sentence said; beside it the palette
// and the checker's findings.
void EditorWindow::buildLayout()
{
    findings_ = new QListWidget;
    findings_->setAccessibleName(QStringLiteral("Avisos del mapa"));
    connect(findings_, &QListWidget::itemActivated, this, [this] { jumpToFinding(); });
    verdict_ = new QLabel;
    verdict_->setWordWrap(true);
    said_ = new QLabel;
    said_->setWordWrap(true);
    said_->setAccessibleName(QStringLiteral("Lo último dicho"));
    said_->setText(QStringLiteral("F1: las teclas del editor."));

    auto* scroll = new QScrollArea;
    scroll->setWidget(grid_);
    scroll->setWidgetResizable(true);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setFocusPolicy(Qt::NoFocus);

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->addWidget(new QLabel(QStringLiteral("Códigos:")));
    sideLayout->addWidget(palette_, 1);
    sideLayout->addWidget(new QLabel(QStringLiteral("Revisión:")));
    sideLayout->addWidget(verdict_);
    sideLayout->addWidget(findings_, 1);

    auto* centre = new QWidget;
    auto* centreLayout = new QVBoxLayout(centre);
    centreLayout->addWidget(scroll, 1);
    centreLayout->addWidget(said_);

    auto* split = new QSplitter;
    split->addWidget(centre);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);
}

void EditorWindow::buildMenus()
{
    auto add = [this](QMenu* menu, const QString& text, QKeySequence keys, auto slot) {
        QAction* action = menu->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Archivo"));
    add(file, QStringLiteral("Nuevo"), QKeySequence::New, [this] {
        if (mayDiscard())
            newMap();
    });
    add(file, QStringLiteral("Abrir..."), QKeySequence::Open, [this] { open(); });
    add(file, QStringLiteral("Guardar"), QKeySequence::Save, [this] { save(); });
    add(file, QStringLiteral("Guardar como..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")), [this] { saveAs(); });
    add(file, QStringLiteral("Probar en el juego"), QKeySequence(Qt::Key_F5), [this] { tryInGame(); });
    add(file, QStringLiteral("Salir"), QKeySequence(QStringLiteral("Ctrl+Q")), [this] { close(); });
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Editar"));
    add(edit, QStringLiteral("Deshacer"), QKeySequence(QStringLiteral("Ctrl+Z")), [this] { undo(false); });
    add(edit, QStringLiteral("Rehacer"), QKeySequence(QStringLiteral("Ctrl+Y")), [this] { undo(true); });
    QMenu* view = menuBar()->addMenu(QStringLiteral("&Ver"));
    add(view, QStringLiteral("Acercar"), QKeySequence::ZoomIn, [this] { grid_->setZoom(grid_->zoom() + 4); });
    add(view, QStringLiteral("Alejar"), QKeySequence::ZoomOut, [this] { grid_->setZoom(grid_->zoom() - 4); });
    QAction* crop = add(view, QStringLiteral("Mostrar solo el laberinto"), QKeySequence(QStringLiteral("Ctrl+R")),
                        [this](bool on) { grid_->setCropped(on); });
    crop->setCheckable(true);
    QMenu* help = menuBar()->addMenu(QStringLiteral("A&yuda"));
    add(help, QStringLiteral("Teclas"), QKeySequence(Qt::Key_F1), [this] { showKeys(); });
}

void EditorWindow::newMap()
{
    map_ = EditorMap{};
    history_.clear();
    path_.clear();
    modified_ = false;
    changed();
    modified_ = false;
    updateTitle();
    grid_->placeCursor(0, 0);
    grid_->setFocus(Qt::OtherFocusReason);
}

bool EditorWindow::openPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        newMap();
        path_ = info.absoluteFilePath();
        updateTitle();
        return true;
    }
    EditorMap read;
    std::vector<MapProblem> problems;
    if (!loadEditorMap(toNative(path), read, problems)) {
        QMessageBox::warning(this, windowTitle(),
                             fromUtf8(describeMapProblem(toNative(path), problems.front())));
        return false;
    }
    map_ = read;
    history_.clear();
    path_ = info.absoluteFilePath();
    changed();
    modified_ = false;
    updateTitle();
    grid_->placeCursor(0, 0);
    grid_->setFocus(Qt::OtherFocusReason);
    if (!problems.empty())
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("El juego no carga este mapa tal como está: %1 Se abrió para corregirlo.")
                                 .arg(fromUtf8(describeMapProblem(toNative(path), problems.front()))));
    return true;
}

void EditorWindow::open()
{
    if (!mayDiscard())
        return;
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir mapa"), home_,
                                                        QStringLiteral("Mapa (*.quorvane)"));
    if (!chosen.isEmpty())
        openPath(chosen);
}

bool EditorWindow::saveTo(const QString& path)
{
    if (isShippedMapPath(toNative(path), dataFolders_)) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Ese es un mapa del juego instalado y no se reemplaza. Guárdelo en su "
                                            "carpeta del juego (%1) o en otra.")
                                 .arg(home_));
        return false;
    }
    if (!check_.check.reachable) {
        const auto answer = QMessageBox::question(
            this, windowTitle(),
            QStringLiteral("%1 ¿Guardarlo de todos modos?").arg(verdict_->text()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
    std::string error;
    if (!saveEditorMap(toNative(path), map_, &error)) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("No se pudo guardar %1: %2").arg(path, fromUtf8(error)));
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    modified_ = false;
    updateTitle();
    say(QStringLiteral("Guardado en %1.").arg(QFileInfo(path).fileName()));
    return true;
}

bool EditorWindow::save() { return path_.isEmpty() ? saveAs() : saveTo(path_); }

bool EditorWindow::saveAs()
{
    QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar mapa"),
                                                  path_.isEmpty() ? home_ : path_,
                                                  QStringLiteral("Mapa (*.quorvane)"));
    if (chosen.isEmpty())
        return false;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".quorvane");
    return saveTo(chosen);
}

void EditorWindow::tryInGame()
{
    // The game reads the map from its file: what is on screen is saved first.
    if ((modified_ || path_.isEmpty()) && !save())
        return;
    QString game = QCoreApplication::applicationDirPath() + QStringLiteral("/quorvane");
    if (!QFileInfo(game).isExecutable())
        game = QStandardPaths::findExecutable(QStringLiteral("quorvane"));
    if (game.isEmpty() || !QProcess::startDetached(game, {QStringLiteral("--mapa"), path_})) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("No se encontró el juego (quorvane) para probar el mapa."));
        return;
    }
    say(QStringLiteral("Se abre el juego con este mapa."));
}

void EditorWindow::showKeys()
{
    QMessageBox::information(this, QStringLiteral("Teclas del editor"), QString::fromUtf8(kHelp));
}

void EditorWindow::setCode(int row, int col, int32_t code, bool sayIt)
{
    const bool was = history_.set(map_, row, col, code);
    if (was)
        changed();
    if (sayIt)
        sayCursor();
}

void EditorWindow::undo(bool redo)
{
    const auto changes = redo ? history_.redo(map_) : history_.undo(map_);
    if (changes.empty()) {
        say(redo ? QStringLiteral("Nada para rehacer.") : QStringLiteral("Nada para deshacer."));
        return;
    }
    changed();
    grid_->placeCursor(changes.front().row, changes.front().col);
    say((redo ? QStringLiteral("Rehecho. ") : QStringLiteral("Deshecho. ")) +
        fromUtf8(squareSentence(map_, grid_->row(), grid_->col())));
}

void EditorWindow::changed()
{
    modified_ = true;
    check_ = checkEditorMap(map_);
    grid_->setCheck(check_);
    grid_->updateGeometry();
    findings_->clear();
    for (const PlacedFinding& placed : check_.placed) {
        QString text = severityWord(placed.finding.severity) + QStringLiteral(": ") + fromUtf8(placed.finding.text);
        if (placed.row >= 0)
            text = QStringLiteral("Fila %1, casilla %2: ").arg(placed.row + 1).arg(placed.col + 1) + text;
        auto* item = new QListWidgetItem(text, findings_);
        item->setData(Qt::UserRole, placed.row);
        item->setData(Qt::UserRole + 1, placed.col);
    }
    const MapCheck& check = check_.check;
    if (!check.loads)
        verdict_->setText(QStringLiteral("El juego no carga este mapa."));
    else if (!check.reachable)
        verdict_->setText(QStringLiteral("El mapa se carga, pero no se puede ganar."));
    else
        verdict_->setText(QStringLiteral("Se puede ganar: la salida está a %1 pasos del inicio (línea azul).")
                              .arg(check.route->advances));
    updateTitle();
}

std::string EditorWindow::warningAt(int row, int col) const
{
    for (const PlacedFinding& placed : check_.placed)
        if (placed.row == row && placed.col == col && placed.finding.severity != MapFinding::Severity::Note)
            return placed.finding.text;
    return {};
}

void EditorWindow::sayCursor()
{
    const int row = grid_->row(), col = grid_->col();
    QString sentence = fromUtf8(squareSentence(map_, row, col));
    const std::string warning = warningAt(row, col);
    if (!warning.empty())
        sentence += QStringLiteral(". Aviso: ") + fromUtf8(warning);
    say(sentence);
}

void EditorWindow::say(const QString& sentence)
{
    said_->setText(sentence);
    grid_->say(sentence);
}

QString EditorWindow::lastSaid() const { return said_->text(); }

void EditorWindow::jumpToFinding()
{
    QListWidgetItem* item = findings_->currentItem();
    if (item == nullptr || item->data(Qt::UserRole).toInt() < 0)
        return;
    grid_->placeCursor(item->data(Qt::UserRole).toInt(), item->data(Qt::UserRole + 1).toInt());
    grid_->setFocus(Qt::OtherFocusReason);
    sayCursor();
}

void EditorWindow::updateTitle()
{
    const QString name = path_.isEmpty() ? QStringLiteral("mapa nuevo") : QFileInfo(path_).fileName();
    setWindowTitle(QStringLiteral("%1%2 - Editor de mapas de Quorvane").arg(name, modified_ ? QStringLiteral("*") : QString()));
}

bool EditorWindow::mayDiscard()
{
    if (!modified_)
        return true;
    const auto answer = QMessageBox::question(this, windowTitle(),
                                              QStringLiteral("El mapa tiene cambios sin guardar. ¿Guardarlos?"),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return save();
    return answer == QMessageBox::Discard;
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (mayDiscard())
        event->accept();
    else
        event->ignore();
}
