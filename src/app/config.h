// The working directory and the configuration file "DID2.cfg" in it: read (or
// created with defaults) at start, rewritten after the settings dialog's OK.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "host/messages.h"

namespace quorvel {

inline constexpr std::string_view kConfigFileName = "DID2.cfg";

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Appends the platform's path separator unless `dir` already ends in one.
void EnsureTrailingSeparator(std::string& dir);

// The process's current directory, ending in the path separator: the program's WorkDir.
std::string CaptureWorkDir();

// Ends `work_dir` with the separator, then reads work_dir + "DID2.cfg" into `settings`; when
// the file is missing, creates it with the default texts. Empty or missing lines keep their
// defaults. Lines that are not decimal integers are reported together in one message and
// keep their defaults; a file that can be neither read nor created is reported and the
// defaults stay in force.
void ReadConfig(std::string& work_dir, Settings& settings, Messages& messages);

// Rewrites work_dir + "DID2.cfg" from `settings` as plain decimal numbers (the old file is
// replaced only once the new one is complete). False, after a message, when it cannot.
bool WriteConfig(const std::string& work_dir, const Settings& settings, Messages& messages);

// The reading and the content behind ReadConfig and WriteConfig, on an open stream and in
// memory: the lines of `file` stored into `settings` as ReadConfig stores them (messages
// included); false, with nothing stored, when reading the stream failed. The text WriteConfig
// writes for `settings`.
bool ReadConfigStream(std::FILE* file, Settings& settings, Messages& messages);
std::string ConfigContent(const Settings& settings);

// For quorvel-cli: reads work_dir + "DID2.cfg" into `settings` when the file is there, and
// never creates or rewrites it. Returns true when the file was read.
bool ReadConfigIfPresent(const std::string& work_dir, Settings& settings, Messages& messages);

}  // namespace quorvel
