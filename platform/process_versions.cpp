#include "platform/process_versions.h"

#include <dirent.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
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

std::vector<int> ProcessIds() {
  std::vector<int> ids;
  DIR* proc = opendir("/proc");
  if (!proc) return ids;
  while (const dirent* entry = readdir(proc)) {
    const char* name = entry->d_name;
    if (*name == '\0' || std::strspn(name, "0123456789") != std::strlen(name)) continue;
    ids.push_back(std::atoi(name));
  }
  closedir(proc);
  return ids;
}

std::string ProcessExecutable(int pid) { return "/proc/" + std::to_string(pid) + "/exe"; }

std::optional<uid_t> ProcessOwner(int pid) {
  struct stat st {};
  if (stat(("/proc/" + std::to_string(pid)).c_str(), &st) != 0) return std::nullopt;
  return st.st_uid;
}

std::optional<std::string> ProcessEnvironmentValue(int pid, std::string_view name) {
  const int fd = open(("/proc/" + std::to_string(pid) + "/environ").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string environment;
  char buffer[16384];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) environment.append(buffer, std::size_t(n));
  close(fd);
  if (n < 0) return std::nullopt;
  // NUL-separated NAME=value entries.
  for (std::size_t start = 0; start < environment.size();) {
    std::size_t end = environment.find('\0', start);
    if (end == std::string::npos) end = environment.size();
    const std::string_view entry(environment.data() + start, end - start);
    if (entry.size() > name.size() && entry.substr(0, name.size()) == name &&
        entry[name.size()] == '=') {
      return std::string(entry.substr(name.size() + 1));
    }
    start = end + 1;
  }
  return std::string();
}

}  // namespace corvale::platform
