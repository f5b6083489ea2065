#include "reliability_menu_support_win.h"

#include "engine/algorithms.h"
#include "engine/own/crc32.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <cstring>

std::string pseudoRandomBytes(std::size_t size, std::uint64_t seed) {
    std::string bytes(size, '\0');
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i < size; i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        std::memcpy(&bytes[i], &x, std::min<std::size_t>(8, size - i));
    }
    return bytes;
}

PrefixCrcs::PrefixCrcs(const std::string& content, const std::vector<std::size_t>& extraLengths,
                       std::size_t step) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(content.data());
    velk::Crc32 crc;
    std::size_t done = 0;
    const auto record = [&](std::size_t length) {
        // Digests of a prefix are always taken from a copy: the running state goes on.
        velk::Crc32 upTo = crc;
        upTo.update(data + done, length - done);
        lengths_.emplace(upTo.finalHex(), length);
    };
    for (std::size_t length : extraLengths)
        if (length <= content.size()) {
            velk::Crc32 fresh;
            fresh.update(data, length);
            lengths_.emplace(fresh.finalHex(), length);
        }
    for (std::size_t at = 0; at <= content.size(); at += step) {
        record(at);
        crc.update(data + done, at - done);
        done = at;
    }
    record(content.size());
}

long long PrefixCrcs::lengthOf(const std::string& crcHex) const {
    const auto found = lengths_.find(crcHex);
    return found == lengths_.end() ? -1 : static_cast<long long>(found->second);
}

std::map<std::string, std::string> copyMoreDigests(const MenuEntryView& hashes) {
    std::map<std::string, std::string> digests;
    const std::wstring continuation = L"   \x21B3 ";
    std::string owner;
    for (const MenuEntryView& child : hashes.children) {
        if (child.text != L"Copy More")
            continue;
        for (const MenuEntryView& line : child.children) {
            const std::string text = velk::toUtf8(line.text);
            if (line.text.compare(0, continuation.size(), continuation) == 0) {
                digests[owner] += velk::toUtf8(line.text.substr(continuation.size()));
                continue;
            }
            owner = text.substr(0, text.find(' '));
            const std::size_t lastSpace = text.rfind(' ');
            digests[owner] = lastSpace == std::string::npos ? "" : text.substr(lastSpace + 1);
        }
    }
    return digests;
}

int childOffset(const MenuEntryView& hashes, const std::wstring& text, UINT idCmdFirst) {
    for (const MenuEntryView& child : hashes.children)
        if (child.text == text && !child.popup)
            return static_cast<int>(child.id - idCmdFirst);
    return -1;
}

std::string readFileWide(const std::wstring& path) {
    velk::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

bool truncateFile(const std::wstring& path, long long size) {
    velk::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    return SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

namespace {

struct OpenClipboardScope {
    bool open = false;
    OpenClipboardScope() {
        for (int attempt = 0; attempt < 50 && !open; ++attempt) {
            open = OpenClipboard(nullptr) != FALSE;
            if (!open)
                Sleep(10);
        }
    }
    ~OpenClipboardScope() {
        if (open)
            CloseClipboard();
    }
};

} // namespace

bool putClipboardBlocks(const std::vector<ClipboardBlock>& blocks) {
    OpenClipboardScope clipboard;
    if (!clipboard.open || !EmptyClipboard())
        return false;
    for (const ClipboardBlock& block : blocks) {
        velk::UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, block.bytes.size()));
        if (!memory)
            return false;
        void* data = GlobalLock(memory.get());
        if (data == nullptr)
            return false;
        std::memcpy(data, block.bytes.data(), block.bytes.size());
        GlobalUnlock(memory.get());
        if (SetClipboardData(block.format, memory.get()) == nullptr)
            return false;
        memory.release();
    }
    return true;
}

std::vector<UINT> clipboardFormats() {
    std::vector<UINT> formats;
    OpenClipboardScope clipboard;
    if (!clipboard.open)
        return formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        formats.push_back(format);
    return formats;
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

BuiltMenu MenuReliability::idle(const std::wstring& path) {
    return build({path}, 100, 0x7FFF, CMF_DEFAULTONLY);
}

void MenuReliability::expectAllOfPrefix(const std::map<std::string, std::string>& shown,
                                        const std::string& content, long long length) {
    const std::wstring prefix = file(L"prefix read.bin", content.substr(0, length));
    const velk::HashResults expected = digestsOf(prefix);
    for (const std::string& name : velk::kAlgorithmNames)
        EXPECT_EQ(shown.count(name) ? shown.at(name) : "<missing>", expected.at(name))
            << name << " over " << length << " bytes";
    DeleteFileW(prefix.c_str());
}
