#include "app/program_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "text/characters.h"
#include "text/file_encoding.h"
#include "text/os_error.h"

namespace zorvan::app {
namespace {

constexpr char kPlaceholder = '_';
// Opening a table empties every row after it up to this one at least, however short the table:
// rows 1-49 never keep text from the table before, stored or not (more are emptied when more are
// stored).
constexpr int kRowsAlwaysEmptied = 49;

bool IsFileWhitespace(char32_t character) {
    return character == U' ' || (character >= U'\t' && character <= U'\r');
}

void AppendEncoded(std::string& bytes, std::string_view utf8) {
    for (char32_t character : text::ToCharacters(utf8)) {
        bytes.push_back(static_cast<char>(text::FileByteOf(character).value_or('?')));
    }
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Writes every byte, going on after a partial write or an interruption.
std::error_code WriteWhole(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// The permissions a new file would get from the process's file-creation mask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

std::string NotARegularFileMessage(const std::string& path) {
    return "Δεν ήταν δυνατό να ανοιχτεί το αρχείο «" + path +
           "».\nΔεν είναι κανονικό αρχείο: είναι συσκευή, σωλήνας ή υποδοχή.";
}

}  // namespace

std::string WriteProgramText(const grid::ProgramGrid& grid) {
    std::string bytes;
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid::kCommentColumn; ++column) {
            const std::string& cell = grid.Cell(column, row);
            if (cell.empty()) {
                bytes.push_back(kPlaceholder);
            } else {
                AppendEncoded(bytes, cell);
            }
            bytes.push_back(' ');
        }
        std::string comment = grid.Cell(grid::kCommentColumn, row);
        if (comment.empty()) {
            bytes += "_ ";
        } else {
            std::replace(comment.begin(), comment.end(), ' ', kPlaceholder);
            AppendEncoded(bytes, comment);
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<ProgramRow> ReadProgramText(std::string_view bytes) {
    const bool utf8 = text::IsUtf8Text(bytes);
    if (utf8 && bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);  // a byte-order mark
    std::vector<ProgramRow> rows;
    ProgramRow row;
    int column = 0;
    std::size_t i = 0;
    while (true) {
        while (i < bytes.size() && IsFileWhitespace(static_cast<unsigned char>(bytes[i]))) ++i;
        if (i == bytes.size()) break;
        const std::size_t start = i;
        while (i < bytes.size() && !IsFileWhitespace(static_cast<unsigned char>(bytes[i]))) ++i;
        const std::string_view raw = bytes.substr(start, i - start);
        std::string token = utf8 ? std::string(raw) : text::DecodeFileBytes(raw);

        if (column < grid::kCommentColumn) {
            row[static_cast<std::size_t>(column)] =
                token.front() == kPlaceholder ? std::string() : std::move(token);
            ++column;
        } else {
            std::replace(token.begin(), token.end(), kPlaceholder, ' ');
            row[grid::kCommentColumn] = std::move(token);
            rows.push_back(std::move(row));
            row = ProgramRow();
            column = 0;
        }
    }
    return rows;
}

PackedProgram::PackedProgram(std::string bytes) {
    const bool utf8 = text::IsUtf8Text(bytes);
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (utf8 || ascii) {  // ASCII decodes to itself
        text_ = std::move(bytes);
    } else {
        text_ = text::DecodeFileBytes(bytes);
        std::string().swap(bytes);  // not held twice
    }
    // Tokens are found in the decoded text where they were in the bytes: no byte of a character
    // above 7F is white space.
    std::size_t i = utf8 && text_.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    int column = 0;
    while (true) {
        while (i < text_.size() && IsFileWhitespace(static_cast<unsigned char>(text_[i]))) ++i;
        if (i == text_.size()) break;
        if (column == 0) rowStarts_.push_back(i);
        while (i < text_.size() && !IsFileWhitespace(static_cast<unsigned char>(text_[i]))) ++i;
        column = (column + 1) % grid::kGridColumnCount;
    }
    if (column != 0) rowStarts_.pop_back();  // tokens that do not complete a row
    rowStarts_.shrink_to_fit();
}

int PackedProgram::RowCount() const {
    constexpr std::size_t kMostRows = std::numeric_limits<int>::max() - 1;
    return static_cast<int>(std::max<std::size_t>(std::min(rowStarts_.size(), kMostRows) + 1, 2));
}

std::string_view PackedProgram::Text(int column, int row) const {
    if (row < 1 || static_cast<std::size_t>(row) > rowStarts_.size() || column < 0 ||
        column >= grid::kCommentColumn)
        return {};
    std::size_t i = rowStarts_[static_cast<std::size_t>(row) - 1];
    for (int k = 0;; ++k) {
        const std::size_t start = i;
        while (i < text_.size() && !IsFileWhitespace(static_cast<unsigned char>(text_[i]))) ++i;
        if (k == column) {
            if (text_[start] == kPlaceholder) return {};
            return std::string_view(text_).substr(start, i - start);
        }
        while (IsFileWhitespace(static_cast<unsigned char>(text_[i]))) ++i;  // a row goes on
    }
}

void PlaceProgramRows(grid::ProgramGrid& grid, const std::vector<ProgramRow>& rows) {
    int rowNumber = 1;
    for (const ProgramRow& row : rows) {
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            grid.SetCell(column, rowNumber, row[static_cast<std::size_t>(column)]);
        }
        ++rowNumber;
    }
    const int rowCount = std::max(rowNumber, 2);
    const int lastEmptied = std::max(kRowsAlwaysEmptied, grid.StoredRowCount() - 1);
    for (int row = rowNumber; row <= lastEmptied; ++row) {
        grid.ClearRow(row);
    }
    grid.SetRowCount(rowCount);
    // A different program: the old lines' breakpoints mean nothing for it.
    grid.ClearBreakpoints();
}

std::optional<UnfaithfulCell> FindUnfaithfulCell(const grid::ProgramGrid& grid) {
    using Reason = UnfaithfulCell::Reason;
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            const std::string& cell = grid.Cell(column, row);
            if (column != grid::kCommentColumn && !cell.empty() && cell.front() == kPlaceholder) {
                return UnfaithfulCell{column, row, Reason::kLeadingUnderscore};
            }
            for (char32_t character : text::ToCharacters(cell)) {
                const bool allowedSpace = column == grid::kCommentColumn && character == U' ';
                if (IsFileWhitespace(character) && !allowedSpace) {
                    return UnfaithfulCell{column, row, Reason::kWhitespace};
                }
                if (!text::FileByteOf(character)) {
                    return UnfaithfulCell{column, row, Reason::kUnsavableCharacter};
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> DescribeUnsavableCharacters(const std::vector<ProgramRow>& rows) {
    constexpr std::size_t kNamedAtMost = 10;
    std::u32string found;
    bool more = false;
    for (const ProgramRow& row : rows) {
        for (const std::string& cell : row) {
            for (char32_t character : text::ToCharacters(cell)) {
                if (text::FileByteOf(character) || found.find(character) != std::u32string::npos)
                    continue;
                if (found.size() == kNamedAtMost) {
                    more = true;
                } else {
                    found.push_back(character);
                }
            }
        }
    }
    if (found.empty()) return std::nullopt;
    std::string names;
    for (char32_t character : found) {
        if (!names.empty()) names += ", ";
        names += "«";
        text::AppendCharacter(names, character);
        names += "»";
    }
    if (more) names += " κ.ά.";
    return "Το αρχείο έχει χαρακτήρες που δεν χωρούν στην κωδικοσελίδα Windows-1253 των "
           "αρχείων προγράμματος: " +
           names + ".\nΑν το πρόγραμμα αποθηκευτεί, θα γραφτούν ως «?».";
}

std::string DescribeUnfaithfulCell(const grid::ProgramGrid& grid, const UnfaithfulCell& cell) {
    std::string what;
    switch (cell.reason) {
        case UnfaithfulCell::Reason::kWhitespace:
            what = "περιέχει κενό διάστημα";
            break;
        case UnfaithfulCell::Reason::kLeadingUnderscore:
            what = "αρχίζει με «_»";
            break;
        case UnfaithfulCell::Reason::kUnsavableCharacter:
            what = "περιέχει χαρακτήρα που δεν αποθηκεύεται";
            break;
    }
    return "Το κελί της γραμμής " + std::to_string(cell.row) + ", στήλη " +
           std::to_string(cell.column) + " (" + grid.Cell(cell.column, 0) + ") " + what +
           " και δεν θα ξαναδιαβαστεί όπως είναι.\nΘέλετε να αποθηκεύσετε παρ' όλα αυτά;";
}

std::string OpenFailureMessage(std::string_view path, std::error_code reason) {
    return "Δεν ήταν δυνατό να ανοιχτεί το αρχείο «" + std::string(path) + "».\n" +
           text::GreekSystemError(reason.value());
}

std::string SaveFailureMessage(std::string_view path, std::error_code reason) {
    return "Δεν ήταν δυνατό να αποθηκευτεί το αρχείο «" + std::string(path) + "».\n" +
           text::GreekSystemError(reason.value());
}

std::optional<FileStamp> FileStore::StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
                     std::uint64_t(info.st_size), std::uint64_t(info.st_ino)};
}

std::variant<std::string, FileFailure> FileStore::ReadAll(const std::string& path) {
    // Non-blocking, so that a named pipe without a writer cannot hold the program up; only a
    // regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const std::error_code reason = LastError();
        // A socket cannot be opened at all; it is told as what it is, not by the system's reason.
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
            return FileFailure{NotARegularFileMessage(path)};
        }
        return FileFailure{OpenFailureMessage(path, reason)};
    }

    // Closed however reading ends, running out of memory included.
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    std::error_code failure;
    std::string bytes;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        failure = LastError();
    } else if (S_ISDIR(info.st_mode)) {
        failure = std::make_error_code(std::errc::is_a_directory);
    } else if (!S_ISREG(info.st_mode)) {
        return FileFailure{NotARegularFileMessage(path)};
    } else {
        // Room for the whole file at once: growing as it is read would hold it about twice over.
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        failure = ReadContents(fd, bytes);
    }
    if (failure) return FileFailure{OpenFailureMessage(path, failure)};
    return bytes;
}

std::optional<FileFailure> FileStore::ReplaceAll(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const auto fail = [&path](std::error_code reason) {
        return FileFailure{SaveFailureMessage(path, reason)};
    };

    fs::path target(path);
    std::error_code ignored;
    if (fs::is_symlink(target, ignored)) {
        const fs::path resolved = fs::weakly_canonical(target, ignored);
        if (!ignored) target = resolved;
    }
    if (target.filename().empty()) return fail(std::make_error_code(std::errc::is_a_directory));

    mode_t mode = NewFileMode();
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return fail(std::make_error_code(std::errc::is_a_directory));
        // Renaming would replace a file that may not be written; refuse as writing in place would.
        if (::access(target.c_str(), W_OK) != 0) return fail(LastError());
        mode = existing.st_mode & 07777;
    }

