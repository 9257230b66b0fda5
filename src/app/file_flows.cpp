#include "app/file_flows.h"

#include <variant>

#include "app/line_editing.h"
#include "app/step_session.h"
#include "asm/assembly_pass.h"

namespace zorvan::app {
namespace {

FileStore& DiskFiles() {
    static FileStore files;
    return files;
}

}  // namespace

std::string ChangedElsewhereQuestion(std::string_view path) {
    return "Το αρχείο «" + std::string(path) +
           "» άλλαξε έξω από το Zorvan.\nΘέλετε να το ξαναφορτώσετε;\n(Με «Όχι» το πλέγμα μένει "
           "όπως είναι.)";
}

std::string OverwriteNewerQuestion(std::string_view path) {
    return "Το αρχείο «" + std::string(path) +
           "» άλλαξε έξω από το Zorvan.\nΘέλετε να το αντικαταστήσετε με το πρόγραμμα του "
           "πλέγματος;";
}

FileFlows::FileFlows(grid::Workspace& workspace, FileFlowHost& host)
    : FileFlows(workspace, host, DiskFiles()) {}

FileFlows::FileFlows(grid::Workspace& workspace, FileFlowHost& host, FileStore& files)
    : workspace_(workspace), host_(host), files_(files) {}

bool FileFlows::OfferToSave(std::string_view question) {
    if (workspace_.grid.ContentCount() == 0 || !workspace_.changed) return true;
    switch (host_.AskYesNo(question)) {
        case SaveAnswer::kCancel:
            return false;
        case SaveAnswer::kNo:
            return true;
        case SaveAnswer::kYes:
            break;
    }
    // Yes asked for the program to be kept: unless it was written, the command is called off,
    // whether the save dialog was cancelled, the save failed or a cell is to be corrected first.
    return Save() == SaveOutcome::kSaved;
}

void FileFlows::New() {
    workspace_.executionEnabled = false;
    if (!OfferToSave(kNewSaveQuestion)) return;
    ClearGrid(workspace_);
    workspace_.changed = false;
}

void FileFlows::Open() {
    if (OfferToSave(kOpenSaveQuestion)) {
        if (std::optional<std::string> path = host_.ChooseOpenFile()) ReadIntoGrid(*path);
    }
    workspace_.executionEnabled = true;
}

void FileFlows::OpenNamedFile(const std::string& path) {
    ReadIntoGrid(path);
    workspace_.executionEnabled = true;
}

void FileFlows::OpenRecentFile(const std::string& path) {
    if (OfferToSave(kOpenSaveQuestion)) ReadIntoGrid(path);
    workspace_.executionEnabled = true;
}

bool FileFlows::OpenExample(std::string_view programText) {
    if (!OfferToSave(kNewSaveQuestion)) return false;
    const std::vector<ProgramRow> rows = ReadProgramText(programText);
    ClearGrid(workspace_);
    PlaceProgramRows(workspace_.grid, rows);
    workspace_.changed = false;
    workspace_.executionEnabled = true;
    workspace_.EndHistory(std::string(kEndedByAssemble));
    const assembler::AssemblyResult result =
        assembler::Assemble(workspace_.grid, workspace_.machine);
    if (result.kind == assembler::AssemblyResult::Kind::kSummary)
        workspace_.ShowMessage(kExampleReadyNotice, grid::kAddressColumn, grid::Tone::kNotice);
    return true;
}

void FileFlows::ReadIntoGrid(const std::string& path) {
    auto read = files_.ReadAll(path);
    if (const auto* failure = std::get_if<FileFailure>(&read)) {
        host_.ShowWarning(failure->message);
        return;
    }
    const std::vector<ProgramRow> rows = ReadProgramText(std::get<std::string>(read));
    ClearGrid(workspace_);
    workspace_.changed = false;
    PlaceProgramRows(workspace_.grid, rows);
    workspace_.caption = std::string(grid::kApplicationTitle) + "-" + path;
    workspace_.openDialogFileName = path;
    workspace_.filePath = path;
    StampOwnFile();
    if (const auto warning = DescribeUnsavableCharacters(rows)) host_.ShowWarning(*warning);
}

SaveOutcome FileFlows::Save() {
    return SaveTo(false);
}

SaveOutcome FileFlows::QuickSave() {
    return SaveTo(!workspace_.filePath.empty());
}

SaveOutcome FileFlows::SaveTo(bool ownFile) {
    if (const auto cell = FindUnfaithfulCell(workspace_.grid)) {
        if (!host_.AskSaveAnyway(DescribeUnfaithfulCell(workspace_.grid, *cell))) {
            workspace_.grid.SetCurrent(cell->column, cell->row);
            return SaveOutcome::kWentBack;
        }
    }
    const std::optional<std::string> path =
        ownFile ? std::optional(workspace_.filePath) : host_.ChooseSaveFile();
    if (!path) return SaveOutcome::kCancelled;
    if (*path == stampedPath_ && stamp_ && files_.StampOf(*path) != stamp_ &&
        host_.AskYesNo(OverwriteNewerQuestion(*path)) != SaveAnswer::kYes) {
        return SaveOutcome::kCancelled;
    }
    if (const auto failure = files_.ReplaceAll(*path, WriteProgramText(workspace_.grid))) {
        host_.ShowWarning(failure->message);
        return SaveOutcome::kFailed;
    }
    workspace_.changed = false;
    workspace_.filePath = *path;
    StampOwnFile();
    return SaveOutcome::kSaved;
}

void FileFlows::StampOwnFile() {
    stampedPath_ = workspace_.filePath;
    stamp_ = files_.StampOf(stampedPath_);
    toldAbout_.reset();
}

void FileFlows::CheckOwnFile() {
    if (workspace_.filePath.empty() || workspace_.filePath != stampedPath_ || !stamp_) return;
    const std::optional<FileStamp> now = files_.StampOf(stampedPath_);
    // A file that went away is written again by the next save; nothing to reload.
    if (!now || now == stamp_ || now == toldAbout_) return;
    toldAbout_ = now;
    if (host_.AskYesNo(ChangedElsewhereQuestion(stampedPath_)) != SaveAnswer::kYes) return;
    if (OfferToSave(kOpenSaveQuestion)) ReadIntoGrid(stampedPath_);
}

bool FileFlows::Exit() {
    return OfferToSave(kExitSaveQuestion);
}

}  // namespace zorvan::app
