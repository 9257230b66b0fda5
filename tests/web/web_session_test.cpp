// The browser edition's session: what the page is told after each event, the file commands
// answered one question at a time, the work kept between visits, and runs in slices.

#include "web/web_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/file_flows.h"
#include "app/grid_keys.h"
#include "app/line_editing.h"
#include "app/pinned_cells.h"
#include "app/program_file.h"
#include "app/run_command.h"
#include "cpu/run_loop.h"
#include "web/json_text.h"
#include "web/saved_work.h"

namespace zorvan::web {
namespace {

using app::SaveAnswer;
using Kind = FlowRequest::Kind;

TEST(JsonTextTest, EveryCellTextSurvivesTheEscape) {
    const std::pair<std::string, std::string> cases[] = {
        {"LDA", "\"LDA\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
        {"ο δείκτης", "\"ο δείκτης\""}};
    for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
    EXPECT_EQ(JsonObject().Add("a", 1).Add("b", true).Add("c", "x").Text(),
              "{\"a\":1,\"b\":true,\"c\":\"x\"}");
}

// A grid as a student leaves it: two typed lines, a third line's address, two breakpoints (one
// with a count), a cell beyond the row count that the table shows again when it grows, and texts
// a line format could not keep.
grid::Workspace TypedWorkspace() {
    grid::Workspace workspace;
    app::TypeText(workspace, "0200\rLDA\r#05\rNOP\r");
    workspace.grid.SetCell(grid::kCommentColumn, 1, "tab\there\\n");
    workspace.grid.SetCell(grid::kLabelColumn, 9, "hidden");
    workspace.grid.SetBreakpoint(1, true);
    workspace.grid.SetBreakpoint(2, true);
    workspace.grid.SetBreakpointEvery(2, 4);
    workspace.caption = "Zorvan-count.zrv";
    workspace.openDialogFileName = "count.zrv";
    return workspace;
}

TEST(SavedWorkTest, TheGridComesBackExactlyHiddenRowsAndBreakpointsIncluded) {
    const grid::Workspace typed = TypedWorkspace();
    grid::Workspace restored;
    ASSERT_TRUE(RestoreSavedWork(restored, SavedWorkText(typed)));
    for (int row = 0; row < typed.grid.StoredRowCount() + 1; ++row) {
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            EXPECT_EQ(restored.grid.Cell(column, row), typed.grid.Cell(column, row))
                << column << "," << row;
        }
    }
    EXPECT_EQ(restored.grid.Cell(grid::kLabelColumn, 9), "hidden");
    EXPECT_EQ(restored.grid.RowCount(), typed.grid.RowCount());
    EXPECT_EQ(std::pair(restored.grid.Col(), restored.grid.Row()),
              std::pair(typed.grid.Col(), typed.grid.Row()));
    EXPECT_EQ(restored.grid.Breakpoints(), typed.grid.Breakpoints());
    EXPECT_EQ(std::tuple(restored.changed, restored.executionEnabled, restored.caption,
                         restored.openDialogFileName),
              std::tuple(true, true, typed.caption, typed.openDialogFileName));
}

TEST(SavedWorkTest, ATextThatIsNotSavedWorkChangesNothing) {
    const std::string good = SavedWorkText(TypedWorkspace());
    const std::string cases[] = {
        "",
        good.substr(0, good.size() - 1),                 // cut short
        "zorvan-work 2" + good.substr(good.find('\n')),  // another version
        good + "a\tb\n",                                 // a row of two cells
        good + "\\q\t\t\t\t\t\n",                        // an unknown escape
        "zorvan-work 1\n0 1 1 0 0\nZorvan\n\n\n",        // no header row to keep
    };
    for (const std::string& text : cases) {
        grid::Workspace workspace;
        app::TypeText(workspace, "0200\r");
        const std::string before = SavedWorkText(workspace);
        EXPECT_FALSE(RestoreSavedWork(workspace, text)) << text;
        EXPECT_EQ(SavedWorkText(workspace), before) << text;
    }
}

TEST(WebSessionTest, TheViewNamesOnlyTheCellsThatChanged) {
    WebSession session;
    const std::string first = session.View();
    EXPECT_NE(first.find("[0,0,\"Ετικέτες\"]"), std::string::npos);
    EXPECT_NE(first.find("\"executionEnabled\":false"), std::string::npos);
    EXPECT_EQ(session.View().find("\"cells\":[]") != std::string::npos, true);

    session.Key(app::kKeyEnter, false, false, false, 0);  // key-down alone: nothing in a cell
    EXPECT_NE(session.View().find("\"cells\":[]"), std::string::npos);
    session.Key('0', false, false, false, U'0');
    EXPECT_NE(session.View().find("\"cells\":[[1,1,\"0\"]]"), std::string::npos);

    // A row that leaves the table and comes back shows its cells again.
    session.Workspace().grid.SetCell(grid::kLabelColumn, 2, "LATER");
    session.View();
    session.Workspace().grid.SetRowCount(4);
    EXPECT_NE(session.View().find("[0,2,\"LATER\"]"), std::string::npos);
    session.ForgetView();
    EXPECT_NE(session.View().find("[1,1,\"0\"]"), std::string::npos);
}

struct FlowCase {
    const char* name;
    BrowserFlow::Command command;
    bool changed;
    std::vector<std::pair<Kind, FlowAnswer>> dialogue;  // each request and its answer
    bool gridEmptied;
    std::vector<std::string> downloads;
    bool exit = false;
};

// What each command decides is the core's (and tested there); these are the ways a command meets
// the page: no question, one, two, a warning, a download and the end of the session.
TEST(BrowserFlowTest, TheQuestionsComeOneAtATimeAndTheCommandEndsAsTheCoreDecides) {
    const FlowAnswer no{SaveAnswer::kNo, {}}, yes{SaveAnswer::kYes, {}},
        escape{SaveAnswer::kCancel, {}}, cancelled{}, ok{};
    const auto file = [](const char* name) { return FlowAnswer{SaveAnswer::kNo, name}; };
    using enum BrowserFlow::Command;
    // clang-format off
    const FlowCase cases[] = {
        {"New, Yes, saved", kNew, true, {{Kind::kYesNo, yes}, {Kind::kSaveFile, file("a.zrv")}}, true, {"a.zrv"}},
        {"New, unchanged", kNew, false, {}, true, {}},
        {"Open, No", kOpen, true, {{Kind::kYesNo, no}, {Kind::kOpenFile, file("p.zrv")}}, true, {}},
        {"Open, dialog cancelled", kOpen, false, {{Kind::kOpenFile, cancelled}}, false, {}},
        {"Open, no such file", kOpen, false, {{Kind::kOpenFile, file("gone.zrv")}, {Kind::kWarning, ok}}, false, {}},
        {"Save", kSave, false, {{Kind::kSaveFile, file("b.txt")}}, false, {"b.txt"}},
        {"Exit, No", kExit, true, {{Kind::kYesNo, no}}, false, {}, true},
        {"Exit, Escape", kExit, true, {{Kind::kYesNo, escape}}, false, {}, false},
    };
    // clang-format on
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid::Workspace workspace;
        app::TypeText(workspace, "0200\rLDA\r#05\r");
        workspace.changed = c.changed;
        const std::string typed = app::WriteProgramText(workspace.grid);
        BrowserFiles files;
        files.Put("p.zrv", "_ 0300 NOP _ _ _\r\n");
        BrowserFlow flow(c.command);
        for (const auto& [kind, answer] : c.dialogue) {
            const std::string before = SavedWorkText(workspace);
            const auto request = flow.Run(workspace, files);
            ASSERT_TRUE(request.has_value());
            EXPECT_EQ(request->kind, kind);
            // Nothing happens until the command gets through.
            EXPECT_EQ(SavedWorkText(workspace), before);
            flow.Answer(answer);
        }
        ASSERT_FALSE(flow.Run(workspace, files).has_value());
        EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 1).empty() ||
                      workspace.grid.Cell(grid::kAddressColumn, 1) == "0300",
                  c.gridEmptied);
        std::vector<std::string> written;
        for (const auto& download : files.TakeWritten()) {
            written.push_back(download.name);
            EXPECT_EQ(download.bytes, typed);
        }
        EXPECT_EQ(written, c.downloads);
        EXPECT_EQ(flow.ExitConfirmed(), c.exit);
    }
}

