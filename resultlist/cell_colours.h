// Per-cell colour overrides of the result list, tied to row positions: duplicate groups show in
// red. The view reads them through the model's foreground and background roles.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace corvale::resultlist {

// Colours as 0x00BBGGRR. The first two stand for the list's own colours, whatever the desktop's
// theme draws them as: the view is never told to paint them.
inline constexpr std::uint32_t kListTextColour = 0x000000;
inline constexpr std::uint32_t kListBackground = 0xFFFFFF;
inline constexpr std::uint32_t kRed = 0x0000FF;

struct CellColours {
  std::uint32_t text = kListTextColour;
  std::uint32_t background = kListBackground;
};

class CellColourTable {
 public:
  // Overwrites the cell's entry; an entry with the list's own colours is removed or never added.
  // Returns whether the cell's colours changed.
  bool SetCellColour(int row, int column, std::uint32_t text,
                     std::optional<std::uint32_t> background = std::nullopt);
  // Empties the table. Does nothing when no colour was set since the last clear; returns whether
  // anything was cleared.
  bool ClearCellColours();

  std::optional<CellColours> Find(int row, int column) const;
  std::size_t Size() const { return entries_.size(); }
  bool Active() const { return active_; }

 private:
  std::map<std::pair<int, int>, CellColours> entries_;
  bool active_ = false;
};

}  // namespace corvale::resultlist
