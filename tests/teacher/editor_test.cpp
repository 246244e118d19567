// The map editor: the file it writes is the one a teacher writes by hand, and
// the window drawn by keyboard alone saves a map the game loads, checked as
// it is drawn.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor_window.h"
#include "grid_view.h"
#include "modal_helper.h"

namespace {
std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A map as a teacher types it: rows of 30 codes, one space apart, each line
// ending in a line feed; walls everywhere but the squares given.
std::string handWritten(const std::string& header, std::initializer_list<std::pair<int, std::string>> rows)
{
    std::string text = header;
    for (int r = 0; r < kGridSize; ++r) {
        std::string row = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
        for (const auto& [at, given] : rows)
            if (at == r)
                row = given;
        text += row + "\n";
    }
    return text;
}

TEST(EditorMapTest, OpeningAndSavingAMapGivesBackItsBytesWithItsComments)
{
    // The shipped maps were written by hand, comments first.
    for (const auto& entry : std::filesystem::directory_iterator(QUORVANE_MAPS_DIR)) {
        EditorMap map;
        std::vector<MapProblem> problems;
        ASSERT_TRUE(loadEditorMap(entry.path().string(), map, problems)) << entry.path();
        EXPECT_TRUE(problems.empty()) << entry.path();
        EXPECT_EQ(mapFileText(map), fileBytes(entry.path())) << entry.path();
    }
    // Comments between rows and after the last stay where they were; CR LF
    // line ends are read as the game reads them and written plainly.
    QTemporaryDir dir;
    const std::string plain = handWritten("/ arriba\n", {{1, "/ entre filas\n0 1 3 8 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"}}) + "/ al final\n";
    std::string windows;
    for (char c : plain)
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string path = dir.filePath("crlf.quorvane").toStdString();
    std::ofstream(path, std::ios::binary) << windows;
    EditorMap map;
    std::vector<MapProblem> problems;
    loadEditorMap(path, map, problems);
    EXPECT_EQ(map.codes[1][2], 3);
    EXPECT_EQ(mapFileText(map), plain);
}

TEST(EditorMapTest, UndoAndRedoTakeBackAWholeStrokeAndSavingRefusesTheShippedFolder)
{
    EditorMap map;
    EditHistory history;
    history.beginStroke();
    history.set(map, 0, 0, 3);
    history.set(map, 0, 1, 3);
    history.endStroke();
    history.set(map, 0, 1, 9);
    EXPECT_EQ(history.undo(map).size(), 1u);
    EXPECT_EQ(map.codes[0][1], 3);
    EXPECT_EQ(history.undo(map).size(), 2u);
    EXPECT_EQ(map.codes[0][0], 0);
    EXPECT_TRUE(history.undo(map).empty());
    history.redo(map);
    EXPECT_EQ(map.codes[0][1], 3);
    history.set(map, 5, 5, 8);  // a new change forgets what was undone
    EXPECT_FALSE(history.canRedo());

    QTemporaryDir shipped, own;
    const std::vector<std::string> data = {shipped.path().toStdString()};
    EXPECT_TRUE(isShippedMapPath(shipped.filePath("nivel1.quorvane").toStdString(), data));
    EXPECT_TRUE(isShippedMapPath(shipped.filePath("sub/../nivel1.quorvane").toStdString(), data));
    EXPECT_FALSE(isShippedMapPath(own.filePath("nivel1.quorvane").toStdString(), data));
}

class EditorWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<EditorWindow>(std::vector<std::string>{}, dir.path());
        ASSERT_TRUE(window->openPath(dir.filePath("dibujo.quorvane")));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == window->grid(); }));
    }

    template <typename Done>
    static bool waitFor(Done done)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    void keys(std::initializer_list<Qt::Key> list, QWidget* to = nullptr)
    {
        for (Qt::Key key : list)
            QTest::keyClick(to ? to : window->grid(), key);
    }
    void ctrl(Qt::Key key) { QTest::keyClick(window->grid(), key, Qt::ControlModifier); }

    QTemporaryDir dir;
    std::unique_ptr<EditorWindow> window;
};

