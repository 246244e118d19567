#pragma once
#include <QMainWindow>
#include <string>
#include <vector>

#include "map_document.h"

class GridView;
class QLabel;
class QListWidget;

// The map editor: the grid, the palette of the 13 codes, the checker's
// findings, and the sentence last said. Everything said to a screen reader is
// also written under the grid.
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    // dataFolders: where the installation keeps its maps (saving there is
    // refused); home: the folder the file dialogs start in.
    EditorWindow(std::vector<std::string> dataFolders, QString home, QWidget* parent = nullptr);

    // Opens path; a name that does not exist yet starts a new map to be
    // saved there. False, with a box, when the file cannot be read as a map.
    bool openPath(const QString& path);
    // Saves to path, asking first when the map cannot be won. False when it
    // was not saved (refused, declined, or the write failed).
    bool saveTo(const QString& path);

    const EditorMap& map() const { return map_; }
    const EditorCheck& check() const { return check_; }
    GridView* grid() const { return grid_; }
    QListWidget* findings() const { return findings_; }
    QString path() const { return path_; }
    QString lastSaid() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildGrid();
    void buildPalette();
    void buildLayout();
    void buildMenus();
    void newMap();
    void open();
    bool save();
    bool saveAs();
    void tryInGame();
    void showKeys();
    void undo(bool redo);
    void setCode(int row, int col, int32_t code, bool sayIt);
    void changed();
    void sayCursor();
    void say(const QString& sentence);
    void jumpToFinding();
    void updateTitle();
    // False when the teacher chose to stay (cancel) over unsaved changes.
    bool mayDiscard();
    std::string warningAt(int row, int col) const;

    EditorMap map_;
    EditHistory history_;
    EditorCheck check_;
    QString path_;
    bool modified_ = false;
    int32_t brush_ = 3;
    std::vector<std::string> dataFolders_;
    QString home_;
    GridView* grid_ = nullptr;
    QListWidget* palette_ = nullptr;
    QListWidget* findings_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* said_ = nullptr;
};
