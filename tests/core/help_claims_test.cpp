// The help's claims run on the machine. Each page carries, in HTML comments beside the prose,
// small programs with what the prose says they leave; every message the help quotes (marked
// class="msg" or class="note", or between «» in the prose) must be a text the code really has.
// Either drifting apart from the other turns this test red.
//
// A claim, one key a line (values hexadecimal, and they may be negative or above FF, as cells
// and registers are integers):
//   <!-- claim: what it shows
//   line: LABEL | ADDRESS | INSTRUCTION | PARAMETER 1 | PARAMETER 2    one grid row each
//   file: examples/hello.zrv      a program file instead of lines
//   program: TITLE                the lines or file of an earlier claim on the page
//   type: KEYS                    keys typed into the grid; \r Enter, \t Tab, \b Backspace, ↑↓←→
//   assemble: TEXT                Assemble must fail with exactly this text
//   summary: LINES BYTES          Assemble's counts
//   poke: ADDRESS=V,V,...         memory after Assemble
//   clear:                        Clear registers, as Step execution does first
//   set: NAME=V ...               PC AC XR YR SP RA P, or one status bit N V - B D I Z C
//   run: ADDRESS                  Run from there, ending as end: says (empty cell by default;
//                                 not executed, stack full)
//   step: ADDRESS COUNT           Step execution: Start there, then Next COUNT-1 times
//   back: COUNT                   Πίσω as many times
//   continue:                     Συνέχεια
//   breakpoint: ROW               F5 on grid row ROW
//   passes: ROW N                 the breakpoint of grid row ROW stops the step window's runs
//                                 on its N-th pass
//   f9: ADDRESS                   Run (F9) from there, as the menu runs it
//   sentence: TEXT                the step window's sentence of what the last step did
//   expect: NAME=V ...            as set:
//   cells: ADDRESS=V,V,...
//   console: TEXT                 the console's text, \n between lines
//   message: TEXT                 the message area under the grid, \n between lines
//   row: N |LABEL|ADDRESS|...     grid row N, cells between bars
//   executed: ADDRESS  toexecute: ADDRESS    the step window's two rows
//   -->

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/breakpoints.h"
#include "app/expectations.h"
#include "app/headless_console.h"
#include "app/program_file.h"
#include "app/run_command.h"
#include "app/step_session.h"
#include "asm/assembly_pass.h"
#include "cpu/machine.h"
#include "cpu/registers.h"
#include "cpu/run_loop.h"
#include "cpu_test_support.h"
#include "editor_fixture.h"
#include "grid/workspace.h"
#include "help_claim_reader.h"
#include "temp_folder.h"
#include "text/conversion_error.h"

