#include "app/recovery_copy.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <variant>

#include "app/line_editing.h"

namespace zorvan::app {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgramSuffix = ".zrv";
constexpr std::string_view kInfoSuffix = ".info";

// The process id of a file of the folder, or nothing for a file that is not one of ours.
std::optional<int> ProcessOf(const std::string& name, std::string_view suffix) {
    if (name.size() <= suffix.size() || !name.ends_with(suffix)) return std::nullopt;
    const std::string_view digits(name.data(), name.size() - suffix.size());
    int process = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), process);
    if (error != std::errc() || end != digits.data() + digits.size() || process <= 0) {
        return std::nullopt;
    }
    return process;
}

}  // namespace

RecoveryFolder::RecoveryFolder(std::string folder, int process, FileStore& files)
    : folder_(std::move(folder)), process_(process), files_(files) {}

std::string RecoveryFolder::ProgramPath(int process) const {
    return (fs::path(folder_) / (std::to_string(process) + std::string(kProgramSuffix))).string();
}

std::string RecoveryFolder::InfoPath(int process) const {
    return (fs::path(folder_) / (std::to_string(process) + std::string(kInfoSuffix))).string();
}

std::optional<FileFailure> RecoveryFolder::Write(const grid::Workspace& workspace,
                                                 std::int64_t now) {
    std::error_code ignored;
    fs::create_directories(folder_, ignored);
    openFile_ = workspace.filePath;
    // The program first: an info with a time always has its program beside it.
    if (auto failure = files_.ReplaceAll(ProgramPath(process_), WriteProgramText(workspace.grid))) {
        return failure;
    }
    return WriteInfo(now);
}

std::optional<FileFailure> RecoveryFolder::WriteInfo(std::int64_t savedAt) {
    std::error_code ignored;
    fs::create_directories(folder_, ignored);
    return files_.ReplaceAll(InfoPath(process_), std::to_string(savedAt) + "\n" + openFile_);
}

void RecoveryFolder::NoteOpenFile(const std::string& path) {
    if (path == openFile_) return;
    openFile_ = path;
    const std::optional<RecoveryCopy> info = ReadInfo(process_);
    WriteInfo(info ? info->savedAt : 0);
}

void RecoveryFolder::Discard() {
    std::error_code ignored;
    fs::remove(ProgramPath(process_), ignored);
}

void RecoveryFolder::Close() {
    Discard();
    std::error_code ignored;
    fs::remove(InfoPath(process_), ignored);
}

std::optional<RecoveryCopy> RecoveryFolder::ReadInfo(int process) const {
    auto read = files_.ReadAll(InfoPath(process));
    const auto* bytes = std::get_if<std::string>(&read);
    if (bytes == nullptr) return std::nullopt;
    RecoveryCopy copy{process, {}, 0};
    const std::size_t lineEnd = std::min(bytes->find('\n'), bytes->size());
    std::from_chars(bytes->data(), bytes->data() + lineEnd, copy.savedAt);
    if (lineEnd < bytes->size()) copy.filePath = bytes->substr(lineEnd + 1);
    return copy;
}

