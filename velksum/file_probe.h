#pragma once
// What velksum asks the system about a file besides its digests.

#include <cstdint>
#include <cstdio>
#include <string>

namespace velk {

// The system's reason why the file cannot be opened or read ("No such file or directory",
// "Is a directory"), found by trying again; empty when it now opens and reads.
std::string failureReason(const std::string& path);

// The size of the file at the UTF-8 path; false when it cannot be asked.
bool fileSizeOf(const std::string& path, std::uint64_t& size);

// A path the engine can open to read standard input: "/dev/stdin" where there is one; on
// Windows a temporary copy of the input (removed with removeInputCopy). Empty on failure.
std::string standardInputPath();
void removeInputCopy(const std::string& path);

// True when the stream writes to a terminal (a console window on Windows).
bool isTerminal(std::FILE* stream);

} // namespace velk
