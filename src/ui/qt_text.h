#pragma once
// The core keeps text as UTF-8 std::string; Qt keeps QString. These are the only crossings.

#include <QString>
#include <string>
#include <string_view>

namespace zorvan::ui {

inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toStdString();
}

// True when every character is one a cell can hold: in the Greek code page and not a control
// character (a cell is one line of text). A character of alsoAllowed passes too: one that an
// opened file brought into the cell, which an edit of the rest must not refuse.
bool IsCellText(const QString& text, const QString& alsoAllowed = {});

}  // namespace zorvan::ui
