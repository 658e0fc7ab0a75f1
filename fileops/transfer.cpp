#include "fileops/transfer.h"

#include "platform/file_system.h"

namespace corvale::fileops {

std::string FileStem(std::string_view path) {
  const auto slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::string_view extension = platform::PathFindExtension(name);
  return std::string(name.substr(0, name.size() - extension.size()));
}

std::string ClashName(const std::string& target, const std::string& name, int attempt) {
  std::string result = target;
  result.append("/").append(FileStem(name)).append(kClashMarker);
  if (attempt > 1) result.append(std::to_string(attempt));
  result.append(platform::PathFindExtension(name));
  return result;
}

TransferOutcome TransferToTarget(const std::string& source, const std::string& name,
                                 const std::string& target, bool move) {
  TransferOutcome outcome;
  // A copy is made once without a name and then offered the free names in turn; a move renames
  // the file itself. Either way a taken name is refused by the file system, never replaced, so
  // no look-then-write race can overwrite anything.
  std::optional<platform::PendingCopy> copy =
      move ? std::nullopt : platform::PendingCopy::Make(source, target);
  if (!move && !copy) return outcome;
  const auto placeAt = [&](const std::string& destination) {
    outcome.destination = destination;
    return move ? platform::MoveFileNoReplace(source, destination) : copy->Place(destination);
  };
  // The bound only stops a folder that somehow refuses every name.
  for (int attempt = 0; attempt <= 10000; ++attempt) {
    const auto result =
        placeAt(attempt == 0 ? target + "/" + name : ClashName(target, name, attempt));
    if (result == platform::TransferResult::DestinationExists) {
      outcome.clashed = true;
      continue;
    }
    outcome.done = result == platform::TransferResult::Done;
    break;
  }
  return outcome;
}

ListedFile ListedFileOf(const resultlist::ResultRow& row) {
  return {std::string(row.Path()), row.byteSize, row.modifiedNs, row.device, row.inode};
}

std::vector<DuplicateVictim> CollectDuplicateVictims(const resultlist::ResultList& list) {
  std::vector<DuplicateVictim> victims;
  const resultlist::ResultRow* runStart = nullptr;
  for (const auto& row : list.rows) {
    if (!row.InGroup()) continue;
    if (runStart && runStart->mark == row.mark) {
      victims.push_back({ListedFileOf(row), ListedFileOf(*runStart)});
    } else {
      runStart = &row;
    }
  }
  return victims;
}

bool SafeToDelete(const DuplicateVictim& v) {
  const auto unchanged = [](const ListedFile& listed) {
    const auto now = platform::StatPath(listed.path);
    return now && now->device == listed.device && now->inode == listed.inode &&
           now->size == listed.size && now->ModifiedNs() == listed.modifiedNs;
  };
  const bool twoFiles = v.victim.device != v.kept.device || v.victim.inode != v.kept.inode;
  return twoFiles && unchanged(v.victim) && unchanged(v.kept);
}

}  // namespace corvale::fileops
