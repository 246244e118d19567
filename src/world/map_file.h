#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cell.h"

constexpr int kLineBufferSize = 255;

// Where something stands in a map file as a text editor shows it: line and
// column from 1. Line 0 stands for the file as a whole.
struct MapPlace {
    int line = 0;
    int column = 0;
};

struct MapProblem {
    MapPlace place;
    std::string text;  // Spanish, for the teacher who wrote the map
};

// A map file read exactly as the game reads it (pieces of at most 254
// characters, comment and empty lines skipped, the first 30 data lines and
// the first 30 numbers of each), with where every square's code stands.
struct MapText {
    int32_t codes[kGridSize][kGridSize]{};
    MapPlace places[kGridSize][kGridSize]{};
    // Every reason the game refuses the map, in file order; empty when it
    // loads.
    std::vector<MapProblem> errors;
    // Text the game passes over without a word: numbers after the 30th of a
    // row, lines after the 30th row, the rest of a line too long to read
    // whole.
    std::vector<MapProblem> ignored;
    // How far the reading went: the data rows read and the numbers read in
    // each (the squares past them hold 0 without having been read).
    int rowsRead = 0;
    int numbersRead[kGridSize]{};
};

// A map or saved game is at most this long: thirty rows and a thousand
// actions take a few kilobytes, and comments are all a teacher adds.
constexpr uint64_t kMaxTextFileBytes = uint64_t{4} << 20;

// Parses the text of a map file held in memory. False when the game would
// refuse it. A byte-order mark and CR LF line ends are read past.
bool parseMapText(std::string_view text, MapText& out);
// Reads the map file name (a regular file only, never waiting on a FIFO or
// a device) and parses it. False when the game would refuse it.
bool readMapText(const std::string& name, MapText& out);

// A map's text as the game reads it best: without a byte-order mark, with LF
// line ends, and its numbers one space apart where a spreadsheet separated
// them with ';' or ','. Comment lines are kept as they are.
std::string mapInGameFormat(std::string_view text);

// One line of a problem for a person: "El mapa "x", línea 3, columna 7: ...".
std::string describeMapProblem(const std::string& name, const MapProblem& problem);

// The text of a map or saved game held in memory, handed out in the pieces a
// line read into the game's 255-byte buffer gives: up to 254 characters,
// ending after a line feed when one comes within them.
class TextPieces {
public:
    // A UTF-8 byte-order mark, which some editors put first, is no part of
    // the text.
    explicit TextPieces(std::string_view text)
        : text_(text), at_(text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0)
    {
    }
    // The next piece into buffer (kLineBufferSize bytes), zero-terminated;
    // false at the end of the text, the buffer then empty.
    bool next(char* buffer);

private:
    std::string_view text_;
    size_t at_ = 0;
};

// Reads one data line of a map or saved game into buffer (kLineBufferSize
// bytes), skipping comment lines ("/...") and empty lines. CR LF reads as LF.
// False at the end of the text: the buffer then holds an empty string.
bool readDataLine(TextPieces& text, char* buffer);

// Reads up to count integers from a data line into out; returns how many were
// read before the first value that is not a number in the signed 32-bit range.
// With starts, the offset in line where each value read begins is kept there.
int parseRow(const char* line, int32_t* out, int count, int* starts = nullptr);

// Digits with an optional sign: where parseRow stops at such a text, the
// number is out of range rather than not a number.
bool isWholeNumber(std::string_view text);
