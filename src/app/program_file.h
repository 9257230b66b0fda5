#pragma once
// Program files: the grid's data rows as plain Windows-1253 text, six whitespace-separated tokens a
// row, "_" for an empty cell, the comment's spaces written as underscores, CR LF line ends. Every
// byte survives opening and saving (see text/file_encoding.h); a UTF-8 file opens as UTF-8.
//
//   std::string bytes = WriteProgramText(grid);            // grid -> file bytes
//   PlaceProgramRows(grid, ReadProgramText(bytes));        // file bytes -> grid
//   Assemble(PackedProgram(std::move(bytes)), machine);    // file bytes -> memory, compactly
//
// Reading counts tokens, not lines: token k is column k % 6 of data row 1 + k / 6, and tokens that
// do not complete a row are dropped. The format has no escape, so a cell of columns 0-4 holding
// whitespace or starting with "_" does not read back the same: FindUnfaithfulCell finds one before
// it is written. FileStore reads and writes whole files and reports failures as values.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "grid/program_grid.h"

namespace zorvan::app {

using ProgramRow = std::array<std::string, grid::kGridColumnCount>;

// The bytes of a program file holding the data rows 1 to RowCount()-1 of the grid. A character
// that no byte stands for (only a UTF-8 file can bring one in) is written as "?".
std::string WriteProgramText(const grid::ProgramGrid& grid);

// The complete rows of a program file, as UTF-8 cell texts; undefined bytes read as stand-ins.
std::vector<ProgramRow> ReadProgramText(std::string_view bytes);

// A program file's complete rows as running it reads them, kept in the file's own text: cell for
// cell what PlaceProgramRows(grid, ReadProgramText(bytes)) puts into a fresh grid's columns 0-4,
// so that a huge file costs about its size rather than a grid's strings. The comments, which
// nothing that runs a program reads, and the header read as "".
class PackedProgram final : public grid::ProgramLines {
  public:
    PackedProgram() = default;
    explicit PackedProgram(std::string bytes);  // the file's bytes, taken over

    int RowCount() const override;  // the header and the complete rows: at least 2, as a grid's
    std::string_view Text(int column, int row) const override;
    std::size_t CompleteRows() const { return rowStarts_.size(); }

  private:
    std::string text_;                    // UTF-8
    std::vector<std::size_t> rowStarts_;  // where each complete row's first token starts
};

// Puts rows into the grid from row 1 and sets the row count to cover them (at least one data row,
// so that the user can go on typing). The stored rows beyond the new table are emptied, so that
// no text of an earlier program lingers there. The current cell and the header stay.
void PlaceProgramRows(grid::ProgramGrid& grid, const std::vector<ProgramRow>& rows);

// A cell that a program file cannot hold as it is.
struct UnfaithfulCell {
    enum class Reason {
        kWhitespace,          // splits into several tokens and shifts the rest of the row
        kLeadingUnderscore,   // reads back as an empty cell
        kUnsavableCharacter,  // outside Windows-1253
    };
    int column = 0;
    int row = 0;
    Reason reason = Reason::kWhitespace;
};

// The first such cell of the data rows, row by row, left to right. A comment may hold spaces and
// underscores (both read back as spaces by design), but no other whitespace.
std::optional<UnfaithfulCell> FindUnfaithfulCell(const grid::ProgramGrid& grid);

// The one Greek warning, naming them, when opened rows hold characters that saving cannot keep.
std::optional<std::string> DescribeUnsavableCharacters(const std::vector<ProgramRow>& rows);

// The Greek question that names the cell and asks whether to save anyway.
std::string DescribeUnfaithfulCell(const grid::ProgramGrid& grid, const UnfaithfulCell& cell);

// A file that could not be read or written, as the user is told: Greek, naming the file and the
// system's reason.
struct FileFailure {
    std::string message;
};

std::string OpenFailureMessage(std::string_view path, std::error_code reason);
std::string SaveFailureMessage(std::string_view path, std::error_code reason);

// What a file on disk is now, to tell whether something else wrote it since: a new write gives a
// new stamp (the save's rename makes a new file even within one clock tick).
struct FileStamp {
    std::int64_t modified = 0;  // nanoseconds
    std::uint64_t size = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};

// Whole-file access on disk. Tests derive from it to make a step fail.
class FileStore {
  public:
    virtual ~FileStore() = default;

    // The file's stamp, or nothing when there is no such file.
    virtual std::optional<FileStamp> StampOf(const std::string& path);

    // Every byte of the file, or why it could not be read (a folder is not a file).
    virtual std::variant<std::string, FileFailure> ReadAll(const std::string& path);

    // Replaces the file by these bytes at once: they are written to a new file beside it, which
    // is then renamed over it, so that a failure leaves the old file as it was. A symbolic link
    // is followed, the file's permissions are kept. Nothing on success.
    virtual std::optional<FileFailure> ReplaceAll(const std::string& path, std::string_view bytes);

  protected:
    // The step of ReadAll that reads an opened regular file to its end, after bytes.
    virtual std::error_code ReadContents(int fd, std::string& bytes);
    // The steps of ReplaceAll, apart so that tests can make each one fail.
    // Creates the new file from the template (its XXXXXX replaced) and opens it for writing.
    virtual std::error_code CreateTemporary(std::string& pathTemplate, int& fd);
    // Writes every byte (the disk may fill up on the way).
    virtual std::error_code WriteContents(int fd, std::string_view bytes);
    // The last step: puts the complete temporary file in place of the target.
    virtual std::error_code MoveIntoPlace(const std::string& temporary, const std::string& target);
};

}  // namespace zorvan::app
