#include "ui/grid_key_event.h"

namespace zorvan::ui {

namespace {

int VirtualKeyCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Backspace:
            return app::kKeyBackspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return app::kKeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return app::kKeyEnter;
        case Qt::Key_Shift:
            return app::kKeyShift;
        case Qt::Key_Control:
            return app::kKeyControl;
        case Qt::Key_Alt:
            return app::kKeyAlt;
        case Qt::Key_Escape:
            return app::kKeyEscape;
        case Qt::Key_Space:
            return app::kKeySpace;
        case Qt::Key_PageUp:
            return app::kKeyPageUp;
        case Qt::Key_PageDown:
            return app::kKeyPageDown;
        case Qt::Key_End:
            return app::kKeyEnd;
        case Qt::Key_Home:
            return app::kKeyHome;
        case Qt::Key_Left:
            return app::kKeyLeft;
        case Qt::Key_Up:
            return app::kKeyUp;
        case Qt::Key_Right:
            return app::kKeyRight;
        case Qt::Key_Down:
            return app::kKeyDown;
        case Qt::Key_Insert:
            return app::kKeyInsert;
        case Qt::Key_Delete:
            return app::kKeyDelete;
        default:
            break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return app::kKeyF1 + (qtKey - Qt::Key_F1);
    // Digits and letters have the same codes in both worlds.
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;
    }
    return 0;
}

}  // namespace

app::GridKey ToGridKey(const QKeyEvent& event) {
    app::GridKey key;
    key.code = VirtualKeyCode(event.key());
    key.shift = event.modifiers().testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab;
    key.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    key.alt = event.modifiers().testFlag(Qt::AltModifier);
    return key;
}

char32_t TypedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return U'\r';
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return U'\t';
        case Qt::Key_Backspace:
            return U'\b';
        case Qt::Key_Delete:
            return 0;  // deletes in the editor but types nothing
        default:
            break;
    }
    const QList<uint> characters = event.text().toUcs4();
    if (characters.isEmpty() || characters.front() == 0x7F) return 0;
    return characters.front();
}

bool IsGridMovementKey(const app::GridKey& key) {
    switch (key.code) {
        case app::kKeyLeft:
        case app::kKeyRight:
        case app::kKeyUp:
        case app::kKeyDown:
        case app::kKeyTab:
            return true;
        default:
            return false;
    }
}

}  // namespace zorvan::ui
