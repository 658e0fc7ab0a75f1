// Shared by the benchmarks: generated trees, wall-clock timing, peer commands and the one summary
// line each benchmark ends with.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace corvale::bench {

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Runs a shell command with its output discarded; its wall-clock seconds.
inline double TimeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system((command + " > /dev/null 2>&1").c_str()) != 0) {
    std::fprintf(stderr, "peer command failed: %s\n", command.c_str());
  }
  return Seconds(start);
}

// The one-core MD5 rate of OpenSSL on this machine, in bytes per second, from `openssl speed`.
inline double Md5BytesPerSecond() {
  FILE* pipe = popen("openssl speed -evp md5 -bytes 5242880 -seconds 2 2>/dev/null", "r");
  double kilobytes = 0;
  char line[512];
  while (pipe && std::fgets(line, sizeof line, pipe)) {
    // The result line: "md5   732422.43k".
    if (std::sscanf(line, "md5 %lfk", &kilobytes) == 1) break;
  }
  if (pipe) pclose(pipe);
  return kilobytes * 1000;
}

// A tree of `files` small files spread over `folders` folders under root, made once and reused.
inline std::string MakeTree(const std::string& name, int files, int folders, int bytes = 16) {
  const std::string root = (std::filesystem::temp_directory_path() / name).string();
  const std::string stamp = root + "/.complete";
  if (std::filesystem::exists(stamp)) return root;
  std::filesystem::remove_all(root);
  const std::string body(bytes, 'x');
  for (int i = 0; i < files; ++i) {
    const std::string dir = root + "/d" + std::to_string(i % folders);
    if (i < folders) std::filesystem::create_directories(dir);
    std::ofstream(dir + "/file" + std::to_string(i) + ".dat") << body;
  }
  std::ofstream(stamp) << "";
  return root;
}

// Warm the page cache so both sides read the same cached tree.
inline void WarmUp(const std::string& root) {
  TimeCommand("find '" + root + "' -type f -printf '%s %T@ %p\\n'");
}

}  // namespace corvale::bench
