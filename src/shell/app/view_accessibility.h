#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "clock.h"

class GameState;
class QWidget;

// What the voice says, for a screen reader and a braille display. The game
// view's accessible description is the latest sentence of the message log
// (said with the view's name when it takes the focus) and its accessible
// text the sentences on the screen, one a line; every new sentence is sent
// to assistive technology as text inserted at the end and a description
// change.

// A message-log sentence (a Windows-1252 constant ending in a line feed) as
// the text a screen reader receives.
QString sentenceText(const char* sentence);

// Lets Qt build the game view's accessible interface, and the same for any
// other widget that carries a SpokenLog from its construction (the map
// editor's grid); must run before the view is first shown, when Qt asks for
// it and keeps what it got.
void installViewAccessibility();

// The sentences of the level in play as assistive technology sees them.
// Lives as a child of the game view; the main loop calls follow() after the
// rules have run, and each sentence added since the last call is sent, in
// order.
class SpokenLog : public QObject {
    Q_OBJECT
public:
    explicit SpokenLog(QWidget* view);

    void follow(const GameState& game);
    // Sends one sentence that is not the game's (the map editor's cursor),
    // as a sentence of the log is sent.
    void add(const QString& sentence) { say(sentence); }

    // The sentences kept, each followed by a line feed.
    const QString& text() const { return text_; }
    const QString& latest() const { return latest_; }

    // The log attached to a game view, or null.
    static SpokenLog* of(const QObject* view);

private:
    void say(const QString& sentence);
    void clear();

    QWidget* view_;
    QStringList lines_;
    QString text_;
    QString latest_;
    // The sentences of the level already sent, and the level's first entry,
    // which tells a new level from the same one.
    int32_t announced_ = 0;
    const char* first_ = nullptr;
    Tick firstTick_ = 0;
};
