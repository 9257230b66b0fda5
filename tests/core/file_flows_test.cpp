// Every command that could lose a changed program asks first, and a save that fails at any step
// never damages the file that was there, never clears the changed flag and tells the user.
#include "app/file_flows.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "app/line_editing.h"
#include "app/recent_files.h"
#include "app/recovery_copy.h"
#include "app/window_places.h"
#include "editor_fixture.h"
#include "temp_folder.h"
#include "text/os_error.h"

namespace zorvan::app {
namespace {

using ::zorvan::testing::FileBytes;

// A file-flow host that answers from a script and writes down every question, dialog and
// warning in order.
class ScriptedFlowHost : public FileFlowHost {
  public:
    bool yes = false;
    bool cancel = false;  // Escape on the save-first question
    bool saveAnyway = false;
    std::optional<std::string> openChoice;
    std::optional<std::string> saveChoice;
    std::vector<std::string> log;

    SaveAnswer AskYesNo(std::string_view question) override {
        log.push_back("ask " + std::string(question));
        if (cancel) return SaveAnswer::kCancel;
        return yes ? SaveAnswer::kYes : SaveAnswer::kNo;
    }
    std::optional<std::string> ChooseOpenFile() override {
        log.push_back("open dialog");
        return openChoice;
    }
    std::optional<std::string> ChooseSaveFile() override {
        log.push_back("save dialog");
        return saveChoice;
    }
    void ShowWarning(std::string_view text) override {
        log.push_back("warning " + std::string(text));
    }
    bool AskSaveAnyway(std::string_view text) override {
        log.push_back("save anyway? " + std::string(text));
        return saveAnyway;
    }
};

// Real files on disk, with the step chosen by its error made to fail as the system would:
// creating the temporary file, writing it (the disk fills half way) or moving it into place.
struct FaultyStore : FileStore {
    std::error_code CreateTemporary(std::string& name, int& fd) override {
        return fault == std::errc::permission_denied ? fault : FileStore::CreateTemporary(name, fd);
    }
    std::error_code WriteContents(int fd, std::string_view bytes) override {
        if (fault != std::errc::no_space_on_device) return FileStore::WriteContents(fd, bytes);
        FileStore::WriteContents(fd, bytes.substr(0, bytes.size() / 2));
        return fault;
    }
    std::error_code MoveIntoPlace(const std::string& from, const std::string& to) override {
        if (fault == std::errc::operation_not_permitted) return fault;
        return FileStore::MoveIntoPlace(from, to);
    }
    std::error_code fault;  // none by default
};

struct Fixture {
    ::zorvan::testing::TempFolder folder;
    grid::Workspace workspace;
    ScriptedFlowHost host;
    FaultyStore files;
    FileFlows flows{workspace, host, files};

    // The recovery folder as the process of that id sees it, and the names in it.
    RecoveryFolder Of(int process) { return RecoveryFolder(folder / "recovery", process, files); }
    std::vector<std::string> Names() const { return folder.Names("recovery"); }

