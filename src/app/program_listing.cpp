#include "app/program_listing.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "asm/assembly_pass.h"
#include "asm/operand_syntax.h"
#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/hex_text.h"

namespace zorvan::app {

namespace {

// The line number, then the six grid columns.
constexpr int kListingFieldCount = 1 + grid::kGridColumnCount;
constexpr std::size_t kColumnGap = 2;

std::u32string PrintableCharacters(std::string_view utf8) {
    std::u32string characters = text::ToCharacters(utf8);
    for (char32_t& c : characters) {
        if (c < U' ' || c == U'\x7F') c = U' ';
    }
    return characters;
}

std::u32string RightAligned(const std::u32string& field, std::size_t width) {
    return std::u32string(width - std::min(width, field.size()), U' ') + field;
}

void TrimRight(std::u32string& line) {
    while (!line.empty() && line.back() == U' ') line.pop_back();
}

// Breaks a line into pieces of at most width characters; the pieces after the first are indented
// by indent spaces. A break falls after the last space of a piece when there is one in its second
// half, so that words stay whole where they can.
std::vector<std::string> Wrap(const std::u32string& line, std::size_t width, std::size_t indent) {
    std::vector<std::string> pieces;
    if (width == 0 || line.size() <= width) {
        pieces.push_back(text::FromCharacters(line));
        return pieces;
    }
    if (indent >= width) indent = 0;
    std::size_t start = 0;
    std::size_t room = width;
    std::u32string prefix;
    while (start < line.size()) {
        std::size_t length = std::min(room, line.size() - start);
        if (start + length < line.size()) {
            const std::u32string_view piece(line.data() + start, length);
            const std::size_t space = piece.rfind(U' ');
            if (space != std::u32string_view::npos && space >= length / 2) length = space + 1;
        }
        std::u32string text = prefix + line.substr(start, length);
        TrimRight(text);
        pieces.push_back(text::FromCharacters(text));
        start += length;
        while (start < line.size() && line[start] == U' ') ++start;
        prefix.assign(indent, U' ');
        room = width - indent;
    }
    return pieces;
}

using ListingFields = std::array<std::u32string, kListingFieldCount>;

struct ListingTable {
    std::vector<ListingFields> rows;
    std::array<std::size_t, kListingFieldCount> widths{};

    void Add(ListingFields fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            widths[i] = std::max(widths[i], fields[i].size());
        }
        rows.push_back(std::move(fields));
    }
};

ListingTable BuildTable(const grid::ProgramGrid& grid) {
    ListingTable table;
    for (int row = 1; row < grid.RowCount(); ++row) {
        ListingFields fields;
        fields[0] = text::ToCharacters(std::to_string(row) + ":");
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            fields[static_cast<std::size_t>(column) + 1] =
                PrintableCharacters(grid.Cell(column, row));
        }
        table.Add(std::move(fields));
    }
    return table;
}

std::u32string LayOut(const ListingFields& fields,
                      const std::array<std::size_t, kListingFieldCount>& widths) {
    std::u32string line = RightAligned(fields[0], widths[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (widths[i] == 0) continue;
        line.append(kColumnGap, U' ');
        line += fields[i];
        if (i + 1 < fields.size()) line.append(widths[i] - fields[i].size(), U' ');
    }
    TrimRight(line);
    return line;
}

std::vector<std::vector<std::string>> WrappedRows(const grid::ProgramGrid& grid,
                                                  std::size_t charactersPerLine) {
    const ListingTable table = BuildTable(grid);
    const std::size_t indent = table.widths[0] + kColumnGap;
    std::vector<std::vector<std::string>> rows;
    rows.reserve(table.rows.size());
    for (const auto& fields : table.rows) {
        rows.push_back(Wrap(LayOut(fields, table.widths), charactersPerLine, indent));
    }
    return rows;
}

std::vector<std::string> HeadingLines(std::string_view heading, std::size_t charactersPerLine) {
    if (heading.empty()) return {};
    return Wrap(PrintableCharacters(heading), charactersPerLine, 0);
}

std::vector<std::vector<std::string>> Distribute(const std::vector<std::vector<std::string>>& rows,
                                                 std::size_t bodyLines) {
    std::vector<std::vector<std::string>> pages(1);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            // A row starts on a fresh page when its lines do not fit on what is left of this one.
            const bool rowStart = i == 0;
            const std::size_t used = pages.back().size();
            const bool full = used >= bodyLines;
            const bool rowWouldSplit =
                rowStart && used > 0 && used + row.size() > bodyLines && row.size() <= bodyLines;
            if (full || rowWouldSplit) pages.emplace_back();
            pages.back().push_back(row[i]);
        }
    }
    return pages;
}

}  // namespace

