#pragma once
// What assembling and running a program read of it: its row count and its cells' texts. The
// program grid is one; a program file read only to be run is another (app::PackedProgram), kept
// in the file's own text so that a huge file costs about its size.

#include <string_view>

namespace zorvan::grid {

class ProgramLines {
  public:
    ProgramLines() = default;
    ProgramLines(const ProgramLines&) = default;
    ProgramLines& operator=(const ProgramLines&) = default;
    virtual ~ProgramLines() = default;

    // Row 0 is the header; rows 1 to RowCount()-1 are the data rows.
    virtual int RowCount() const = 0;
    // Any column and row; "" where nothing is stored. Valid until the lines change.
    virtual std::string_view Text(int column, int row) const = 0;
};

}  // namespace zorvan::grid
