#pragma once
// Helpers for the context menu on hostile files and clipboards: file contents whose every
// prefix can be recognised by its CRC-32, the digests a "Copy More" submenu shows, files
// changed from another thread, and clipboards holding formats other than text.

#include "shell_menu_fixture.h"
#include "shell_ui.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

// Bytes of a fixed pseudo-random sequence: no two prefixes of a useful length share a CRC.
std::string pseudoRandomBytes(std::size_t size, std::uint64_t seed);

// The CRC-32 of every prefix of a content whose length is a multiple of the step, of the
// whole content and of the extra lengths: which prefix did a digest read?
class PrefixCrcs {
  public:
    PrefixCrcs(const std::string& content, const std::vector<std::size_t>& extraLengths,
               std::size_t step = 512);
    // The length of the prefix with this CRC (lowercase hex), or -1 for none.
    long long lengthOf(const std::string& crcHex) const;

  private:
    std::unordered_map<std::string, std::size_t> lengths_;
};

// Algorithm name -> digest as the "Copy More" submenu of a one-file menu shows it, wrapped
// lines joined again; the bare names of digests not computed map to "".
std::map<std::string, std::string> copyMoreDigests(const MenuEntryView& hashes);

// Offset (id - idCmdFirst) of the child of the hashes submenu with that text, or -1.
int childOffset(const MenuEntryView& hashes, const std::wstring& text, UINT idCmdFirst = 100);

// The whole file, read through its UTF-16 name; empty when it cannot be read.
std::string readFileWide(const std::wstring& path);

// Sets the file's end at size, with the sharing the engine's open allows; false on failure.
bool truncateFile(const std::wstring& path, long long size);

// One clipboard entry: a format and the bytes of its global block.
struct ClipboardBlock {
    UINT format;
    std::string bytes;
};
// Empties the clipboard and puts exactly these blocks on it (none: an empty clipboard).
bool putClipboardBlocks(const std::vector<ClipboardBlock>& blocks);
// The formats now on the clipboard, in enumeration order.
std::vector<UINT> clipboardFormats();

using Clock = std::chrono::steady_clock;
double millisecondsBetween(Clock::time_point from, Clock::time_point to);

// One suite for every reliability case of the menu: the fixture registers a copy of the DLL
// once per suite, and that copy stays loaded in this process.
class MenuReliability : public ShellMenuTest {
  protected:
    // The test build of the DLL, whose reads can be slowed down.
    static void SetUpTestSuite() { setUpSuite(L"velkshell_faults.dll"); }

    // The object initialised for the path with nothing in the menu yet, so that a timed
    // rebuild covers the menu's own work only.
    static BuiltMenu idle(const std::wstring& path);
    // Every digest shown is the engine's for the first `length` bytes of the content.
    static void expectAllOfPrefix(const std::map<std::string, std::string>& shown,
                                  const std::string& content, long long length);
};