    // Hidden, beside the target: the rename stays within one file system.
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = -1;
    if (const std::error_code failure = CreateTemporary(temporary, fd)) return fail(failure);

    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Keep the owner where allowed; a file that changes hands is no failure of the save.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
    }
    std::error_code failure = WriteContents(fd, bytes);
    if (!failure && ::fchmod(fd, mode) != 0) failure = LastError();
    if (!failure && ::fsync(fd) != 0) failure = LastError();
    if (::close(fd) != 0 && !failure) failure = LastError();
    if (!failure) failure = MoveIntoPlace(temporary, target.string());
    if (failure) {
        ::unlink(temporary.c_str());
        return fail(failure);
    }
    return std::nullopt;
}

std::error_code FileStore::ReadContents(int fd, std::string& bytes) {
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        if (got == 0) return {};
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::error_code FileStore::CreateTemporary(std::string& pathTemplate, int& fd) {
    fd = ::mkstemp(pathTemplate.data());
    return fd < 0 ? LastError() : std::error_code{};
}

std::error_code FileStore::WriteContents(int fd, std::string_view bytes) {
    return WriteWhole(fd, bytes);
}

std::error_code FileStore::MoveIntoPlace(const std::string& temporary, const std::string& target) {
    if (std::rename(temporary.c_str(), target.c_str()) != 0) return LastError();
    return {};
}

}  // namespace zorvan::app
