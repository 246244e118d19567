#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "map_check.h"

// The map being edited, with no window: its codes, the teacher's comment
// lines where he wrote them, undo and redo, and the text the game reads.

struct EditorMap {
    int32_t codes[kGridSize][kGridSize]{};
    // Comment lines ("/..."), without their line end: before the first row,
    // before row r (for r from 1) and after the last row.
    std::vector<std::string> header;
    std::vector<std::string> before[kGridSize];
    std::vector<std::string> trailer;
};

// The map as a teacher writes it by hand: each comment line, then 30 lines
// of 30 codes separated by one space, every line ending in a line feed.
std::string mapFileText(const EditorMap& map);

// Reads a map file: the codes as the game reads them, the comment lines
// where they stand (a CR LF or a UTF-8 mark read as the game reads them).
// Problems holds the reasons the game would refuse it; the codes it could
// read are kept all the same, so a broken map can be mended. False only when
// the file cannot be read at all (problems then says why).
bool loadEditorMap(const std::string& path, EditorMap& out, std::vector<MapProblem>& problems);

// Writes the map over path in one step (a failed save leaves the old file).
// False with a Spanish reason.
bool saveEditorMap(const std::string& path, const EditorMap& map, std::string* error);

// A file the installation ships (nivel1.quorvane... in the game's own data
// folder, or the build's): one of dataFolders holds it. Saving there is
// refused: an update would replace it, and every player shares it.
bool isShippedMapPath(const std::string& path, const std::vector<std::string>& dataFolders);

// The checker's verdict on the map, with every finding placed on its square.
struct PlacedFinding {
    MapFinding finding;
    int row = -1;  // -1 when it is about the whole map
    int col = -1;
};
struct EditorCheck {
    MapCheck check;
    std::vector<PlacedFinding> placed;
};
EditorCheck checkEditorMap(const EditorMap& map);

// One change of the codes: squares set together (a key, one stroke of the
// mouse) and undone together.
class EditHistory {
public:
    struct Change {
        int row, col;
        int32_t before, after;
    };
    // Sets (row, col) to code within the stroke under way (begun by
    // beginStroke, or one of its own). False when it was already that.
    bool set(EditorMap& map, int row, int col, int32_t code);
    void beginStroke();
    void endStroke();
    // The squares changed, or empty when there was nothing to undo or redo.
    std::vector<Change> undo(EditorMap& map);
    std::vector<Change> redo(EditorMap& map);
    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    void clear();

private:
    std::vector<std::vector<Change>> done_, undone_;
    bool open_ = false;
};

// Spanish words for the squares, said to the teacher as the cursor moves.
std::string codeName(int32_t code);
// The key that sets a code: "0" to "9", "M", "U", "G".
char codeKey(int32_t code);
// The code a key sets, or -1.
int32_t codeOfKey(char key);
// "Fila 5, casilla 6: puerta a la izquierda".
std::string squareSentence(const EditorMap& map, int row, int col);
// What stands on the four sides of (row, col).
std::string surroundingsSentence(const EditorMap& map, int row, int col);
