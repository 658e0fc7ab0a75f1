#include "platform/process_versions.h"

#include <dirent.h>
#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace corvale::platform {
namespace {

constexpr std::size_t kMaxSectionBytes = 4096;

bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset) {
  return pread(fd, buffer, size, offset) == static_cast<ssize_t>(size);
}

// The bytes of the named section; empty when there is none. 64-bit little-endian ELF only, the
// only kind this program is built as.
std::string SectionBytes(int fd, const char* wanted) {
  Elf64_Ehdr header{};
  if (!ReadAt(fd, &header, sizeof header, 0) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr) ||
      header.e_shstrndx >= header.e_shnum) {
    return {};
  }
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!ReadAt(fd, sections.data(), sections.size() * sizeof(Elf64_Shdr), off_t(header.e_shoff))) {
    return {};
  }
  const Elf64_Shdr& names = sections[header.e_shstrndx];
  if (names.sh_size > (1 << 20)) return {};
  std::string nameTable(names.sh_size, '\0');
  if (!ReadAt(fd, nameTable.data(), nameTable.size(), off_t(names.sh_offset))) return {};
  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= nameTable.size() ||
        std::strcmp(nameTable.c_str() + section.sh_name, wanted) != 0) {
      continue;
    }
    if (section.sh_size > kMaxSectionBytes || section.sh_type == SHT_NOBITS) return {};
    std::string bytes(section.sh_size, '\0');
    if (!ReadAt(fd, bytes.data(), bytes.size(), off_t(section.sh_offset))) return {};
    return bytes;
  }
  return {};
}

}  // namespace

std::map<std::string, std::string> ReadVersionStrings(const std::string& elfPath) {
  std::map<std::string, std::string> strings;
  const int fd = open(elfPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return strings;
  const std::string bytes = SectionBytes(fd, kVersionSection);
  close(fd);
  // The section holds NUL-terminated texts: key, value, key, value, ...
  std::vector<std::string> texts;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = bytes.find('\0', start);
    if (end == std::string::npos) break;
    texts.emplace_back(bytes, start, end - start);
    start = end + 1;
  }
  for (std::size_t i = 0; i + 1 < texts.size(); i += 2) strings[texts[i]] = texts[i + 1];
  return strings;
}

std::vector<std::string> ProcessExecutables() {
  std::vector<std::string> paths;
  DIR* proc = opendir("/proc");
  if (!proc) return paths;
  while (const dirent* entry = readdir(proc)) {
    const char* name = entry->d_name;
    if (*name == '\0' || std::strspn(name, "0123456789") != std::strlen(name)) continue;
    paths.push_back(std::string("/proc/") + name + "/exe");
  }
  closedir(proc);
  return paths;
}

}  // namespace corvale::platform
