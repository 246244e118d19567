#include "view_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <algorithm>

#include "game_state.h"
#include "game_text.h"
#include "game_view.h"

namespace {

// The screen shows this many sentences; a braille display reviews the same.
constexpr int kKeptLines = kVisibleLines;

// The game view as assistive technology sees it: a canvas named after the
// game whose description is the latest sentence and whose read-only text is
// the sentences on the screen.
class GameViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit GameViewAccessible(QWidget* view) : QAccessibleWidget(view, QAccessible::Canvas) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return log() != nullptr ? log()->latest() : QString();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Nothing can be selected; the caret rests at the start of the latest
    // sentence, the line a braille display shows.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override
    {
        const SpokenLog* spoken = log();
        return spoken == nullptr || spoken->text().isEmpty()
                   ? 0
                   : int(spoken->text().size() - spoken->latest().size() - 1);
    }
    void setCursorPosition(int) override {}

    QString text(int startOffset, int endOffset) const override
    {
        const QString all = whole();
        startOffset = std::clamp(startOffset, 0, int(all.size()));
        endOffset = endOffset < 0 ? int(all.size()) : std::clamp(endOffset, startOffset, int(all.size()));
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(whole().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    const SpokenLog* log() const { return SpokenLog::of(widget()); }
    QString whole() const { return log() != nullptr ? log()->text() : QString(); }
};

QAccessibleInterface* viewInterface(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<GameView*>(object))
        return new GameViewAccessible(view);
    if (auto* widget = qobject_cast<QWidget*>(object); widget != nullptr && SpokenLog::of(widget) != nullptr)
        return new GameViewAccessible(widget);
    return nullptr;
}

}  // namespace

QString sentenceText(const char* sentence)
{
    QString text;
    for (const char* c = sentence; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        // Every Windows-1252 character lies in the first plane: one QChar.
        const char32_t cp = codePointOfGameByte(byte);
        text += cp != 0 ? QChar(static_cast<char16_t>(cp)) : QChar(u'?');
    }
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

void installViewAccessibility()
{
    // Qt keeps the factories in a list without duplicates.
    QAccessible::installFactory(&viewInterface);
}

SpokenLog::SpokenLog(QWidget* view) : QObject(view), view_(view)
{
    setObjectName(QStringLiteral("SpokenLog"));
}

SpokenLog* SpokenLog::of(const QObject* view)
{
    return view != nullptr ? view->findChild<SpokenLog*>(QStringLiteral("SpokenLog"), Qt::FindDirectChildrenOnly)
                           : nullptr;
}

void SpokenLog::follow(const GameState& game)
{
    // Every sentence counts in visibleCount; the history keeps the first
    // ones of a level and the visible lines the latest. A level start empties
    // both, which shows as fewer sentences or another first entry.
    const int32_t count = game.log.visibleCount;
    const bool sameLevel = count >= announced_ &&
                           (announced_ == 0 || (game.log.historyCount > 0 && game.log.history[0] == first_ &&
                                                game.log.historyTicks[0] == firstTick_));
    if (!sameLevel) {
        clear();
        announced_ = 0;
    }
    const int32_t shown = std::min(count, kVisibleLines);
    const int32_t firstShown = count - shown;
    for (int32_t i = announced_; i < count; ++i) {
        const char* sentence = nullptr;
        if (i >= firstShown)
            sentence = game.log.visible[i - firstShown];
        else if (i < game.log.historyCount)
            sentence = game.log.history[i];
        if (sentence != nullptr)
            say(sentenceText(sentence));
    }
    announced_ = count;
    if (game.log.historyCount > 0) {
        first_ = game.log.history[0];
        firstTick_ = game.log.historyTicks[0];
    }
}

void SpokenLog::say(const QString& sentence)
{
    if (lines_.size() >= kKeptLines) {
        const QString gone = lines_.takeFirst() + u'\n';
        text_.remove(0, gone.size());
        QAccessibleTextRemoveEvent removed(view_, 0, gone);
        QAccessible::updateAccessibility(&removed);
    }
    const QString line = sentence + u'\n';
    const int at = int(text_.size());
    lines_.append(sentence);
    text_ += line;
    latest_ = sentence;
    // Orca speaks text inserted into the element that has the focus and shows
    // it in braille. The description change makes clients read the new
    // description instead of the copy they keep (Qt 6.4 sends the change
    // without the text itself).
    QAccessibleTextInsertEvent inserted(view_, at, line);
    QAccessible::updateAccessibility(&inserted);
    QAccessibleEvent described(view_, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
}

void SpokenLog::clear()
{
    if (text_.isEmpty())
        return;
    const QString gone = text_;
    lines_.clear();
    text_.clear();
    latest_.clear();
    QAccessibleTextRemoveEvent removed(view_, 0, gone);
    QAccessible::updateAccessibility(&removed);
}