TEST(BrowserFlowTest, TheQuestionsAreTheDesktopsAndADroppedFileNeedsNoDialog) {
    WebSession session;
    app::TypeText(session.Workspace(), "0200\rLDA\r#05\r");
    session.PutFile("count.zrv", "_ 0300 NOP _ _ _\r\n");
    const std::string asked = session.StartFlow(BrowserFlow::Command::kOpen, "count.zrv");
    EXPECT_EQ(
        asked,
        JsonObject().Add("ask", "yesNo").Add("text", std::string(app::kOpenSaveQuestion)).Text());
    EXPECT_EQ(session.AnswerFlow(0, ""), "{\"done\":true,\"exit\":false,\"downloads\":[]}");
    EXPECT_EQ(session.Workspace().caption, "Zorvan-count.zrv");
    EXPECT_EQ(session.Workspace().grid.Cell(grid::kInstructionColumn, 1), "NOP");

    session.StartFlow(BrowserFlow::Command::kSave);
    // The bytes go to the page as code points 0-255.
    const std::string saved = session.AnswerFlow(0, "x.zrv");
    EXPECT_NE(saved.find("\"bytes\":\"_ 0300 NOP _ _ _\\u000d\\u000a\""), std::string::npos)
        << saved;
}

TEST(WebSessionTest, KeysAndGridCommandsAreUndoneAndRedoneAsOnTheDesktop) {
    WebSession session;
    grid::Workspace& workspace = session.Workspace();
    for (const char32_t key : std::u32string(U"0200\rLDA\r")) {
        session.Key(key == U'\r' ? app::kKeyEnter : int(key), false, false, false, key);
    }
    const std::string typed = app::WriteProgramText(workspace.grid);
    session.ClearGrid();
    EXPECT_EQ(workspace.message.text, app::kGridClearedNotice);
    session.Undo();
    EXPECT_EQ(app::WriteProgramText(workspace.grid), typed);
    EXPECT_TRUE(workspace.message.text.empty());  // the notice goes with the clear
    session.Undo();                               // the instruction typed and committed
    EXPECT_EQ(workspace.grid.Cell(grid::kInstructionColumn, 1), "");
    session.Redo();
    EXPECT_EQ(workspace.grid.Cell(grid::kInstructionColumn, 1), "LDA");
    while (session.CanUndo()) session.Undo();
    EXPECT_FALSE(workspace.changed);  // back to the untouched grid
}