namespace zorvan {
namespace {

namespace fs = std::filesystem;
using zorvan::testing::Claim;
using zorvan::testing::Decoded;
using zorvan::testing::FileBytes;
using zorvan::testing::HelpPages;
using zorvan::testing::kHelpFolder;
using zorvan::testing::SplitOn;
using zorvan::testing::Trim;
using zorvan::testing::Unescape;

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

std::vector<Claim> ClaimsOf(const fs::path& page) {
    std::vector<std::string> errors;
    std::vector<Claim> claims = testing::ClaimsOf(page, errors);
    for (const std::string& error : errors) ADD_FAILURE() << error;
    return claims;
}

// The register or status bit a claim names; P, the packed status, is read whole. An unknown name
// reads as no value at all, after Apply has named it.
std::int64_t Get(const cpu::Machine& machine, const std::string& name) {
    if (name == "P") return machine.PackStatus();
    const std::optional<cpu::MachineField> field = cpu::FieldNamed(name);
    return field ? cpu::FieldOf(machine, *field) : INT64_MIN;
}

void Check(const Claim& claim) {
    // A misspelt key would leave its claim unchecked.
    const std::set<std::string> known = {
        "line",  "file",    "type", "assemble",   "summary",  "poke",     "clear",     "set",
        "run",   "end",     "step", "breakpoint", "f9",       "continue", "back",      "expect",
        "cells", "message", "row",  "console",    "sentence", "executed", "toexecute", "passes"};
    for (const auto& [key, value] : claim.keys)
        EXPECT_TRUE(known.contains(key)) << "unknown key " << key;
    const std::vector<app::ProgramRow> rows = testing::ProgramOf(claim);
    grid::Workspace workspace;
    if (!rows.empty()) app::PlaceProgramRows(workspace.grid, rows);
    app::testing::TypeWithArrows(workspace, Unescape(claim.Value("type")));
    cpu::Machine& machine = workspace.machine;
    app::HeadlessConsole console(machine, {});  // the console window's rules, no answers
    app::testing::NoWindows windows;
    app::StepSession session(workspace, console, windows);
    app::BreakpointHits runPasses;

    const std::string expectedAssembly = claim.Value("assemble");
    if (!rows.empty() || claim.Has("file") || (claim.Has("type") && !expectedAssembly.empty())) {
        assembler::AssemblyResult result;
        try {
            result = assembler::Assemble(workspace.grid, machine);
        } catch (const text::ConversionError& error) {
            result.kind = assembler::AssemblyResult::Kind::kError;
            result.text = error.what();
        }
        if (!expectedAssembly.empty()) {
            EXPECT_NE(result.kind, assembler::AssemblyResult::Kind::kSummary);
            EXPECT_EQ(result.text, expectedAssembly);
            return;
        }
        ASSERT_EQ(result.kind, assembler::AssemblyResult::Kind::kSummary) << result.text;
        if (claim.Has("summary"))
            EXPECT_EQ(std::to_string(result.lines) + " " + std::to_string(result.bytes),
                      claim.Value("summary"));
    }

    for (const auto& [key, value] : claim.keys) {
        const std::vector<std::string> words = Words(value);
        if (key == "poke") {
            for (const std::string& word : words) cpu::Apply(machine, "[" + word);
        } else if (key == "clear") {
            machine.ClearRegisters();
        } else if (key == "set") {
            cpu::Apply(machine, value);
        } else if (key == "run") {
            const cpu::RunEnd end =
                cpu::RunFrom(machine, console, std::stoi(words.at(0), nullptr, 16), 1'000'000);
            EXPECT_EQ(app::EndKeyword(end), claim.Value("end", "empty cell"));
        } else if (key == "step") {
            machine.ClearRegisters();
            session.ResetForNewSession();
            session.State().startAddress = words.at(0);
            session.Start();
            for (std::int64_t k = 1; k < std::stoll(words.at(1)); ++k) session.Next();
        } else if (key == "breakpoint") {
            workspace.grid.SetCurrent(grid::kInstructionColumn, std::stoi(value));
            app::ToggleBreakpoint(workspace);
        } else if (key == "f9") {
            app::RunCommand run(workspace, console, std::stoi(value, nullptr, 16), &runPasses);
            while (run.Slice(1'000'000) == cpu::RunEnd::kRunning) continue;
            run.Report();
        } else if (key == "continue") {
            const std::unique_ptr<app::RecordedRun> run = session.Continue();
            while (run->Slice(1'000'000) == cpu::RunEnd::kRunning) continue;
            session.FinishRun(*run);
        } else if (key == "passes") {
            session.SetBreakpointEvery(std::stoi(words.at(0)), std::stoi(words.at(1)));
        } else if (key == "back") {
            for (std::int64_t k = 0; k < std::stoll(value); ++k) session.Back();
        }
    }

    for (const auto& [key, value] : claim.keys) {
        if (key == "expect") {
            for (const std::string& word : Words(value)) {
                cpu::Machine expected = machine;
                cpu::Apply(expected, word);
                const std::string name = word.substr(0, word.find('='));
                EXPECT_EQ(Get(machine, name), Get(expected, name)) << name;
            }
        } else if (key == "cells") {
            for (const std::string& word : Words(value)) {
                cpu::Machine expected = machine;
                cpu::Apply(expected, "[" + word);
                EXPECT_TRUE(machine.memory == expected.memory) << "cells " << word;
            }
        } else if (key == "message") {
            EXPECT_EQ(workspace.message.text, Unescape(value));
        } else if (key == "row") {
            const std::size_t space = value.find(' ');
            EXPECT_EQ(app::testing::RowText(workspace, std::stoi(value.substr(0, space))),
                      Trim(value.substr(space + 1)));
        } else if (key == "console") {
            EXPECT_EQ(console.Text(), Unescape(value));
        } else if (key == "sentence") {
            EXPECT_EQ(session.State().sentence, value);
        } else if (key == "executed") {
            EXPECT_EQ(session.State().rows[0][grid::kAddressColumn], value) << "executed";
        } else if (key == "toexecute") {
            EXPECT_EQ(session.State().rows[1][grid::kAddressColumn], value) << "to execute";
        }
    }
}

TEST(HelpClaims, EveryWorkedExampleLeavesWhatThePageSays) {
    int count = 0;
    for (const fs::path& page : HelpPages()) {
        for (const Claim& claim : ClaimsOf(page)) {
            SCOPED_TRACE(claim.page + ": " + claim.title);
            Check(claim);
            ++count;
        }
    }
    // The pages carry many claims; none found means the markers were lost.
    EXPECT_GE(count, 20);
}

// The string literals of the sources, adjacent ones joined as the compiler joins them.
std::vector<std::string> SourceLiterals() {
    std::vector<std::string> literals;
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(ZORVAN_SOURCE_DIR) / "src")) {
        const auto extension = entry.path().extension();
        if (extension != ".cpp" && extension != ".h") continue;
        const std::string code = FileBytes(entry.path().string());
        std::string current;
        bool open = false;  // a literal ended and only whitespace followed so far
        for (std::size_t k = 0; k < code.size(); ++k) {
            const char c = code[k];
            if (c == '/' && k + 1 < code.size() && code[k + 1] == '/') {
                k = code.find('\n', k);
                if (k == std::string::npos) break;
            } else if (c == '/' && k + 1 < code.size() && code[k + 1] == '*') {
                k = code.find("*/", k + 2);
                if (k == std::string::npos) break;
                ++k;
            } else if (c == '\'' &&
                       (k == 0 || !std::isalnum(static_cast<unsigned char>(code[k - 1])))) {
                // A character literal, '"' included; after a digit, ' separates digits.
                for (++k; k < code.size() && code[k] != '\''; ++k) {
                    if (code[k] == '\\') ++k;
                }
            } else if (c == '"') {
                for (++k; k < code.size() && code[k] != '"'; ++k) {
                    if (code[k] == '\\' && k + 1 < code.size()) {
                        ++k;
                        current += code[k] == 'n' ? '\n' : code[k];
                    } else {
                        current += code[k];
                    }
                }
                open = true;
            } else if (open && (c == ' ' || c == '\n' || c == '\t' || c == '\r')) {
                // Perhaps another literal follows.
            } else if (open) {
                literals.push_back(current);
                current.clear();
                open = false;
            }
        }
        if (open) literals.push_back(current);
    }
    return literals;
}

