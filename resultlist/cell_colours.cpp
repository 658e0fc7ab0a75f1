#include "resultlist/cell_colours.h"

namespace corvale::resultlist {

bool CellColourTable::SetCellColour(int row, int column, std::uint32_t text,
                                    std::optional<std::uint32_t> background) {
  active_ = true;
  const CellColours wanted{text, background.value_or(kListBackground)};
  const bool plain = wanted.text == kListTextColour && wanted.background == kListBackground;
  const auto key = std::make_pair(row, column);
  const auto found = entries_.find(key);
  if (found == entries_.end()) {
    if (plain) return false;
    entries_.emplace(key, wanted);
    return true;
  }
  if (plain) {
    entries_.erase(found);
    return true;
  }
  const bool changed =
      found->second.text != wanted.text || found->second.background != wanted.background;
  found->second = wanted;
  return changed;
}

bool CellColourTable::ClearCellColours() {
  if (!active_) return false;
  entries_.clear();
  active_ = false;
  return true;
}

std::optional<CellColours> CellColourTable::Find(int row, int column) const {
  const auto found = entries_.find({row, column});
  if (found == entries_.end()) return std::nullopt;
  return found->second;
}

}  // namespace corvale::resultlist