TEST(WebSessionTest, AssemblyThatCannotReadACellPutsTheCursorOnIt) {
    const struct {
        const char* address;
        const char* parameter;
        int column;
    } cases[] = {{"02G0", "05", grid::kAddressColumn}, {"0200", "0G", grid::kFirstParameterColumn}};
    for (const auto& c : cases) {
        WebSession session;
        grid::ProgramGrid& grid = session.Workspace().grid;
        grid.SetCell(grid::kAddressColumn, 1, c.address);
        grid.SetCell(grid::kInstructionColumn, 1, "LDA");
        grid.SetCell(grid::kFirstParameterColumn, 1, c.parameter);
        grid.SetCurrent(grid::kCommentColumn, 1);
        EXPECT_NE(session.Assemble().find("\"error\""), std::string::npos) << c.address;
        EXPECT_EQ(grid.Col(), c.column) << c.address;
    }
    WebSession good;
    app::TypeText(good.Workspace(), "0200\rLDA\r#05\r");
    EXPECT_EQ(good.Assemble().rfind("{\"summary\":", 0), 0u);
}

TEST(WebSessionTest, ARunGoesInSlicesUntilItEndsOrIsStopped) {
    const struct {
        const char* program;
        bool stop;
        std::string_view message;
        grid::Tone tone;
    } cases[] = {{"0200\rLDA\r#05\r", false, app::kRunCompletedMessage, grid::Tone::kNotice},
                 {"0200\rJMP\r0200\r", true, cpu::kStoppedByUserMessage, grid::Tone::kError}};
    for (const auto& c : cases) {
        WebSession session;
        app::TypeText(session.Workspace(), c.program);
        session.Assemble();
        EXPECT_EQ(session.AcceptsStartAddress("0000"), "{\"accept\":false}");
        EXPECT_NE(session.AcceptsStartAddress("zz").find("\"error\""), std::string::npos);
        EXPECT_EQ(session.StartRun("200"), "{}");
        bool running = false;
        for (int slice = 0; slice < 3; ++slice) running = session.RunSlice(1000);
        EXPECT_EQ(running, c.stop) << c.program;
        if (c.stop) {
            EXPECT_GE(session.ExecutedCount(), 3000);
            session.StopRun();
        }
        session.FinishRun();
        EXPECT_EQ(session.Workspace().message.text, c.message);
        EXPECT_EQ(session.Workspace().message.tone, c.tone);
    }
}

TEST(WebSessionTest, TheStepWindowTakesTheGridUntilItCloses) {
    WebSession session;
    app::TypeText(session.Workspace(), "0200\rLDA\r#05\rJMP\r0200\r");
    session.Assemble();
    session.Workspace().machine.AC = 0x77;
    session.OpenStepWindow();
    EXPECT_EQ(session.Workspace().machine.AC, 0);  // opening clears the registers
    EXPECT_EQ(session.StepStart("zz").rfind("{\"error\":", 0), 0u);
    EXPECT_EQ(session.StepStart("0200"), "{}");
    EXPECT_NE(session.StepView().find("\"gridEnabled\":false"), std::string::npos);
    EXPECT_EQ(session.StepNext(), "{}");
    EXPECT_EQ(session.Workspace().machine.PC, 0x0200);  // round the loop

    // Συνέχεια on an endless loop runs until the page stops it, like Run.
    EXPECT_EQ(session.StepRun(0), "{\"running\":true}");
    EXPECT_TRUE(session.RunSlice(1000));
    session.StopRun();
    EXPECT_EQ(session.FinishRun(), "{}");
    EXPECT_EQ(session.StepBack(), "{}");
    EXPECT_EQ(session.Workspace().history.Empty(), false);

    session.CloseStepWindow();
    EXPECT_NE(session.StepView().find("\"gridEnabled\":true"), std::string::npos);
}