TEST(HelpClaims, EveryQuotedMessageIsOneTheCodeShows) {
    std::vector<std::string> literals = SourceLiterals();
    // A question's line break reads as a space on the page; an exercise's case names are shown
    // from its expectation file.
    for (std::string& literal : literals) std::replace(literal.begin(), literal.end(), '\n', ' ');
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(ZORVAN_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() == ".expect")
            literals.push_back(FileBytes(entry.path().string()));
    }
    const auto inCode = [&](const std::string& fragment) {
        for (const std::string& literal : literals) {
            if (literal.find(fragment) != std::string::npos) return true;
        }
        return false;
    };
    // A message is the element's text; <var> marks the parts the code fills in (an address, an
    // instruction, a label), and the rest must stand in one literal piece by piece.
    const std::regex variable(R"(<var>[^<]*</var>)");
    const std::regex tag(R"(<[^>]*>)");
    const std::regex space(R"(\s+)");
    const auto expectShown = [&](const std::string& where, const std::string& html) {
        const std::string inner = std::regex_replace(html, space, " ");
        const std::string marked = std::regex_replace(inner, variable, "\x01");
        const std::string message = Decoded(std::regex_replace(marked, tag, ""));
        SCOPED_TRACE(where + ": " + inner);
        EXPECT_FALSE(Trim(message).empty());
        for (const std::string& fragment : SplitOn(message, '\x01')) {
            if (!fragment.empty()) EXPECT_TRUE(inCode(fragment)) << "«" << fragment << "»";
        }
    };
    const std::regex comment(R"(<!--[\s\S]*?-->)");
    const std::regex navigation(R"re(<p class="nav">[\s\S]*?</p>)re");
    int count = 0;
    for (const fs::path& page : HelpPages()) {
        const std::string html = FileBytes(page.string());
        const std::string name = page.filename().string();
        for (const std::string_view mark : {" class=\"msg\">", " class=\"note\">"}) {
            for (std::size_t at = html.find(mark); at != std::string::npos;
                 at = html.find(mark, at + 1)) {
                const std::size_t open = html.rfind('<', at);
                const std::string element = html.substr(open + 1, at - open - 1);
                const std::size_t begin = at + mark.size();
                const std::size_t end = html.find("</" + element + ">", begin);
                ASSERT_NE(end, std::string::npos) << html.substr(open, 80);
                expectShown(name, html.substr(begin, end - begin));
                ++count;
            }
        }
        // A «…» in the prose quotes the program too, unless marked class="own": the help's own
        // words, or a text the program puts together from pieces.
        const std::string prose =
            std::regex_replace(std::regex_replace(html, comment, ""), navigation, "");
        for (std::size_t open = prose.find("«"); open != std::string::npos;
             open = prose.find("«", open + 1)) {
            const std::size_t begin = open + std::string_view("«").size();
            const std::size_t close = prose.find("»", begin);
            ASSERT_NE(close, std::string::npos) << name << ": " << prose.substr(open, 80);
            const std::string quoted = prose.substr(begin, close - begin);
            if (quoted.find("class=\"own\"") != std::string::npos) continue;
            expectShown(name, quoted);
            ++count;
        }
    }
    EXPECT_GE(count, 100);
}