TEST_F(EditorWindowTest, AMapDrawnByKeyboardAloneIsSavedAsWrittenByHandAndTheGameLoadsIt)
{
    // Row 2: start, two corridors, the exit; a slip (bullets) undone, then
    // undone and redone once more.
    keys({Qt::Key_Down, Qt::Key_Right, Qt::Key_1, Qt::Key_Right, Qt::Key_3, Qt::Key_Right, Qt::Key_3,
          Qt::Key_Right, Qt::Key_8, Qt::Key_Right, Qt::Key_9});
    EXPECT_EQ(window->lastSaid(), QStringLiteral("Fila 2, casilla 6: balas"));
    ctrl(Qt::Key_Z);
    EXPECT_EQ(window->lastSaid(), QStringLiteral("Deshecho. Fila 2, casilla 6: pared"));
    keys({Qt::Key_Left});
    ctrl(Qt::Key_Z);
    ctrl(Qt::Key_Y);
    EXPECT_EQ(window->lastSaid(), QStringLiteral("Rehecho. Fila 2, casilla 5: salida"));
    ASSERT_TRUE(window->check().check.reachable);
    EXPECT_EQ(window->check().check.route->advances, 3);

    ctrl(Qt::Key_S);
    const std::string saved = dir.filePath("dibujo.quorvane").toStdString();
    ASSERT_TRUE(std::filesystem::exists(saved)) << window->lastSaid().toStdString();
    EXPECT_EQ(fileBytes(saved),
              handWritten("", {{1, "0 1 3 3 8 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"}}));
    MapText read;
    ASSERT_TRUE(readMapText(saved, read));
    EXPECT_EQ(read.codes[1][1], 1);
    EXPECT_EQ(read.codes[1][4], 8);
}

TEST_F(EditorWindowTest, ABendWithoutADoorIsWarnedAtItsSquareWhileDrawnAndTheListLeadsThere)
{
    // Start, east, then the corridor turns down at row 2, column 4.
    keys({Qt::Key_Down, Qt::Key_Right, Qt::Key_1, Qt::Key_Right, Qt::Key_3, Qt::Key_Right, Qt::Key_3,
          Qt::Key_Down, Qt::Key_3, Qt::Key_Down, Qt::Key_8});
    EXPECT_FALSE(window->check().check.reachable);
    QListWidget* list = window->findings();
    int bend = -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().contains(QStringLiteral("curva sin puerta")))
            bend = i;
    ASSERT_GE(bend, 0);
    EXPECT_TRUE(list->item(bend)->text().startsWith(QStringLiteral("Fila 2, casilla 4: aviso: curva sin puerta")))
        << list->item(bend)->text().toStdString();

    // From the list (L), Enter takes the cursor to the square, which says why.
    keys({Qt::Key_L});
    ASSERT_EQ(QApplication::focusWidget(), list);
    list->setCurrentRow(bend);
    keys({Qt::Key_Return}, list);
    EXPECT_EQ(QApplication::focusWidget(), window->grid());
    EXPECT_EQ(window->grid()->row(), 1);
    EXPECT_EQ(window->grid()->col(), 3);
    EXPECT_TRUE(window->lastSaid().startsWith(QStringLiteral("Fila 2, casilla 4: pasillo. Aviso: curva sin puerta")));

    // A door to the right there mends it.
    keys({Qt::Key_6});
    EXPECT_TRUE(window->check().check.reachable);
    for (int i = 0; i < list->count(); ++i)
        EXPECT_FALSE(list->item(i)->text().contains(QStringLiteral("curva"))) << list->item(i)->text().toStdString();
}
TEST_F(EditorWindowTest, AnUnwinnableMapIsSavedOnlyAfterAYesAndNeverOverAnInstalledOne)
{
    const QString path = dir.filePath("sin_salida.quorvane");
    keys({Qt::Key_1, Qt::Key_Right, Qt::Key_3});
    QString asked;
    auto answer = [&asked](QMessageBox::StandardButton button) {
        whenModal<QMessageBox>([&asked, button](QMessageBox* box) {
            asked = box->text();
            if (QAbstractButton* chosen = box->button(button))
                chosen->click();
            else
                box->reject();
        });
    };
    answer(QMessageBox::No);
    EXPECT_FALSE(window->saveTo(path));
    EXPECT_TRUE(asked.contains(QStringLiteral("no se puede ganar"))) << asked.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    answer(QMessageBox::Yes);
    EXPECT_TRUE(window->saveTo(path));
    EXPECT_TRUE(QFile::exists(path));

    // The same folder as the installation's: refused, with no question.
    EditorWindow installed({dir.path().toStdString()}, dir.path());
    installed.openPath(path);
    answer(QMessageBox::Ok);
    EXPECT_FALSE(installed.saveTo(path));
    EXPECT_TRUE(asked.contains(QStringLiteral("mapa del juego instalado"))) << asked.toStdString();
}
}  // namespace
