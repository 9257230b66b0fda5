#pragma once
// The File menu's New, Open and Save, and Exit: their questions, file choices and warnings go
// through FileFlowHost, which the main window implements with message boxes and file dialogs and
// tests fake. Every rule about the grid, the caption, the changed flag and the three execution
// commands lives here.
//
//   FileFlows flows(workspace, host);
//   flows.Open();
//   if (flows.Exit()) close the application;

#include <optional>
#include <string>
#include <string_view>

#include "app/program_file.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr std::string_view kNewSaveQuestion =
    "Το πλέγμα έχει αλλάξει! Θέλετε να αποθηκεύσετε;";
inline constexpr std::string_view kExampleReadyNotice =
    "Το παράδειγμα μπήκε στο πλέγμα και συμβολομεταφράστηκε. Πατήστε F9 για να το εκτελέσετε.";
inline constexpr std::string_view kOpenSaveQuestion = "Θέλετε να αποθηκεύσετε πρώτα\nτο αρχείο;";
inline constexpr std::string_view kExitSaveQuestion =
    "Δεν έχει γινει αποθήκευση.\nΘέλετε να αποθηκεύσετε πρώτα;";

// The answer to a save-first question. Escape or closing the box is kCancel: the whole command is
// called off, so a key pressed by reflex never throws a program away.
enum class SaveAnswer { kYes, kNo, kCancel };

class FileFlowHost {
  public:
    virtual ~FileFlowHost() = default;

    // A warning message box with the buttons Yes and No.
    virtual SaveAnswer AskYesNo(std::string_view question) = 0;
    // The open dialog; the chosen file's full path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseOpenFile() = 0;
    // The save dialog, which asks before replacing an existing file; the chosen full path, or
    // nothing when the user cancels.
    virtual std::optional<std::string> ChooseSaveFile() = 0;
    // A warning message box with an OK button: a file could not be read or written.
    virtual void ShowWarning(std::string_view text) = 0;
    // A warning that a cell will not read back the same, with two choices: true to save anyway,
    // false to go back to the grid (the cell is then the current cell).
    virtual bool AskSaveAnyway(std::string_view text) = 0;
};

enum class SaveOutcome {
    kSaved,      // the file was written; the changed flag is clear
    kCancelled,  // the save dialog was cancelled; nothing written
    kWentBack,   // the user chose to correct a cell first; nothing written
    kFailed,     // the file could not be written; the user was warned; nothing changed
};

class FileFlows {
  public:
    // Files are read and written on disk.
    FileFlows(grid::Workspace& workspace, FileFlowHost& host);
    FileFlows(grid::Workspace& workspace, FileFlowHost& host, FileStore& files);

    // New: greys the execution commands, offers to save a changed grid, then empties it and
    // clears the changed flag. A save that was asked for and did not happen keeps the grid.
    void New();
    // Open: offers to save a changed grid, then reads the chosen file into the grid with its path
    // in the caption. The grid is emptied only once the file has been read, so a cancelled dialog
    // or an unreadable file leaves the program as it was. Enables the execution commands whatever
    // happened.
    void Open();
    // Opens a file named outside the open dialog (on the command line, from a file manager) as
    // Open does once its dialog has chosen it: into an untouched grid, so nothing is asked.
    void OpenNamedFile(const std::string& path);
    // Opens a file chosen from the recent files: as Open, with the file instead of the dialog.
    void OpenRecentFile(const std::string& path);
    // Puts a built-in example's text into the grid after New's save-first question: a new
    // program with no file, unchanged, assembled so that Run takes it at once, with a notice
    // that says so. False when called off.
    bool OpenExample(std::string_view programText);
    // Save: writes the grid to the chosen file, then clears the changed flag.
    SaveOutcome Save();
    // Quick save: as Save, but to the program's own file without a dialog once it has one; a
    // program without a file goes to the save dialog as Save does.
    SaveOutcome QuickSave();
    // Exit: offers to save a changed grid; true when the application should close, never after
    // a save that was asked for and did not happen.
    bool Exit();
    // When the window comes to the front: if the program's file was written by something else
    // since it was read or saved, offers once per such change to read it again (after the
    // save-first question). No keeps the grid, and Save will ask before writing over the file.
    void CheckOwnFile();

  private:
    // Remembers the program's file as it is on disk now: read or written by this program.
    void StampOwnFile();
    // Asks the question when the grid has content and has changed; then saves on Yes. True when
    // the calling command may go on: No, or Yes and the program was written.
    bool OfferToSave(std::string_view question);
    // Reads the file into the grid with its path in the caption, or warns and changes nothing.
    void ReadIntoGrid(const std::string& path);
    // Save's work, to the file the dialog chose, or to the program's own file without one.
    SaveOutcome SaveTo(bool ownFile);

    grid::Workspace& workspace_;
    FileFlowHost& host_;
    FileStore& files_;
    // The program's file as this program last read or wrote it, and the newer one the student
    // was last told about.
    std::string stampedPath_;
    std::optional<FileStamp> stamp_;
    std::optional<FileStamp> toldAbout_;
};

std::string ChangedElsewhereQuestion(std::string_view path);
std::string OverwriteNewerQuestion(std::string_view path);

}  // namespace zorvan::app
