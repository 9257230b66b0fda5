#include "cpu/slip_checks.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/memory_view.h"
#include "app/run_command.h"
#include "app/step_session.h"
#include "cpu_test_support.h"
#include "editor_fixture.h"

namespace zorvan::app {
namespace {

// Runs of short programs at 0200 (line 1 of the grid) and the notice each leaves in the message
// area, once, or none. The script: f9 (a run), start/next/back/continue (the step window),
// edit (the student stores 00 at 0300), clear (Clear memory, the program put back), offK (check
// K switched off).
TEST(SlipChecksTest, EachCheckTellsItsSlipOnceAndOnlyThen) {
    // clang-format off
    const struct { const char* program; const char* script; std::string notice; } cases[] = {
        // The JSR at 0210 overwrites the return address of the JSR at 0200.
        {"[0200]=20,10,02 [0210]=20,20,02 [0220]=60", "f9", "Προσοχή: JSR μέσα σε υπορουτίνα (0210): η διεύθυνση επιστροφής 0203 χάθηκε."},
        {"[0200]=20,10,02 [0210]=20,20,02 [0220]=60", "off0 f9", ""},
        // A console routine returns through its RTS: the call after it is not inside it.
        {"[0200]=20,FF,FF,20,10,02 [0210]=60 [FFFF]=60", "f9", ""},
        {"[0200]=E8,60", "f9", "Προσοχή: RTS χωρίς JSR πριν από αυτό (0201): επιστρέφει στη 0000."},
        {"[0200]=E8,60", "start next", "Προσοχή: RTS χωρίς JSR πριν από αυτό (0201): επιστρέφει στη 0000."},
        {"[0200]=E8,60", "off1 f9", ""},
        // Πίσω takes the call back with the step, over the RTS and over the JSR.
        {"[0200]=20,10,02 [0210]=60", "start next back next", ""},
        {"[0200]=20,10,02 [0210]=60", "start back next next", ""},
        {"[0200]=20,00,03", "f9", "Προσοχή: το PC βγήκε από το πρόγραμμα στο κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=20,00,03", "start", "Προσοχή: το PC βγήκε από το πρόγραμμα στο κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=20,00,03", "off2 f9", ""},
        {"[0200]=A9,00,8D,00,03,20,00,03", "f9", ""},
        {"[0200]=E8", "f9", ""},
        // Three passes of the loop, one notice.
        {"[0200]=AD,00,03,CA,D0,FA XR=3", "f9", "Προσοχή: η εντολή (γραμμή 1, 0200) διάβασε το κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=AD,00,03", "off3 f9", ""},
        {"[0200]=AD,00,03", "edit f9", ""},
        {"[0200]=AD,00,03", "edit clear f9", "Προσοχή: η εντολή (γραμμή 1, 0200) διάβασε το κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=A9,00,8D,00,03,AD,00,03", "f9", ""},
        {"[0200]=B1,40 [0041]=03", "f9", "Προσοχή: η εντολή (γραμμή 1, 0200) διάβασε το κελί 0040, που δεν γράφτηκε ποτέ."},
        // PHA writes 00 and PLA reads it back.
        {"[0200]=48,68", "f9", ""},
        {"[0200]=48,68", "start next", ""},
        {"[0200]=20,10,02 [0210]=48,60", "f9", "Προσοχή: RTS (0211) με SP = FE, ενώ στο JSR ήταν FF: η υπορουτίνα δεν άφησε τον σωρό όπως τον βρήκε."},
        {"[0200]=20,10,02 [0210]=48,60", "start continue", "Προσοχή: RTS (0211) με SP = FE, ενώ στο JSR ήταν FF: η υπορουτίνα δεν άφησε τον σωρό όπως τον βρήκε."},
        {"[0200]=20,10,02 [0210]=48,60", "off4 f9", ""},
        {"[0200]=20,10,02 [0210]=48,68,60", "f9", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " / " + c.script);
        grid::Workspace workspace = testing::WorkspaceWith({{"", "0200", "NOP"}});
        cpu::Apply(workspace.machine, c.program);
        cpu::NullMachineHost host;
        testing::NoWindows windows;
        StepSession session(workspace, host, windows);
        std::istringstream script(c.script);
        for (std::string word; script >> word;) {
            if (word == "f9") {
                RunCommand run(workspace, host, 0x0200);
                if (run.Slice(1000) == cpu::RunEnd::kRunning) run.Stop();
                run.Report();
            } else if (word == "start") {
                session.State().startAddress = "0200";
                session.Start();
            } else if (word == "next") {
                session.Next();
            } else if (word == "back") {
                session.Back();
            } else if (word == "continue") {
                const auto run = session.Continue();
                if (run->Slice(1000) == cpu::RunEnd::kRunning) run->Stop();
                session.FinishRun(*run);
            } else if (word == "edit") {
                StoreMemoryCell(workspace, "0300", 1, "00");
            } else if (word == "clear") {
                workspace.ClearMemory();
                cpu::Apply(workspace.machine, c.program);
            } else if (word.starts_with("off")) {
                workspace.slips.on[std::stoul(word.substr(3))] = false;
            }
        }
        const std::string& message = workspace.message.text;
        if (c.notice.empty()) {
            EXPECT_EQ(message.find("Προσοχή"), std::string::npos) << message;
            continue;
        }
        const std::size_t at = message.find(c.notice);
        EXPECT_NE(at, std::string::npos) << message;
        EXPECT_EQ(message.find(c.notice, at + 1), std::string::npos) << message;
        EXPECT_EQ(workspace.message.tone, grid::Tone::kNotice);
    }
}

}  // namespace
}  // namespace zorvan::app
