#pragma once
#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

#include "map_document.h"

class SpokenLog;

// The 30 by 30 squares as the game draws its map (its tile picture on every
// open square, walls in the background's white), each tinted and labelled by
// its code, with the cursor square framed in the game's red, the shortest
// route and the squares the checker warns about. Zoomable; shows the whole
// grid centred or only the maze. Keys and mouse are handed to the window.
class GridView : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> strokeBegun, strokeEnded;
        std::function<void(int row, int col)> paint;     // the mouse over a square, button held
        std::function<void(int32_t code)> codeKey;       // a code's key at the cursor
        std::function<void()> cursorMoved, around, list;  // arrows; A; L
    };
    GridView(const EditorMap& map, Hooks hooks, QWidget* parent = nullptr);

    int row() const { return row_; }
    int col() const { return col_; }
    // Puts the cursor on (row, col), shown and said.
    void placeCursor(int row, int col);
    // The checker's verdict to draw.
    void setCheck(const EditorCheck& check);
    // Pixels per square: 8 to 64.
    void setZoom(int pixels);
    int zoom() const { return zoom_; }
    void setCropped(bool cropped);
    bool cropped() const { return cropped_; }
    // The game's tile picture; a null image draws plain squares.
    void setTile(const QImage& tile) { tile_ = tile; update(); }
    // Says sentence to assistive technology (the grid's accessible text).
    void say(const QString& sentence);

    QSize sizeHint() const override;
    // The scroll area gives the grid its room and scrolls beyond it.
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The rows and columns shown: all, or the open squares and one around.
    QRect shownSquares() const;
    QPoint origin() const;
    bool squareAt(QPoint at, int& row, int& col) const;

    const EditorMap& map_;
    Hooks hooks_;
    SpokenLog* spoken_;
    QImage tile_;
    std::vector<QPoint> route_;  // x = column, y = row
    std::vector<QPoint> warned_;
    int row_ = 0, col_ = 0;
    int zoom_ = 20;
    bool cropped_ = false;
    bool stroke_ = false;
};