std::vector<std::string> ListingRows(const grid::ProgramGrid& grid) {
    const ListingTable table = BuildTable(grid);
    std::vector<std::string> lines;
    lines.reserve(table.rows.size());
    for (const auto& fields : table.rows) {
        lines.push_back(text::FromCharacters(LayOut(fields, table.widths)));
    }
    return lines;
}

std::string PageNumberText(int page, int pageCount) {
    return "Σελίδα " + std::to_string(page) + " από " + std::to_string(pageCount);
}

std::vector<ListingPage> PaginateListing(const grid::ProgramGrid& grid, std::string_view heading,
                                         int linesPerPage, int charactersPerLine) {
    const std::size_t width = static_cast<std::size_t>(std::max(charactersPerLine, 1));
    const std::size_t pageLines = static_cast<std::size_t>(std::max(linesPerPage, 1));
    const std::vector<std::vector<std::string>> rows = WrappedRows(grid, width);
    const std::vector<std::string> headingLines = HeadingLines(heading, width);

    // The heading and the empty line under it; with several pages, also the page number line.
    const auto bodyLinesFor = [&](std::size_t headingLineCount) {
        const std::size_t taken = std::max<std::size_t>(headingLineCount, 1) + 1;
        return pageLines > taken ? pageLines - taken : std::size_t{1};
    };
    std::vector<std::vector<std::string>> bodies =
        Distribute(rows, bodyLinesFor(headingLines.size()));
    if (bodies.size() > 1) bodies = Distribute(rows, bodyLinesFor(headingLines.size() + 1));

    const int pageCount = static_cast<int>(bodies.size());
    std::vector<ListingPage> pages;
    pages.reserve(bodies.size());
    for (int page = 1; page <= pageCount; ++page) {
        ListingPage listingPage;
        listingPage.heading = headingLines;
        if (pageCount > 1) {
            listingPage.heading.push_back(PageNumberText(page, pageCount));
        } else if (listingPage.heading.empty()) {
            listingPage.heading.emplace_back();
        }
        listingPage.lines = std::move(bodies[static_cast<std::size_t>(page) - 1]);
        pages.push_back(std::move(listingPage));
    }
    return pages;
}

constexpr std::string_view kNotAssembledNote =
    "δεν συμβολομεταφράζεται: η συμβολομετάφραση σταματά στην πρώτη γραμμή χωρίς εντολή";

AssembledListing ListAssembledProgram(const grid::ProgramGrid& grid) {
    const assembler::OperandResolver resolver(grid);
    ListingTable table;
    std::vector<std::string> errors;  // one a row, empty when it has none
    bool inProgram = true;
    for (int row = 1; row < grid.RowCount(); ++row) {
        inProgram = inProgram && !grid.Cell(grid::kInstructionColumn, row).empty();
        std::string bytes;
        std::string error;
        if (inProgram) {
            try {
                const assembler::LineTranslation line =
                    assembler::TranslateLine(grid, resolver, row);
                if (line.failure) {
                    error = line.failure->text;
                } else {
                    for (int k = 0; k < line.length; ++k) {
                        if (k > 0) bytes += ' ';
                        bytes += text::FormatHex2(line.bytes[static_cast<std::size_t>(k)]);
                    }
                }
            } catch (const text::ConversionError& failure) {
                error = failure.what();
            }
        } else if (!grid.Cell(grid::kInstructionColumn, row).empty()) {
            // The pass stops at the first row without an instruction: say so, not silently.
            error = std::string(kNotAssembledNote);
        }
        ListingFields fields;
        fields[0] = PrintableCharacters(grid.Cell(grid::kAddressColumn, row));
        fields[1] = text::ToCharacters(bytes);
        fields[2] = PrintableCharacters(grid.Cell(grid::kLabelColumn, row));
        for (int column = grid::kInstructionColumn; column < grid::kGridColumnCount; ++column) {
            fields[static_cast<std::size_t>(column) + 1] =
                PrintableCharacters(grid.Cell(column, row));
        }
        table.Add(std::move(fields));
        errors.push_back(std::move(error));
    }

    // The error line starts under the label column.
    std::size_t indent = table.widths[0];
    if (table.widths[1] > 0) indent += kColumnGap + table.widths[1];
    indent += kColumnGap;
    AssembledListing listing;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        listing.lines.push_back(text::FromCharacters(LayOut(table.rows[i], table.widths)));
        if (errors[i].empty()) continue;
        if (errors[i] != kNotAssembledNote) ++listing.failedLines;
        std::u32string line(indent, U' ');
        line += U"^ " + PrintableCharacters(errors[i]);
        listing.lines.push_back(text::FromCharacters(line));
    }
    return listing;
}

}  // namespace zorvan::app
