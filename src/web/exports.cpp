// The C functions the page calls (through the module's ccall): one session for the page's life.
// Texts go in and out as UTF-8; a returned text stays valid until the next call.

#include <emscripten/emscripten.h>

#include <string>

#include "web/web_session.h"

namespace {

zorvan::web::WebSession& Session() {
    static zorvan::web::WebSession session;
    return session;
}

const char* Out(std::string text) {
    static std::string last;
    last = std::move(text);
    return last.c_str();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* zw_view() {
    return Out(Session().View());
}
EMSCRIPTEN_KEEPALIVE void zw_forget_view() {
    Session().ForgetView();
}
// from, to: the editor's selection in characters, or -1 for a caret at the end.
EMSCRIPTEN_KEEPALIVE const char* zw_key(int code, int shift, int ctrl, int alt, int character,
                                        int from, int to) {
    return Out(Session().Key(code, shift != 0, ctrl != 0, alt != 0,
                             static_cast<char32_t>(character), from, to));
}
EMSCRIPTEN_KEEPALIVE void zw_set_current(int column, int row) {
    Session().SetCurrent(column, row);
}
EMSCRIPTEN_KEEPALIVE void zw_toggle_breakpoint_at(int row) {
    Session().ToggleBreakpointAt(row);
}
// command: 0 New, 1 Open, 2 Save, 3 Exit, 4 Quick save, 5 a help example. dropped: a file's
// name (put by zw_put_file), or empty.
EMSCRIPTEN_KEEPALIVE const char* zw_start_flow(int command, const char* dropped) {
    const std::string name = dropped;
    return Out(Session().StartFlow(static_cast<zorvan::web::BrowserFlow::Command>(command),
                                   name.empty() ? std::nullopt : std::optional(name)));
}
EMSCRIPTEN_KEEPALIVE const char* zw_answer_flow(int answer, const char* file) {
    return Out(Session().AnswerFlow(answer, file));
}
EMSCRIPTEN_KEEPALIVE void zw_put_file(const char* name, const char* bytes, int length) {
    Session().PutFile(name, std::string(bytes, static_cast<std::size_t>(length)));
}
EMSCRIPTEN_KEEPALIVE const char* zw_insert_line() {
    return Out(Session().InsertLine());
}
EMSCRIPTEN_KEEPALIVE const char* zw_insert_lines(const char* count) {
    return Out(Session().InsertLines(count));
}
EMSCRIPTEN_KEEPALIVE const char* zw_delete_line() {
    return Out(Session().DeleteLine());
}
EMSCRIPTEN_KEEPALIVE const char* zw_clear_grid() {
    return Out(Session().ClearGrid());
}
EMSCRIPTEN_KEEPALIVE const char* zw_toggle_breakpoint() {
    return Out(Session().ToggleBreakpoint());
}
EMSCRIPTEN_KEEPALIVE void zw_undo() {
    Session().Undo();
}
EMSCRIPTEN_KEEPALIVE void zw_redo() {
    Session().Redo();
}
EMSCRIPTEN_KEEPALIVE const char* zw_assemble() {
    return Out(Session().Assemble());
}
EMSCRIPTEN_KEEPALIVE const char* zw_accepts_start_address(const char* text) {
    return Out(Session().AcceptsStartAddress(text));
}
EMSCRIPTEN_KEEPALIVE void zw_cancel_run() {
    Session().CancelRun();
}
EMSCRIPTEN_KEEPALIVE const char* zw_start_run(const char* text) {
    return Out(Session().StartRun(text));
}
EMSCRIPTEN_KEEPALIVE int zw_run_slice(double budget) {
    return Session().RunSlice(static_cast<std::int64_t>(budget)) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void zw_stop_run() {
    Session().StopRun();
}
EMSCRIPTEN_KEEPALIVE double zw_executed_count() {
    return Session().ExecutedCount();
}
EMSCRIPTEN_KEEPALIVE const char* zw_finish_run() {
    return Out(Session().FinishRun());
}
EMSCRIPTEN_KEEPALIVE void zw_open_step_window() {
    Session().OpenStepWindow();
}
EMSCRIPTEN_KEEPALIVE void zw_close_step_window() {
    Session().CloseStepWindow();
}
EMSCRIPTEN_KEEPALIVE const char* zw_step_start(const char* startAddress) {
    return Out(Session().StepStart(startAddress));
}
EMSCRIPTEN_KEEPALIVE const char* zw_step_next() {
    return Out(Session().StepNext());
}
EMSCRIPTEN_KEEPALIVE void zw_step_stop() {
    Session().StepStop();
}
EMSCRIPTEN_KEEPALIVE const char* zw_step_back() {
    return Out(Session().StepBack());
}
// kind: 0 Συνέχεια, 1 Παράκαμψη JSR, 2 Έως τον κέρσορα.
// watchAddress, watchValue: the watchpoint's fields, hexadecimal; an empty address for none.
EMSCRIPTEN_KEEPALIVE const char* zw_step_run(int kind, const char* watchAddress,
                                             const char* watchValue) {
    return Out(Session().StepRun(kind, watchAddress, watchValue));
}
EMSCRIPTEN_KEEPALIVE const char* zw_step_back_to_breakpoint() {
    return Out(Session().StepBackToBreakpoint());
}
EMSCRIPTEN_KEEPALIVE int zw_step_move_cursor(int rows) {
    return Session().MoveStepCursor(rows) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void zw_tell_stepping_under_way() {
    Session().TellSteppingUnderWay();
}
EMSCRIPTEN_KEEPALIVE const char* zw_step_view() {
    return Out(Session().StepView());
}
EMSCRIPTEN_KEEPALIVE void zw_set_row(int row) {
    Session().SetRow(row);
}
// position: a latest step's, as zw_step_view gave it.
EMSCRIPTEN_KEEPALIVE const char* zw_step_back_to(double position) {
    return Out(Session().StepBackTo(position));
}
EMSCRIPTEN_KEEPALIVE void zw_pin_cell(const char* address) {
    Session().PinCell(address);
}
EMSCRIPTEN_KEEPALIVE void zw_unpin_cell(int index) {
    Session().UnpinCell(index);
}
EMSCRIPTEN_KEEPALIVE void zw_set_breakpoint_every(int row, int every) {
    Session().SetBreakpointEvery(row, every);
}
// kind: in the order of the View menu's checks; on: 0 or 1.
EMSCRIPTEN_KEEPALIVE void zw_set_slip_check(int kind, int on) {
    Session().SetSlipCheck(kind, on != 0);
}
EMSCRIPTEN_KEEPALIVE void zw_clear_memory() {
    Session().ClearMemory();
}
EMSCRIPTEN_KEEPALIVE void zw_clear_registers() {
    Session().ClearRegisters();
}
EMSCRIPTEN_KEEPALIVE const char* zw_console_view() {
    return Out(Session().ConsoleView());
}
EMSCRIPTEN_KEEPALIVE const char* zw_enter_accumulator(const char* text) {
    return Out(Session().EnterAccumulator(text));
}
EMSCRIPTEN_KEEPALIVE const char* zw_registers() {
    return Out(Session().Registers());
}
EMSCRIPTEN_KEEPALIVE const char* zw_exit_register_field(int field, const char* text) {
    return Out(Session().ExitRegisterField(field, text));
}
EMSCRIPTEN_KEEPALIVE const char* zw_memory(const char* start) {
    return Out(Session().Memory(start));
}
EMSCRIPTEN_KEEPALIVE const char* zw_check_memory_start(const char* text) {
    return Out(Session().CheckMemoryStart(text));
}
EMSCRIPTEN_KEEPALIVE const char* zw_store_memory_cell(const char* rowAddress, int column,
                                                      const char* text) {
    return Out(Session().StoreMemoryCell(rowAddress, column, text));
}
EMSCRIPTEN_KEEPALIVE const char* zw_listing(int linesPerPage, int charactersPerLine) {
    return Out(Session().Listing(linesPerPage, charactersPerLine));
}
EMSCRIPTEN_KEEPALIVE const char* zw_saved_work() {
    return Out(Session().SavedWork());
}
EMSCRIPTEN_KEEPALIVE int zw_restore_work(const char* text) {
    return Session().RestoreWork(text) ? 1 : 0;
}

}  // extern "C"