std::vector<RecoveryCopy> RecoveryFolder::Leftovers(const IsRunning& isRunning) const {
    std::vector<RecoveryCopy> copies;
    std::error_code failure;
    for (fs::directory_iterator entry(folder_, failure), end; !failure && entry != end;
         entry.increment(failure)) {
        const std::string name = entry->path().filename().string();
        const std::optional<int> process = ProcessOf(name, kProgramSuffix);
        const std::optional<int> infoOf = ProcessOf(name, kInfoSuffix);
        // This process has written nothing yet: a file with its id was left by an earlier one.
        const auto gone = [&](int id) { return id == process_ || !isRunning(id); };
        if (infoOf && gone(*infoOf) && !fs::exists(ProgramPath(*infoOf))) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
        if (!process || !gone(*process)) continue;
        // A program without its info (killed between the two files) is still the program.
        RecoveryCopy copy = ReadInfo(*process).value_or(RecoveryCopy{*process, {}, 0});
        if (copy.savedAt == 0) {
            const auto written = fs::last_write_time(entry->path(), failure);
            if (!failure) {
                // Through the two clocks' present, which every library can read.
                const auto age = std::filesystem::file_time_type::clock::now() - written;
                copy.savedAt = std::chrono::duration_cast<std::chrono::seconds>(
                                   (std::chrono::system_clock::now() - age).time_since_epoch())
                                   .count();
            }
            failure.clear();
        }
        copies.push_back(copy);
    }
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) {
        return a.savedAt != b.savedAt ? a.savedAt > b.savedAt : a.process < b.process;
    });
    return copies;
}

bool RecoveryFolder::OpenElsewhere(const std::string& path, const IsRunning& isRunning) const {
    if (path.empty()) return false;
    std::error_code failure;
    const std::string wanted = fs::weakly_canonical(path, failure).string();
    if (failure) return false;
    for (fs::directory_iterator entry(folder_, failure), end; !failure && entry != end;
         entry.increment(failure)) {
        const std::optional<int> process =
            ProcessOf(entry->path().filename().string(), kInfoSuffix);
        if (!process || *process == process_ || !isRunning(*process)) continue;
        const std::optional<RecoveryCopy> info = ReadInfo(*process);
        std::error_code ignored;
        if (info && !info->filePath.empty() &&
            fs::weakly_canonical(info->filePath, ignored).string() == wanted) {
            return true;
        }
    }
    return false;
}

std::optional<FileFailure> RecoveryFolder::Recover(const RecoveryCopy& copy,
                                                   grid::Workspace& workspace) {
    auto read = files_.ReadAll(ProgramPath(copy.process));
    if (auto* failure = std::get_if<FileFailure>(&read)) return *failure;
    ClearGrid(workspace);
    PlaceProgramRows(workspace.grid, ReadProgramText(std::get<std::string>(read)));
    workspace.changed = true;
    workspace.executionEnabled = true;
    workspace.filePath = copy.filePath;
    workspace.openDialogFileName = copy.filePath;
    workspace.caption = std::string(grid::kApplicationTitle);
    if (!copy.filePath.empty()) workspace.caption += "-" + copy.filePath;
    // Ours before the leftover goes: a crash in between leaves one of the two.
    if (copy.process != process_) {
        if (auto failure = Write(workspace, copy.savedAt)) return failure;
        Delete(copy);
    }
    return std::nullopt;
}

void RecoveryFolder::Delete(const RecoveryCopy& copy) const {
    std::error_code ignored;
    fs::remove(ProgramPath(copy.process), ignored);
    fs::remove(InfoPath(copy.process), ignored);
}

std::string RecoveryOfferText(const RecoveryCopy& copy, const std::tm& takenAt) {
    char when[32];
    std::snprintf(when, sizeof when, "%02d/%02d/%04d %02d:%02d:%02d", takenAt.tm_mday,
                  takenAt.tm_mon + 1, takenAt.tm_year + 1900, takenAt.tm_hour, takenAt.tm_min,
                  takenAt.tm_sec);
    const std::string program = copy.filePath.empty() ? std::string("ένα πρόγραμμα χωρίς όνομα")
                                                      : "το πρόγραμμα «" + copy.filePath + "»";
    return "Το Zorvan δεν έκλεισε κανονικά την τελευταία φορά.\nΒρέθηκε αντίγραφο ασφαλείας για " +
           program + ",\nαπό " + when +
           ".\n\nΑνάκτηση: το πρόγραμμα επανέρχεται στο πλέγμα, χωρίς αποθήκευση.\n"
           "Απόρριψη: το αντίγραφο διαγράφεται.";
}

}  // namespace zorvan::app
