#include "app/pinned_cells.h"

#include <algorithm>

#include "app/memory_view.h"
#include "text/hex_text.h"

namespace zorvan::app {

std::string PinnedCells::Add(std::string_view text) {
    // Anything longer would name a cell outside memory, or wrap round to one.
    const std::optional<std::int32_t> address =
        text.size() <= 4 ? text::ParseHex(text) : std::nullopt;
    if (!address) {
        const std::string shown =
            text.empty() ? std::string("(κενό)") : "«" + std::string(text) + "»";
        return shown + ": " + std::string(kPinNeedsAddressMessage);
    }
    if (std::find(addresses_.begin(), addresses_.end(), *address) != addresses_.end())
        return "Το κελί " + text::FormatHex4(*address) + " είναι ήδη καρφιτσωμένο.";
    if (addresses_.size() >= kMostPinnedCells) return std::string(kPinsFullMessage);
    addresses_.push_back(*address);
    return {};
}

void PinnedCells::Remove(std::size_t index) {
    if (index < addresses_.size())
        addresses_.erase(addresses_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::vector<PinnedCellRow> PinnedCells::Rows(const cpu::Machine& machine,
                                             const grid::ChangeMarks& marks) const {
    std::vector<PinnedCellRow> rows;
    for (const int address : addresses_) {
        std::string value = text::FormatHex2(machine.Read(address));
        std::string character = CellCharacter(value);
        rows.push_back({text::FormatHex4(address), std::move(value), std::move(character),
                        marks.Cell(address)});
    }
    return rows;
}

}  // namespace zorvan::app
