#include "web/web_console.h"

#include <utility>

#include "app/headless_console.h"
#include "cpu/run_loop.h"
#include "text/cp1253.h"

namespace zorvan::web {

std::string WebConsole::ShownText() const {
    return app::ConsoleShownText(text_.Shown());
}

bool WebConsole::TakeShowRequest() {
    return std::exchange(showRequested_, false);
}

bool WebConsole::TakeFocusRequest() {
    return std::exchange(focusRequested_, false);
}

void WebConsole::AddLine(std::string_view line) {
    text_.AppendLine(line);
}

void WebConsole::ShowCharacter(int ac) {
    showRequested_ = true;
    text_.Replace(app::ConsoleCharacter(ac));
}

void WebConsole::AskForAccumulator() {
    showRequested_ = true;
    focusRequested_ = true;
    text_.Replace(app::kAskForAccumulatorText);
}

void WebConsole::ClearConsole() {
    showRequested_ = true;
    text_.Replace({});
}

void WebConsole::PrintText(std::string_view cp1253Bytes) {
    showRequested_ = true;
    AddLine(text::DecodeCp1253(cp1253Bytes, U'\uFFFD'));
}

void WebConsole::StackFull() {
    workspace_.ShowMessage(cpu::kStackFullMessage, grid::kInstructionColumn, grid::Tone::kError);
}

}  // namespace zorvan::web
