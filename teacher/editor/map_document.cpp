#include "map_document.h"

#include <cstring>
#include <filesystem>

#include "map_codes.h"
#include "regular_file.h"
#include "output_file.h"
#include "svg_grid.h"

namespace fs = std::filesystem;

std::string mapFileText(const EditorMap& map)
{
    std::string text;
    auto comments = [&](const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            text += line + "\n";
    };
    comments(map.header);
    for (int r = 0; r < kGridSize; ++r) {
        if (r > 0)
            comments(map.before[r]);
        for (int c = 0; c < kGridSize; ++c) {
            if (c > 0)
                text += ' ';
            text += std::to_string(map.codes[r][c]);
        }
        text += '\n';
    }
    comments(map.trailer);
    return text;
}

bool loadEditorMap(const std::string& path, EditorMap& out, std::vector<MapProblem>& problems)
{
    out = EditorMap{};
    MapText read;
    readMapText(path, read);
    problems = read.errors;
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            out.codes[r][c] = read.codes[r][c];

    // The comments, found line by line: the reader skips them without
    // saying where they stood.
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(path, bytes, kMaxTextFileBytes, &why)) {
        problems = {{{}, "no se pudo abrir: " + why + "."}};
        return false;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int rows = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.front() != '/') {
            ++rows;
            continue;
        }
        auto& into = rows == 0 ? out.header : rows < kGridSize ? out.before[rows] : out.trailer;
        into.emplace_back(line);
    }
    return true;
}

bool saveEditorMap(const std::string& path, const EditorMap& map, std::string* error)
{
    std::string why;
    if (writeOutputFile(path, mapFileText(map), why))
        return true;
    if (error)
        *error = why;
    return false;
}

bool isShippedMapPath(const std::string& path, const std::vector<std::string>& dataFolders)
{
    // The folder as the system finds it: through links, without "..".
    std::error_code ec;
    fs::path folder = fs::weakly_canonical(fs::absolute(path, ec).parent_path(), ec);
    if (folder.has_parent_path() && folder.filename().empty())
        folder = folder.parent_path();
    for (const std::string& data : dataFolders) {
        std::error_code dataEc;
        const fs::path shipped = fs::canonical(data, dataEc);
        if (!dataEc && folder == shipped)
            return true;
    }
    return false;
}

EditorCheck checkEditorMap(const EditorMap& map)
{
    // The checker reads the very text that would be saved, so every finding
    // carries the line and column of a square there.
    MapText text;
    EditorMap bare;
    std::memcpy(bare.codes, map.codes, sizeof bare.codes);
    parseMapText(mapFileText(bare), text);
    EditorCheck result{checkMap(text), {}};
    for (const MapFinding& finding : result.check.findings) {
        PlacedFinding placed{finding};
        if (finding.place.line > 0 && finding.place.line <= kGridSize) {
            const int r = finding.place.line - 1;
            for (int c = 0; c < kGridSize; ++c)
                if (text.places[r][c].column == finding.place.column) {
                    placed.row = r;
                    placed.col = c;
                }
        }
        result.placed.push_back(placed);
    }
    return result;
}

bool EditHistory::set(EditorMap& map, int row, int col, int32_t code)
{
    if (row < 0 || row >= kGridSize || col < 0 || col >= kGridSize || map.codes[row][col] == code)
        return false;
    if (!open_)
        done_.emplace_back();
    done_.back().push_back({row, col, map.codes[row][col], code});
    map.codes[row][col] = code;
    undone_.clear();
    return true;
}

void EditHistory::beginStroke()
{
    endStroke();
    done_.emplace_back();
    open_ = true;
}

void EditHistory::endStroke()
{
    if (open_ && done_.back().empty())
        done_.pop_back();
    open_ = false;
}

std::vector<EditHistory::Change> EditHistory::undo(EditorMap& map)
{
    endStroke();
    if (done_.empty())
        return {};
    std::vector<Change> changes = std::move(done_.back());
    done_.pop_back();
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        map.codes[it->row][it->col] = it->before;
    undone_.push_back(changes);
    return changes;
}

std::vector<EditHistory::Change> EditHistory::redo(EditorMap& map)
{
    endStroke();
    if (undone_.empty())
        return {};
    std::vector<Change> changes = std::move(undone_.back());
    undone_.pop_back();
    for (const Change& change : changes)
        map.codes[change.row][change.col] = change.after;
    done_.push_back(changes);
    return changes;
}

void EditHistory::clear()
{
    done_.clear();
    undone_.clear();
    open_ = false;
}

std::string codeName(int32_t code)
{
    if (code < 0 || code > MapCode::Highest)
        return "código desconocido (" + std::to_string(code) + ")";
    return lookOfMapCode(code).title;
}

char codeKey(int32_t code)
{
    static constexpr char kCreatureKeys[] = {'M', 'U', 'G'};
    if (code >= 0 && code <= 9)
        return static_cast<char>('0' + code);
    return code >= MapCode::Monster && code <= MapCode::Highest ? kCreatureKeys[code - MapCode::Monster] : '\0';
}

int32_t codeOfKey(char key)
{
    if (key >= 'a' && key <= 'z')
        key = static_cast<char>(key - 'a' + 'A');
    for (int32_t code = 0; code <= MapCode::Highest; ++code)
        if (codeKey(code) == key)
            return code;
    return -1;
}

std::string squareSentence(const EditorMap& map, int row, int col)
{
    return "Fila " + std::to_string(row + 1) + ", casilla " + std::to_string(col + 1) + ": " +
           codeName(map.codes[row][col]);
}

std::string surroundingsSentence(const EditorMap& map, int row, int col)
{
    struct Side {
        const char* name;
        int dr, dc;
    };
    static constexpr Side kSides[] = {{"Arriba", -1, 0}, {"abajo", 1, 0}, {"a la izquierda", 0, -1},
                                      {"a la derecha", 0, 1}};
    std::string text;
    for (const Side& side : kSides) {
        const int r = row + side.dr, c = col + side.dc;
        const bool inside = r >= 0 && r < kGridSize && c >= 0 && c < kGridSize;
        text += std::string(text.empty() ? "" : "; ") + side.name + ": " +
                (inside ? codeName(map.codes[r][c]) : std::string("fuera del mapa"));
    }
    return text + ".";
}
