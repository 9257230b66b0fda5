#pragma once
// Recovery copies: while a program has unsaved changes, each running copy of Zorvan keeps a copy
// of it in a folder of the user's data, so that a crash, a power cut or a kill loses at most the
// last few seconds of typing. The next start finds the copies of processes that no longer run
// and offers them back.
//
//   RecoveryFolder folder(dataFolder + "/recovery", getpid(), files);
//   for (const RecoveryCopy& copy : folder.Leftovers(isRunning)) ask, then Recover or Delete;
//   folder.Write(workspace, time(nullptr));    // a few seconds after a change
//   folder.Discard();                           // saved, or nothing left to lose
//   folder.Close();                             // clean exit
//
// Each process owns two files named by its process id: "<id>.zrv", the program in the program-file
// format, and "<id>.info", the time of the copy and the program's own file. The info of a process
// also tells other copies which file it has open, with or without unsaved changes.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/program_file.h"
#include "grid/workspace.h"

namespace zorvan::app {

struct RecoveryCopy {
    int process = 0;
    std::string filePath;      // the program's own file; empty for a program without a name
    std::int64_t savedAt = 0;  // seconds since the epoch
};

class RecoveryFolder {
  public:
    // Whether the process with this id still runs.
    using IsRunning = std::function<bool(int process)>;

    RecoveryFolder(std::string folder, int process, FileStore& files);

    // Writes the workspace's program and its file, each file atomically (a copy interrupted half
    // way leaves the previous one whole). The folder is created when missing.
    std::optional<FileFailure> Write(const grid::Workspace& workspace, std::int64_t now);
    // The program's own file, for other copies to see; the program copy stays as it is.
    void NoteOpenFile(const std::string& path);
    // Deletes this process's program copy: nothing unsaved is left to lose.
    void Discard();
    // Deletes every file of this process: it ends cleanly.
    void Close();

    // The program copies of processes that no longer run, newest first; asked at start, before
    // this process writes (a file with its own id is an earlier process's). The info files that
    // such processes left without a program copy are deleted on the way.
    std::vector<RecoveryCopy> Leftovers(const IsRunning& isRunning) const;
    // Whether another running process has this file open.
    bool OpenElsewhere(const std::string& path, const IsRunning& isRunning) const;

    // Puts a leftover program into the workspace as unsaved work of its file, takes it over as
    // this process's copy and deletes the leftover. Nothing changes when it cannot be read.
    std::optional<FileFailure> Recover(const RecoveryCopy& copy, grid::Workspace& workspace);
    // Deletes a leftover's files.
    void Delete(const RecoveryCopy& copy) const;

  private:
    std::string ProgramPath(int process) const;
    std::string InfoPath(int process) const;
    std::optional<RecoveryCopy> ReadInfo(int process) const;
    std::optional<FileFailure> WriteInfo(std::int64_t savedAt);

    std::string folder_;
    int process_;
    FileStore& files_;
    std::string openFile_;
};

// The Greek offer at start, naming the file and when the copy was taken (in local time).
std::string RecoveryOfferText(const RecoveryCopy& copy, const std::tm& takenAt);

}  // namespace zorvan::app
