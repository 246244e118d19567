#include <gtest/gtest.h>

#include "view_accessibility.h"

// The game's sentences are Windows-1252 constants ending in a line feed; a
// screen reader gets them as text, accents and Spanish signs included.
TEST(SentenceText, DecodesWindows1252AndDropsTheLineFeed)
{
    EXPECT_EQ(sentenceText("\xBFSalir? \xA1S\xED, a\xFAn! Ni\xF1o \xC1ngel N\xBA 2 \x93" "ok\x94\n"),
              QString::fromUtf8("¿Salir? ¡Sí, aún! Niño Ángel Nº 2 “ok”"));
    EXPECT_EQ(sentenceText("Avanzaste un paso.\n"), QStringLiteral("Avanzaste un paso."));
}
