#include "web/saved_work.h"

#include <charconv>
#include <optional>
#include <utility>
#include <vector>

namespace zorvan::web {

namespace {

constexpr std::string_view kSignature = "zorvan-work 1";

// Tabs and line ends separate cells and rows, so they and the backslash are escaped.
std::string Escaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\':
                plain += '\\';
                break;
            case 't':
                plain += '\t';
                break;
            case 'n':
                plain += '\n';
                break;
            case 'r':
                plain += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return plain;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::string_view::npos) return parts;
        begin = end + 1;
    }
}

std::optional<std::vector<int>> Numbers(std::string_view line) {
    std::vector<int> numbers;
    if (line.empty()) return numbers;
    for (const std::string_view part : Split(line, ' ')) {
        int value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error != std::errc() || end != part.data() + part.size()) return std::nullopt;
        numbers.push_back(value);
    }
    return numbers;
}

// "4 9*3": rows with breakpoints, each with its count after a star when it is not 1.
std::optional<std::vector<std::pair<int, int>>> Breakpoints(std::string_view line) {
    std::vector<std::pair<int, int>> breakpoints;
    if (line.empty()) return breakpoints;
    for (const std::string_view part : Split(line, ' ')) {
        const std::size_t star = part.find('*');
        const auto row = Numbers(part.substr(0, star));
        const auto every = Numbers(star == std::string_view::npos ? "1" : part.substr(star + 1));
        if (!row || row->size() != 1 || !every || every->size() != 1) return std::nullopt;
        breakpoints.emplace_back(row->front(), every->front());
    }
    return breakpoints;
}

}  // namespace

std::string SavedWorkText(const grid::Workspace& workspace) {
    const grid::ProgramGrid& grid = workspace.grid;
    std::string text(kSignature);
    text += '\n';
    for (const int number : {grid.RowCount(), grid.Col(), grid.Row(), int{workspace.changed},
                             int{workspace.executionEnabled}}) {
        text += std::to_string(number);
        text += ' ';
    }
    text.back() = '\n';
    text += Escaped(workspace.caption) + '\n';
    text += Escaped(workspace.openDialogFileName) + '\n';
    std::string breakpoints;
    for (const auto& [row, every] : grid.Breakpoints()) {
        breakpoints += std::to_string(row);
        if (every != 1) breakpoints += '*' + std::to_string(every);
        breakpoints += ' ';
    }
    if (!breakpoints.empty()) breakpoints.pop_back();
    text += breakpoints + '\n';
    for (int row = 0; row < grid.StoredRowCount(); ++row) {
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            if (column > 0) text += '\t';
            text += Escaped(grid.Cell(column, row));
        }
        text += '\n';
    }
    return text;
}

bool RestoreSavedWork(grid::Workspace& workspace, std::string_view text) {
    if (!text.ends_with('\n')) return false;
    std::vector<std::string_view> lines = Split(text.substr(0, text.size() - 1), '\n');
    if (lines.size() < 5 || lines[0] != kSignature) return false;
    const auto numbers = Numbers(lines[1]);
    const auto breakpoints = Breakpoints(lines[4]);
    const auto caption = Unescaped(lines[2]);
    const auto openName = Unescaped(lines[3]);
    if (!numbers || numbers->size() != 5 || !breakpoints || !caption || !openName) return false;
    const int rowCount = (*numbers)[0];
    if (rowCount < 1) return false;

    grid::ProgramGrid grid;
    for (std::size_t row = 0; row + 5 < lines.size(); ++row) {
        const std::vector<std::string_view> cells = Split(lines[row + 5], '\t');
        if (cells.size() != grid::kGridColumnCount) return false;
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            auto cell = Unescaped(cells[column]);
            if (!cell) return false;
            if (!cell->empty()) grid.SetCell(column, static_cast<int>(row), std::move(*cell));
        }
    }
    grid.SetRowCount(rowCount);
    grid.SetCurrent((*numbers)[1], (*numbers)[2]);
    for (const auto& [row, every] : *breakpoints) {
        grid.SetBreakpoint(row, true);
        grid.SetBreakpointEvery(row, every);
    }

    workspace.grid = std::move(grid);
    workspace.changed = (*numbers)[3] != 0;
    workspace.executionEnabled = (*numbers)[4] != 0;
    workspace.caption = *caption;
    workspace.openDialogFileName = *openName;
    return true;
}

}  // namespace zorvan::web
