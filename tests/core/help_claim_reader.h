#pragma once
// Reads the claims that the help pages carry in HTML comments (the format is told at the top of
// help_claims_test.cpp), for the headless check and for the one that drives the real windows.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/program_file.h"

namespace zorvan::testing {

inline const std::filesystem::path kHelpFolder =
    std::filesystem::path(ZORVAN_SOURCE_DIR) / "resources" / "help";

inline std::string Trim(std::string text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

inline std::vector<std::string> SplitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(Trim(part));
    return parts;
}

// \n, \r (Enter), \t (Tab) and \b (Backspace) as the characters.
inline std::string Unescape(const std::string& text) {
    const std::map<char, char> escapes = {{'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'b', '\b'}};
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\\' && k + 1 < text.size() && escapes.contains(text[k + 1])) {
            out += escapes.at(text[++k]);
        } else {
            out += text[k];
        }
    }
    return out;
}

// The text of an HTML fragment with its character entities read.
inline std::string Decoded(std::string text) {
    const std::pair<std::string, std::string> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + character.size())) {
            text.replace(at, entity.size(), character);
        }
    }
    return text;
}

inline std::vector<std::filesystem::path> HelpPages() {
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(kHelpFolder)) {
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

struct Claim {
    std::string page;
    std::string title;
    std::vector<std::pair<std::string, std::string>> keys;  // in the order written

    bool Has(const std::string& key) const {
        return std::any_of(keys.begin(), keys.end(), [&](const auto& k) { return k.first == key; });
    }
    // The value of the key's last line, or `otherwise` when it has none.
    std::string Value(const std::string& key, const std::string& otherwise = "") const {
        std::string value = otherwise;
        for (const auto& [k, v] : keys)
            if (k == key) value = v;
        return value;
    }
};

// The page's claims; a "program:" that names no earlier claim is added to `errors`.
inline std::vector<Claim> ClaimsOf(const std::filesystem::path& page,
                                   std::vector<std::string>& errors) {
    std::ifstream file(page, std::ios::binary);
    const std::string html{std::istreambuf_iterator<char>(file), {}};
    std::vector<Claim> claims;
    constexpr std::string_view kOpen = "<!-- claim:";
    for (std::size_t at = html.find(kOpen); at != std::string::npos;
         at = html.find(kOpen, at + 1)) {
        const std::size_t end = html.find("-->", at);
        if (end == std::string::npos) break;
        std::istringstream body(html.substr(at + kOpen.size(), end - at - kOpen.size()));
        Claim claim{page.filename().string(), "", {}};
        std::getline(body, claim.title);
        claim.title = Trim(claim.title);
        for (std::string line; std::getline(body, line);) {
            line = Trim(line);
            if (line.empty()) continue;
            const std::size_t colon = line.find(':');
            const std::string key = line.substr(0, colon);
            const std::string value =
                colon == std::string::npos ? "" : Trim(line.substr(colon + 1));
            if (key != "program") {
                claim.keys.emplace_back(key, value);
                continue;
            }
            // The program of an earlier claim on the page, named by its title.
            const auto named = std::find_if(claims.begin(), claims.end(),
                                            [&](const Claim& c) { return c.title == value; });
            if (named == claims.end()) {
                errors.push_back(claim.page + ": no claim titled " + value);
                continue;
            }
            for (const auto& [k, v] : named->keys) {
                if (k == "line" || k == "file") claim.keys.emplace_back(k, v);
            }
        }
        claims.push_back(std::move(claim));
    }
    return claims;
}

// The claim's program: its lines, cells between bars, or the rows of its file.
inline std::vector<app::ProgramRow> ProgramOf(const Claim& claim) {
    std::vector<app::ProgramRow> rows;
    for (const auto& [key, value] : claim.keys) {
        if (key == "file") {
            std::ifstream in(std::string(ZORVAN_SOURCE_DIR) + "/" + value, std::ios::binary);
            return app::ReadProgramText(std::string{std::istreambuf_iterator<char>(in), {}});
        }
        if (key != "line") continue;
        const std::vector<std::string> cells = SplitOn(value, '|');
        app::ProgramRow& row = rows.emplace_back();
        for (std::size_t k = 0; k < cells.size() && k < row.size(); ++k) row[k] = cells[k];
    }
    return rows;
}

}  // namespace zorvan::testing
