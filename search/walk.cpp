#include "search/walk.h"

#include <set>
#include <utility>

#include "platform/file_system.h"

namespace corvale::search {
namespace {

constexpr std::uint32_t kFileMask = platform::kAttrReadOnly | platform::kAttrHidden |
                                    platform::kAttrSystem | platform::kAttrArchive;
constexpr std::uint32_t kFolderMask = platform::kAttrDirectory;

struct Walk {
  std::string pattern;
  bool recurse;
  const FileCallback& callback;
  const WalkHooks& hooks;
  std::set<std::pair<dev_t, ino_t>> visited;
  bool stopped = false;

  void Folder(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    const std::string prefix = pattern.find("*.") != std::string::npos ? "" : "*.";

    platform::EntryEnumerator files;
    std::string name = files.First(folder, prefix + pattern, kFileMask);
    if (files.IsOpen() && !visited.emplace(files.FolderDevice(), files.FolderInode()).second) {
      return;  // this physical folder was walked already under another path
    }
    for (; !name.empty(); name = files.Next()) callback(name, folder + name, files.FolderFd());
    files.Close();
    if (!recurse) return;

    platform::EntryEnumerator folders;
    for (name = folders.First(folder, "*.*", kFolderMask); !name.empty(); name = folders.Next()) {
      if (name == "." || name == "..") continue;
      Folder(folder + name);
      if (hooks.afterSubfolder) hooks.afterSubfolder();
      if (stopped || (hooks.stopRequested && hooks.stopRequested())) {
        stopped = true;
        return;
      }
    }
  }
};

}  // namespace

void WalkFolder(const std::string& folder, const std::string& pattern, bool recurse,
                const FileCallback& callback, const WalkHooks& hooks) {
  Walk walk{pattern.empty() ? "*" : pattern, recurse, callback, hooks, {}};
  walk.Folder(folder);
}

}  // namespace corvale::search