    // A one-line program as typed, and the line after it with only its address, from a file.
    void TypeProgram(bool changed, bool content = true) {
        if (content) workspace = testing::WorkspaceWith({{"", "0200", "LDA", "#05"}, {"", "0202"}});
        workspace.caption = "Zorvan-old.zrv";
        workspace.changed = changed;
        workspace.executionEnabled = true;
    }
};

// Each command, true when it saved (Save) or the application should close (Exit).
using Command = bool (*)(FileFlows&);
constexpr Command kSave = [](FileFlows& f) { return f.Save() == SaveOutcome::kSaved; };
constexpr Command kNew = [](FileFlows& f) { return f.New(), false; };
constexpr Command kOpen = [](FileFlows& f) { return f.Open(), false; };
constexpr Command kExit = [](FileFlows& f) { return f.Exit(); };
constexpr Command kRecent = [](FileFlows& f) {
    return f.OpenRecentFile(ZORVAN_TEST_DATA "/sum.zrv"), false;
};

TEST(FileFlowsTest, AskToSaveOnlyAChangedGridWithContent) {
    // The grid before: content and the changed flag; the answer (y Yes, n No, c Escape) and
    // whether the save dialog chooses a file; then the questions and dialogs in order, and what
    // is true afterwards.
    struct Case {
        Command command;
        bool content, changed;
        char answer;
        bool chosen;
        std::vector<std::string> log;
        bool changedAfter, emptied, exits;
    };
    const std::string n = "ask " + std::string(kNewSaveQuestion), s = "save dialog",
                      o = "open dialog", x = "ask " + std::string(kExitSaveQuestion),
                      p = "ask " + std::string(kOpenSaveQuestion);
    // clang-format off
    const Case cases[] = {
        {kNew,  true,  true,  'n', false, {n},       false, true,  false},
        {kNew,  true,  true,  'y', true,  {n, s},    false, true,  false},
        // Yes and a cancelled save dialog call the command off, as Escape on the question does.
        {kNew,  true,  true,  'y', false, {n, s},    true,  false, false},
        {kNew,  true,  true,  'c', false, {n},       true,  false, false},
        {kNew,  true,  false, 'y', false, {},        false, true,  false},
        {kNew,  false, true,  'y', false, {},        false, true,  false},
        // A cancelled open dialog keeps the program and its changed flag.
        {kOpen, true,  true,  'n', false, {p, o},    true,  false, false},
        {kOpen, true,  true,  'y', false, {p, s},    true,  false, false},
        {kOpen, true,  true,  'c', false, {p},       true,  false, false},
        {kOpen, true,  true,  'y', true,  {p, s, o}, false, false, false},
        {kOpen, true,  false, 'y', false, {o},       false, false, false},
        // A recent file is read after the same question, without the dialog.
        {kRecent, true, true, 'n', false, {p},       false, false, false},
        {kRecent, true, true, 'y', false, {p, s},    true,  false, false},
        {kOpen, false, true,  'y', false, {o},       true,  false, false},
        {kExit, true,  true,  'n', false, {x},       true,  false, true},
        {kExit, true,  true,  'y', true,  {x, s},    false, false, true},
        {kExit, true,  true,  'y', false, {x, s},    true,  false, false},
        {kExit, true,  true,  'c', false, {x},       true,  false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Fixture f;
        f.TypeProgram(c.changed, c.content);
        const std::string caption = f.workspace.caption;
        f.host.yes = c.answer == 'y';
        f.host.cancel = c.answer == 'c';
        if (c.chosen) f.host.saveChoice = f.folder / "p.zrv";

        EXPECT_EQ(c.command(f.flows), c.exits);
        EXPECT_EQ(f.host.log, c.log);
        EXPECT_EQ(f.workspace.changed, c.changedAfter);
        EXPECT_EQ(f.workspace.grid.ContentCount() == 0 && f.workspace.caption == "Zorvan",
                  c.emptied);
        // Called off, the program and its caption stay.
        if (c.changedAfter && c.content)
            EXPECT_TRUE(f.workspace.grid.Cell(grid::kInstructionColumn, 1) == "LDA" &&
                        f.workspace.caption == caption);
        EXPECT_EQ(FileBytes(f.folder / "p.zrv"),
                  c.chosen ? "_ 0200 LDA #05 _ _ \r\n_ 0202 _ _ _ _ \r\n" : "");
        // New greys the execution commands, Open enables them, whatever happens.
        if (c.command != kExit) EXPECT_EQ(f.workspace.executionEnabled, c.command != kNew);
    }
}

TEST(FileFlowsTest, AFailedSaveKeepsTheOldFileAndTheChangedFlagAndTellsTheUser) {
    // Save itself, and New, Open and Exit answered Yes; with is_a_directory no step fails but a
    // folder is in the file's place.
    const std::string old = "_ 0300 LDA #01 _ the_old_program\r\n";
    for (const Command command : {kSave, kNew, kOpen, kExit}) {
        for (const std::errc reason :
             {std::errc::permission_denied, std::errc::no_space_on_device,
              std::errc::operation_not_permitted, std::errc::is_a_directory}) {
            Fixture f;
            const std::string path = f.folder / "p.zrv";
            SCOPED_TRACE(std::make_error_code(reason).message());
            reason == std::errc::is_a_directory ? void(std::filesystem::create_directory(path))
                                                : ::zorvan::testing::PutFile(path, old);
            f.TypeProgram(true);
            f.files.fault = std::make_error_code(reason);
            f.host.yes = true;
            f.host.saveChoice = path;

            EXPECT_FALSE(command(f.flows)) << "not saved; a program that was not saved stays";
            EXPECT_EQ(f.host.log.front().rfind(command == kSave ? "save dialog" : "ask ", 0), 0u);
            EXPECT_EQ(f.host.log.back(), "warning Δεν ήταν δυνατό να αποθηκευτεί το αρχείο «" +
                                             path + "».\n" +
                                             text::GreekSystemError(f.files.fault.value()));
            EXPECT_TRUE(f.workspace.changed &&
                        f.workspace.grid.Cell(grid::kInstructionColumn, 1) == "LDA");
            if (reason != std::errc::is_a_directory) EXPECT_EQ(FileBytes(path), old);
            EXPECT_EQ(f.folder.Names(), std::vector<std::string>{"p.zrv"}) << "no temporary file";
        }
    }
}

TEST(FileFlowsTest, OpenReadsTheFileOrWarnsAndChangesNothing) {
    // A missing file, a folder, a device and a named pipe without a writer (which would block a
    // plain read) are not read, and the changed program stays as it was. Open asks first
    // (answered No); a file named outside the dialog is opened without a question.
    const ::zorvan::testing::TempFolder folder;
    const std::string pipe = folder / "pipe.zrv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const bool named : {false, true}) {
        for (const std::string& path :
             {std::string(ZORVAN_TEST_DATA "/sum.zrv"), std::string(ZORVAN_TEST_DATA "/gone.zrv"),
              std::string(ZORVAN_TEST_DATA), std::string("/dev/null"), pipe}) {
            Fixture f;
            f.TypeProgram(true);
            f.workspace.executionEnabled = false;
            f.host.openChoice = path;
            named ? f.flows.OpenNamedFile(path) : f.flows.Open();
            const bool read = path.ends_with("sum.zrv");
            EXPECT_EQ(f.host.log.size(), (named ? 0u : 2u) + (read ? 0u : 1u));
            if (!named) EXPECT_EQ(f.host.log.at(1), "open dialog");
            const std::string warning = "warning Δεν ήταν δυνατό να ανοιχτεί το αρχείο «" + path;
            if (!read) EXPECT_EQ(f.host.log.back().rfind(warning + "»", 0), 0u);
            EXPECT_EQ(f.workspace.caption + "|" + f.workspace.openDialogFileName,
                      read ? "Zorvan-" + path + "|" + path : "Zorvan-old.zrv|");
            EXPECT_EQ(f.workspace.grid.Cell(grid::kInstructionColumn, 2), read ? "STA" : "");
            EXPECT_TRUE(f.workspace.changed != read && f.workspace.executionEnabled) << path;
        }
    }
}

TEST(FileFlowsTest, SaveWarnsAboutACellThatWouldNotReadBack) {
    for (bool saveAnyway : {false, true}) {
        Fixture f;
        f.TypeProgram(true);
        f.workspace.grid.SetCell(grid::kLabelColumn, 2, "_end");
        f.host.saveAnyway = saveAnyway;
        f.host.saveChoice = f.folder / "p.zrv";
        EXPECT_EQ(f.flows.Save(), saveAnyway ? SaveOutcome::kSaved : SaveOutcome::kWentBack);
        EXPECT_EQ(f.host.log.at(0).rfind("save anyway? Το κελί της γραμμής 2, στήλη 0", 0), 0u);
        EXPECT_EQ(f.host.log.size(), saveAnyway ? 2u : 1u) << "the save dialog only if saved";
        EXPECT_EQ(f.workspace.changed, !saveAnyway);
        EXPECT_EQ(FileBytes(f.folder / "p.zrv"),
                  saveAnyway ? "_ 0200 LDA #05 _ _ \r\n_end 0202 _ _ _ _ \r\n" : "");
        if (saveAnyway) continue;
        EXPECT_EQ(f.workspace.grid.Col() * 10 + f.workspace.grid.Row(),
                  grid::kLabelColumn * 10 + 2);
        f.host.yes = true;
        EXPECT_FALSE(f.flows.Exit()) << "going back to correct the cell keeps the program open";
    }
}

TEST(FileFlowsTest, QuickSaveWritesTheProgramsOwnFileWithoutADialog) {
    // How the program came to be: read from a file, saved once through the dialog, typed anew, or
    // read and then cleared. Quick save is pressed twice; the dialog may come up only the first
    // time, and only for a program without a file.
    enum class From { kFile, kSaved, kTyped, kCleared };
    const struct {
        From from;
        bool fault;
        std::vector<std::string> log;
    } cases[] = {{From::kFile, false, {}},
                 {From::kSaved, false, {}},
                 {From::kTyped, false, {"save"}},
                 {From::kCleared, false, {"save"}},
                 {From::kFile, true, {"warning", "warning"}}};
    const std::string old = "_ 0300 LDA #01 _ _ \r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Fixture f;
        const std::string own = f.folder / "own.zrv", chosen = f.folder / "chosen.zrv";
        ::zorvan::testing::PutFile(own, old);
        f.host.saveChoice = chosen;
        if (c.from == From::kFile || c.from == From::kCleared) f.flows.OpenNamedFile(own);
        if (c.from == From::kCleared) ClearGrid(f.workspace);
        if (c.from == From::kSaved) {
            f.TypeProgram(true);
            ASSERT_EQ(f.flows.Save(), SaveOutcome::kSaved);
            f.host.log.clear();
        }
        if (c.from == From::kTyped) f.TypeProgram(true);
        f.workspace.grid.SetCell(grid::kCommentColumn, 1, "new");
        f.workspace.changed = true;
        if (c.fault) f.files.fault = std::make_error_code(std::errc::permission_denied);

        const SaveOutcome expected = c.fault ? SaveOutcome::kFailed : SaveOutcome::kSaved;
        EXPECT_EQ(f.flows.QuickSave(), expected);
        EXPECT_EQ(f.flows.QuickSave(), expected);
        for (std::string& line : f.host.log) line = line.substr(0, line.find(' '));
        EXPECT_EQ(f.host.log, c.log);
        EXPECT_EQ(f.workspace.changed, c.fault);
        const std::string target = c.from == From::kFile ? own : chosen;
        EXPECT_EQ(FileBytes(target).find("new") != std::string::npos, !c.fault);
        if (target != own || c.fault) EXPECT_EQ(FileBytes(own), old) << "the read file untouched";
    }
}

TEST(FileFlowsTest, AFileWrittenElsewhereIsOfferedAgainOnceAndNotOverwrittenUnasked) {
    // Whether the file was written elsewhere after it was opened, and the answers to the reload
    // question and then to the question before Save writes over it.
    const struct {
        bool writtenElsewhere;
        bool reload;
        bool overwrite;
        std::vector<std::string> log;  // activation twice, then Quick save
        std::string onDisk;            // comment of the file's line at the end
    } cases[] = {{false, false, false, {}, "mine"},
                 {true, true, false, {"ask", "ask"}, "theirs"},  // reloaded, changed again, kept
                 {true, false, false, {"ask", "ask"}, "theirs"},
                 {true, false, true, {"ask", "ask"}, "mine"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Fixture f;
        const std::string own = f.folder / "own.zrv";
        ::zorvan::testing::PutFile(own, "_ 0300 LDA #01 _ first\r\n");
        f.flows.OpenNamedFile(own);
        const auto replacedElsewhere = [&] {  // by another program, as a save replaces a file
            ::zorvan::testing::PutFile(own + ".new", "_ 0300 LDA #01 _ theirs\r\n");
            std::filesystem::rename(own + ".new", own);
        };
        if (c.writtenElsewhere) replacedElsewhere();
        f.host.yes = c.reload;
        f.flows.CheckOwnFile();
        f.flows.CheckOwnFile();
        EXPECT_EQ(f.workspace.grid.Cell(grid::kCommentColumn, 1), c.reload ? "theirs" : "first");
        f.workspace.grid.SetCell(grid::kCommentColumn, 1, "mine");
        f.workspace.changed = true;
        if (c.reload) replacedElsewhere();
        f.host.yes = c.overwrite;
        const SaveOutcome saved = f.flows.QuickSave();
        for (std::string& line : f.host.log) line = line.substr(0, line.find(' '));
        EXPECT_EQ(f.host.log, c.log);
        EXPECT_EQ(saved, c.onDisk == "mine" ? SaveOutcome::kSaved : SaveOutcome::kCancelled);
        EXPECT_NE(FileBytes(own).find(c.onDisk), std::string::npos);
    }
}

// A program that was never saved survives its process: the copy a dead process left comes back
// as unsaved work of its file, and the copies of running processes are left alone.
grid::Workspace Program(const std::string& comment, const std::string& file) {
    grid::Workspace workspace = testing::WorkspaceWith({{"", "0200", "LDA", "#05", "", comment}});
    workspace.filePath = file;
    workspace.changed = true;
    return workspace;
}

TEST(RecoveryCopyTest, TheCopiesOfDeadProcessesComeBackNewestFirstAndAreTakenOver) {
    Fixture f;
    const auto running = [](int process) { return process == 30; };
    ASSERT_FALSE(f.Of(10).Write(Program("older", "/work/a.zrv"), 1000));
    ASSERT_FALSE(f.Of(20).Write(Program("newer", ""), 2000));
    ASSERT_FALSE(f.Of(30).Write(Program("running", "/work/c.zrv"), 3000));
    f.Of(50).NoteOpenFile("/work/d.zrv");  // died with nothing unsaved

    RecoveryFolder mine = f.Of(40);
    const std::vector<RecoveryCopy> left = mine.Leftovers(running);
    std::vector<std::tuple<int, std::string, std::int64_t>> found;
    for (const RecoveryCopy& copy : left)
        found.emplace_back(copy.process, copy.filePath, copy.savedAt);
    ASSERT_EQ(found, (decltype(found){{20, "", 2000}, {10, "/work/a.zrv", 1000}}));
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"10.info", "10.zrv", "20.info", "20.zrv",
                                                   "30.info", "30.zrv"}));

    grid::Workspace workspace;
    ASSERT_FALSE(mine.Recover(left[1], workspace));
    EXPECT_EQ(testing::RowText(workspace, 1), testing::RowText(Program("older", ""), 1));
    EXPECT_TRUE(workspace.changed && workspace.filePath == "/work/a.zrv" &&
                workspace.caption == "Zorvan-/work/a.zrv");
    mine.Delete(left[0]);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"30.info", "30.zrv", "40.info", "40.zrv"}));

    mine.Discard();  // saved: its file stays known to the others
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"30.info", "30.zrv", "40.info"}));
    mine.Close();
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"30.info", "30.zrv"}));
}

