#pragma once
// The File menu's last files, newest first, each under Ctrl+1 to Ctrl+5.

#include <cstddef>
#include <string>
#include <vector>

namespace zorvan::app {

inline constexpr std::size_t kRecentFileCount = 5;

// The list with path first and only once, at most kRecentFileCount long; empty names dropped.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path);

// The menu item of the file at index (from 0): its number as the mnemonic, then the path with
// every '&' doubled so that it shows as written.
std::string RecentFileItemText(std::size_t index, const std::string& path);

}  // namespace zorvan::app