// The step window's lists, the pinned cells, the breakpoints' count and the slip checks, as the
// page reads them: each case steps "LDA #05 / STA 0300 / LDA 0400 / JMP 0200" and looks for a
// piece of StepView() (or of View(), the main window's).
TEST(WebSessionTest, TheDebuggersListsCountAndChecksReachThePage) {
    const auto steps = [](WebSession& session, int count) {
        for (int step = 0; step < count; ++step) session.StepNext();
    };
    const struct {
        const char* name;
        std::function<void(WebSession&)> act;
        std::string expected;
        bool inStepView = true;
        bool present = true;
    } cases[] = {
        {"a pinned cell, changed by the step",
         [&](WebSession& s) { s.PinCell("300"), steps(s, 1); },
         R"("pinned":[{"address":"0300","value":"05","character":"\u0005","changed":true}])"},
        {"removed", [&](WebSession& s) { s.PinCell("300"), s.UnpinCell(0), s.UnpinCell(5); },
         R"("pinned":[])"},
        {"a bad address, told", [&](WebSession& s) { s.PinCell("12345"); },
         R"("pinned":[],"pinNotice":"«12345»: )" + std::string(app::kPinNeedsAddressMessage)},
        {"the notice goes with the next step", [&](WebSession& s) { s.PinCell("zz"), steps(s, 1); },
         R"("pinNotice":"")"},
        {"the latest steps, newest last", [&](WebSession& s) { steps(s, 1); },
         R"("recent":[{"position":1,"row":1,"sentence":"LDA #05: AC 00 → 05"},{"position":2,"row":2,)"},
        {"back to the first through the list",
         [&](WebSession& s) { steps(s, 3), s.StepBackTo(1), s.StepBackTo(-1), s.StepBackTo(99); },
         R"("recent":[{"position":1,"row":1,"sentence":"LDA #05: AC 00 → 05"}])"},
        {"the current line's count within the spin box's range",
         [&](WebSession& s) {
             s.Workspace().grid.SetBreakpoint(2, true), s.SetBreakpointEvery(2, 20000);
         },
         R"("breakpointRow":2,"breakpointEvery":9999,"breakpointCaption":"Σημείο διακοπής γραμμής 2: )",
         false},
        {"the unwritten read told", [&](WebSession& s) { steps(s, 2); }, "διάβασε το κελί 0400",
         false},
        {"and not once its check is off",
         [&](WebSession& s) { s.SetSlipCheck(3, false), s.SetSlipCheck(7, false), steps(s, 2); },
         "διάβασε το κελί 0400", false, false},
        {"which the menu shows", [&](WebSession& s) { s.SetSlipCheck(3, false); },
         R"("slipChecks":[true,true,true,false,true])", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WebSession session;
        app::TypeText(session.Workspace(), "0200\rLDA\r#05\rSTA\r0300\rLDA\r0400\rJMP\r0200\r");
        session.Assemble();
        session.OpenStepWindow();
        session.StepStart("0200");
        c.act(session);
        const std::string view = c.inStepView ? session.StepView() : session.View();
        EXPECT_EQ(view.find(c.expected) != std::string::npos, c.present) << view;
    }
}

TEST(WebConsoleTest, TheRoutinesWriteAsTheConsoleWindowDoes) {
    grid::Workspace workspace;
    WebConsole console(workspace);
    console.PrintText("AB");
    console.PrintText("C\rD");
    EXPECT_EQ(console.ShownText(), "AB\nC\nD");
    EXPECT_TRUE(console.TakeShowRequest());
    EXPECT_FALSE(console.TakeShowRequest());
    console.ShowCharacter(0xC1);  // replaces everything
    EXPECT_EQ(console.ShownText(), "Α");
    console.AskForAccumulator();
    EXPECT_TRUE(console.TakeFocusRequest());
    console.AddLine("AC:A");
    EXPECT_EQ(console.ShownText(), "Δώσε τον AC\nAC:A");
    console.ClearConsole();
    EXPECT_EQ(console.ShownText(), "");
    console.StackFull();
    EXPECT_EQ(workspace.message.text, cpu::kStackFullMessage);
    EXPECT_EQ(workspace.grid.Col(), grid::kInstructionColumn);
}

}  // namespace
}  // namespace zorvan::web