TEST(RecoveryCopyTest, AFileIsOpenElsewhereOnlyInAnotherRunningProcess) {
    Fixture f;
    const std::string file = f.folder / "shared.zrv";
    ::zorvan::testing::PutFile(file, "");
    f.Of(10).NoteOpenFile(file);
    f.Of(20).NoteOpenFile(f.folder / "other.zrv");
    const struct {
        int asking;
        bool tenRuns;
        bool expected;
    } cases[] = {{30, true, true}, {30, false, false}, {10, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto running = [&](int process) { return process != 10 || c.tenRuns; };
        EXPECT_EQ(f.Of(c.asking).OpenElsewhere(file, running), c.expected);
    }
}

TEST(RecoveryCopyTest, TheOfferNamesTheFileAndTheTime) {
    std::tm at{};
    at.tm_year = 2026 - 1900, at.tm_mon = 11, at.tm_mday = 8, at.tm_hour = 9, at.tm_min = 5;
    const std::string named = RecoveryOfferText({1, "/work/a.zrv", 0}, at);
    EXPECT_NE(named.find("«/work/a.zrv»"), std::string::npos);
    EXPECT_NE(named.find("08/12/2026 09:05"), std::string::npos);
    EXPECT_NE(RecoveryOfferText({1, "", 0}, at).find("χωρίς όνομα"), std::string::npos);
}

// firstPlace: the place a window is built with, else where the student left it.
TEST(WindowPlacesTest, AWindowComesBackOntoAScreen) {
    const std::vector<WindowPlace> two{{0, 0, 1920, 1050}, {1920, 0, 1280, 1000}};
    const struct {
        bool firstPlace;
        std::vector<WindowPlace> screens;
        WindowPlace window, expected;
    } cases[] = {
        {false, two, {318, 180, 496, 601}, {318, 180, 496, 601}},      // as it was
        {false, two, {1880, 100, 400, 300}, {1880, 100, 400, 300}},    // across the two screens
        {false, two, {1800, -200, 400, 300}, {1920, 0, 400, 300}},     // title bar above the top
        {false, two, {3500, 500, 400, 300}, {2800, 500, 400, 300}},    // second screen, smaller
        {false, two, {100, 5000, 400, 300}, {100, 750, 400, 300}},     // far off: the nearest
        {false, two, {3180, -50, 3000, 2000}, {1920, 0, 1280, 1000}},  // shrunk to fit
        {false, {}, {9000, 9000, 10, 10}, {9000, 9000, 10, 10}},       // no screen to go by
        {true, two, {318, 180, 496, 633}, {318, 180, 496, 633}},
        {true, {{0, 0, 1366, 728}}, {318, 180, 496, 633}, {318, 95, 496, 633}},   // up
        {true, {{0, 0, 1366, 728}}, {318, 180, 496, 900}, {318, 180, 496, 900}},  // too tall
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ((c.firstPlace ? WhollyOnScreen : OnScreen)(c.window, c.screens), c.expected);
    }
}

TEST(RecentFilesTest, TheNewestFirstOnceAndAtMostFive) {
    using Files = std::vector<std::string>;
    const struct {
        Files before;
        std::string path;
        Files after;
    } cases[] = {{{}, "a", {"a"}},
                 {{"a", "b"}, "b", {"b", "a"}},
                 {{"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}},
                 {{"a", "b", "c", "d", "e"}, "e", {"e", "a", "b", "c", "d"}},
                 {{"a", "", "a"}, "", {"a"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WithRecentFile(c.before, c.path), c.after);
    }
    EXPECT_EQ(RecentFileItemText(4, "/tmp/R&D.zrv"), "&5 /tmp/R&&D.zrv");
}

}  // namespace
}  // namespace zorvan::app