// A beginner reads short sentences: none of the prose runs over 30 words. Code counts as one.
TEST(HelpClaims, NoSentenceRunsOverThirtyWords) {
    const std::regex comment(R"(<!--[\s\S]*?-->)");
    const std::regex code(R"(<(pre|code)[^>]*>[\s\S]*?</\1>)");
    const std::regex block(R"(</?(td|th|li|p|h\d|tr|table|ul|ol|br|div|pre)[^>]*>)");
    const std::regex tag(R"(<[^>]*>)");
    const std::regex end(R"(([.!;])\s+)");
    for (const fs::path& page : HelpPages()) {
        std::string prose = std::regex_replace(FileBytes(page.string()), comment, "");
        prose = std::regex_replace(prose, code, " X ");
        prose = std::regex_replace(prose, block, "\x02");
        prose = Decoded(std::regex_replace(prose, tag, ""));
        for (const std::string_view shortened : {"π.χ.", "κ.λπ."}) {
            for (std::size_t at = prose.find(shortened); at != std::string::npos;
                 at = prose.find(shortened, at + 1))
                prose.replace(at, shortened.size(), "πχ");
        }
        prose = std::regex_replace(prose, end, "$1\x02");
        for (const std::string& sentence : SplitOn(prose, '\x02')) {
            EXPECT_LE(Words(sentence).size(), 30u) << page.filename().string() << ": " << sentence;
        }
    }
}

// A page the build leaves out of the resources, or that no contents line reaches, is lost to the
// student; a link to a page that is not there shows an empty window.
TEST(HelpClaims, EveryPageIsBuiltInAndReachableAndEveryLinkLands) {
    const std::string qrc = FileBytes(std::string(ZORVAN_SOURCE_DIR) + "/resources/zorvan.qrc");
    const std::string index = FileBytes((kHelpFolder / "index.html").string());
    const std::regex link(R"re(href="([a-z_]+\.html))re");
    const std::regex builtIn(R"re(href="zorvan-(?:open|check):([^"]+))re");
    // The index and its eleven pages at least: a help folder emptied or cut short fails here.
    ASSERT_GE(HelpPages().size(), 12u);
    for (const fs::path& page : HelpPages()) {
        const std::string name = page.filename().string();
        EXPECT_NE(qrc.find("<file>help/" + name + "</file>"), std::string::npos) << name;
        if (name != "index.html") {
            EXPECT_NE(index.find("href=\"" + name), std::string::npos) << name;
        }
        const std::string html = FileBytes(page.string());
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            EXPECT_TRUE(fs::exists(kHelpFolder / (*it)[1].str())) << name << " → " << (*it)[1];
        }
        // A program to open or an exercise to check is a file of the sources, built in.
        for (std::sregex_iterator it(html.begin(), html.end(), builtIn), end; it != end; ++it) {
            const std::string file = (*it)[1];
            EXPECT_TRUE(fs::exists(fs::path(ZORVAN_SOURCE_DIR) / file)) << name << " → " << file;
            EXPECT_NE(qrc.find("<file alias=\"" + file + "\">../" + file + "</file>"),
                      std::string::npos)
                << file;
        }
    }
}

}  // namespace
}  // namespace zorvan
