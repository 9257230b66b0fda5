#include "app/recent_files.h"

#include <algorithm>

namespace zorvan::app {

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path) {
    files.insert(files.begin(), path);
    std::vector<std::string> recent;
    for (std::string& file : files) {
        if (recent.size() == kRecentFileCount) break;
        if (!file.empty() && std::find(recent.begin(), recent.end(), file) == recent.end())
            recent.push_back(std::move(file));
    }
    return recent;
}

std::string RecentFileItemText(std::size_t index, const std::string& path) {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (const char c : path) {
        text += c;
        if (c == '&') text += '&';
    }
    return text;
}

}  // namespace zorvan::app
