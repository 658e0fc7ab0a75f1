#include "search/walk.h"

#include <set>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace corvale::search {
namespace {

constexpr std::uint32_t kFileMask = platform::kAttrReadOnly | platform::kAttrHidden |
                                    platform::kAttrSystem | platform::kAttrArchive;
constexpr std::uint32_t kFolderMask = platform::kAttrDirectory;

class Walk {
 public:
  Walk(std::string filePattern, bool recurse, const FileCallback& callback, const WalkHooks& hooks)
      : filePattern_(std::move(filePattern)),
        recurse_(recurse),
        callback_(callback),
        hooks_(hooks) {}

  void Run(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    folder_ = std::move(folder);
    Read();
    while (!pending_.empty()) {
      Pending& top = pending_.back();
      if (top.next == top.subfolders.size()) {
        pending_.pop_back();
        if (!pending_.empty() && SubfolderDone()) return;
        continue;
      }
      folder_.resize(top.folderLength);
      folder_.append(top.subfolders[top.next++]).push_back('/');
      const std::size_t depth = pending_.size();
      Read();
      // A subfolder without subfolders of its own is done as soon as it is read.
      if (pending_.size() == depth && SubfolderDone()) return;
    }
  }

 private:
  // The subfolders of a folder that are still to be walked.
  struct Pending {
    std::vector<std::string> subfolders;
    std::size_t next = 0;
    std::size_t folderLength = 0;
  };

  // Reads folder_ once: its files go to the callback, its subfolders onto the pending stack.
  void Read() {
    platform::FolderReader reader(folder_);
    if (!reader.IsOpen() || !visited_.emplace(reader.Device(), reader.Inode()).second) return;
    Pending pending;
    pending.folderLength = folder_.size();
    while (const auto entry = reader.Next()) {
      if ((entry->attributes & kFileMask) && platform::WildcardMatch(filePattern_, entry->name)) {
        callback_(entry->name, folder_, reader.Fd());
      }
      if (recurse_ && (entry->attributes & kFolderMask))
        pending.subfolders.emplace_back(entry->name);
    }
    if (!pending.subfolders.empty()) pending_.push_back(std::move(pending));
  }

  // Returns true when the walk is to end.
  bool SubfolderDone() {
    if (hooks_.afterSubfolder) hooks_.afterSubfolder();
    return hooks_.stopRequested && hooks_.stopRequested();
  }

  const std::string filePattern_;
  const bool recurse_;
  const FileCallback& callback_;
  const WalkHooks& hooks_;
  std::string folder_;
  std::vector<Pending> pending_;
  std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

void WalkFolder(const std::string& folder, const std::string& pattern, bool recurse,
                const FileCallback& callback, const WalkHooks& hooks) {
  const std::string p = pattern.empty() ? "*" : pattern;
  // The file pass of the find service enumerates "*." + pattern unless the pattern has "*." in it.
  const std::string filePattern = p.find("*.") != std::string::npos ? p : "*." + p;
  Walk(filePattern, recurse, callback, hooks).Run(folder);
}

}  // namespace corvale::search
