#pragma once
// Files and folders for the shell tests, under a scratch folder beside the test program.

#include <string>
#include <vector>

// A fresh, empty folder testProgramFolder() + "shell-test-data\" + name (no trailing
// backslash). Whatever an earlier run left there is removed first.
std::wstring freshTestFolder(const std::wstring& name);

// Writes the bytes as the whole file; false when it cannot.
bool writeTestFile(const std::wstring& path, const std::string& bytes);

// A file of the size whose content is all zero bytes, without writing them (the data
// stays sparse where the file system allows).
bool makeSizedFile(const std::wstring& path, long long size);
