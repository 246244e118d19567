#include "grid_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>

#include "map_codes.h"
#include "svg_grid.h"
#include "view_accessibility.h"

GridView::GridView(const EditorMap& map, Hooks hooks, QWidget* parent)
    : QWidget(parent), map_(map), hooks_(std::move(hooks))
{
    // The log must be there before Qt first asks for the grid's accessible
    // interface: the game's factory then gives it the game view's, whose
    // text is the sentences said and whose description the latest.
    installViewAccessibility();
    spoken_ = new SpokenLog(this);
    setAccessibleName(QStringLiteral("Mapa"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
}

void GridView::say(const QString& sentence) { spoken_->add(sentence); }

void GridView::placeCursor(int row, int col)
{
    row_ = std::clamp(row, 0, kGridSize - 1);
    col_ = std::clamp(col, 0, kGridSize - 1);
    updateGeometry();
    update();
    // Zoomed in, the grid scrolls to keep the cursor in sight.
    if (auto* area = qobject_cast<QScrollArea*>(parentWidget() ? parentWidget()->parentWidget() : nullptr)) {
        const QPoint centre = origin() + QPoint(col_ * zoom_ + zoom_ / 2, row_ * zoom_ + zoom_ / 2);
        area->ensureVisible(centre.x(), centre.y(), zoom_, zoom_);
    }
}

void GridView::setCheck(const EditorCheck& check)
{
    route_.clear();
    warned_.clear();
    if (check.check.route)
        for (const RouteStep& step : check.check.route->steps)
            if (route_.empty() || route_.back() != QPoint(step.col, step.row))
                route_.emplace_back(step.col, step.row);
    for (const PlacedFinding& placed : check.placed)
        if (placed.row >= 0 && placed.finding.severity != MapFinding::Severity::Note)
            warned_.emplace_back(placed.col, placed.row);
    update();
}

void GridView::setZoom(int pixels)
{
    zoom_ = std::clamp(pixels, 8, 64);
    updateGeometry();
    update();
}

void GridView::setCropped(bool cropped)
{
    cropped_ = cropped;
    updateGeometry();
    update();
}

QRect GridView::shownSquares() const
{
    if (!cropped_)
        return {0, 0, kGridSize, kGridSize};
    QRect open(col_, row_, 1, 1);
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            if (map_.codes[r][c] != MapCode::Wall)
                open = open.united(QRect(c, r, 1, 1));
    return open.adjusted(-1, -1, 1, 1).intersected(QRect(0, 0, kGridSize, kGridSize));
}

QSize GridView::sizeHint() const
{
    // One square's room on every side for the row and column numbers.
    const QRect shown = shownSquares();
    return {(shown.width() + 2) * zoom_, (shown.height() + 2) * zoom_};
}

QPoint GridView::origin() const
{
    const QRect shown = shownSquares();
    const QSize need = sizeHint();
    const int left = std::max(0, (width() - need.width()) / 2) + zoom_;
    const int top = std::max(0, (height() - need.height()) / 2) + zoom_;
    return {left - shown.left() * zoom_, top - shown.top() * zoom_};
}

bool GridView::squareAt(QPoint at, int& row, int& col) const
{
    const QPoint o = origin();
    if (at.x() < o.x() || at.y() < o.y())
        return false;
    col = (at.x() - o.x()) / zoom_;
    row = (at.y() - o.y()) / zoom_;
    return shownSquares().contains(col, row);
}

namespace {
// A square as the game draws it: its tile, tinted and labelled by its code;
// a wall is left in the background's white. Every square gets its grid line.
void paintSquare(QPainter& p, const QRect& box, int32_t code, const QImage& tile)
{
    p.setPen(QColor(0xd0, 0xd0, 0xd0));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (code == MapCode::Wall)
        return;
    if (!tile.isNull())
        p.drawImage(box, tile);
    const SquareLook look = lookOfMapCode(code);
    QColor tint(look.fill);
    if (tint != Qt::white) {
        tint.setAlpha(tile.isNull() ? 255 : 150);
        p.fillRect(box, tint);
    }
    p.setPen(tint.lightness() < 110 ? Qt::white : Qt::black);
    p.drawText(box, Qt::AlignCenter, QString::fromStdString(look.label));
}
}  // namespace

void GridView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect shown = shownSquares();
    const QPoint o = origin();
    auto square = [&](int r, int c) { return QRect(o.x() + c * zoom_, o.y() + r * zoom_, zoom_, zoom_); };
    // The game's background is white, and so are its walls.
    p.fillRect(QRect(square(shown.top(), shown.left()).topLeft(), square(shown.bottom(), shown.right()).bottomRight()),
               Qt::white);
    QFont small = font();
    small.setPixelSize(std::max(6, zoom_ * 9 / 20));
    p.setFont(small);
    for (int r = shown.top(); r <= shown.bottom(); ++r)
        for (int c = shown.left(); c <= shown.right(); ++c)
            paintSquare(p, square(r, c), map_.codes[r][c], tile_);
    if (zoom_ >= 14) {
        p.setPen(palette().color(QPalette::WindowText));
        for (int r = shown.top(); r <= shown.bottom(); ++r)
            p.drawText(square(r, shown.left() - 1), Qt::AlignCenter, QString::number(r + 1));
        for (int c = shown.left(); c <= shown.right(); ++c)
            p.drawText(square(shown.top() - 1, c), Qt::AlignCenter, QString::number(c + 1));
    }
    p.setRenderHint(QPainter::Antialiasing);
    if (route_.size() > 1) {
        QPolygon line;
        for (const QPoint& at : route_)
            line << square(at.y(), at.x()).center();
        p.setPen(QPen(QColor(0x1c, 0x4f, 0xd6), std::max(2, zoom_ / 8), Qt::DashLine, Qt::RoundCap));
        p.drawPolyline(line);
    }
    p.setPen(QPen(QColor(0xff, 0x8c, 0x00), std::max(2, zoom_ / 8)));
    p.setBrush(Qt::NoBrush);
    for (const QPoint& at : warned_)
        p.drawEllipse(square(at.y(), at.x()).adjusted(1, 1, -1, -1));
    // The game marks the player's square in red.
    p.setPen(QPen(Qt::red, std::max(2, zoom_ / 6)));
    p.drawRect(square(row_, col_).adjusted(1, 1, -1, -1));
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    int dr = 0, dc = 0;
    switch (event->key()) {
    case Qt::Key_Up: dr = -1; break;
    case Qt::Key_Down: dr = 1; break;
    case Qt::Key_Left: dc = -1; break;
    case Qt::Key_Right: dc = 1; break;
    default: break;
    }
    if (mods == Qt::NoModifier && (dr != 0 || dc != 0)) {
        placeCursor(row_ + dr, col_ + dc);
        if (hooks_.cursorMoved)
            hooks_.cursorMoved();
        return;
    }
    const QString text = event->text();
    if ((mods == Qt::NoModifier || mods == Qt::ShiftModifier) && text.size() == 1 && text[0].unicode() < 128) {
        const char key = static_cast<char>(text[0].toUpper().unicode());
        if (const int32_t code = codeOfKey(key); code >= 0) {
            if (hooks_.codeKey)
                hooks_.codeKey(code);
            return;
        }
        if (key == 'A' && hooks_.around) {
            hooks_.around();
            return;
        }
        if (key == 'L' && hooks_.list) {
            hooks_.list();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    int r = 0, c = 0;
    if (!squareAt(event->position().toPoint(), r, c))
        return;
    setFocus(Qt::MouseFocusReason);
    placeCursor(r, c);
    if (event->button() == Qt::LeftButton && hooks_.paint) {
        stroke_ = true;
        if (hooks_.strokeBegun)
            hooks_.strokeBegun();
        hooks_.paint(r, c);
    } else if (hooks_.cursorMoved) {
        hooks_.cursorMoved();
    }
}

void GridView::mouseMoveEvent(QMouseEvent* event)
{
    int r = 0, c = 0;
    if (stroke_ && squareAt(event->position().toPoint(), r, c) && (r != row_ || c != col_)) {
        placeCursor(r, c);
        hooks_.paint(r, c);
    }
}

void GridView::mouseReleaseEvent(QMouseEvent*)
{
    if (!stroke_)
        return;
    stroke_ = false;
    if (hooks_.strokeEnded)
        hooks_.strokeEnded();
}
