#include "shellext/menu/shell_read.h"

#include <system_error>

namespace velk {

bool contentIsRemote(const FilePlace& place) {
    return place.uncPath || place.remoteDrive ||
           (place.attributes & kContentNotLocalAttributes) != 0;
}

bool isUncPath(const std::wstring& path) {
    const auto startsWith = [&path](const wchar_t* prefix) {
        return path.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
    };
    const auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (startsWith(L"\\\\?\\") || startsWith(L"\\\\.\\")) {
        // The extended forms: only \\?\UNC\ names a share.
        return path.size() > 8 &&
               (path.compare(4, 3, L"UNC") == 0 || path.compare(4, 3, L"unc") == 0) &&
               isSeparator(path[7]);
    }
    return path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]);
}

BoundedRead::BoundedRead(long long measuredSize, bool timed, std::chrono::milliseconds budget) {
    if (measuredSize >= 0)
        options_.byteCap = static_cast<std::uint64_t>(measuredSize);
    options_.cancel = &cancel_;
    if (!timed)
        return;
    const auto deadline = std::chrono::steady_clock::now() + budget;
    try {
        watch_ = std::thread([this, deadline] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!changed_.wait_until(lock, deadline, [this] { return over_; }))
                cancel_.store(true);
        });
    } catch (const std::system_error&) {
        // No thread: the read runs to its end, as it would have without a budget.
    }
}

BoundedRead::~BoundedRead() {
    if (!watch_.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        over_ = true;
    }
    changed_.notify_all();
    watch_.join();
}

std::wstring driveRootOf(const std::wstring& path) {
    std::size_t at = 0;
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        at = 4;
    if (path.size() < at + 2 || path[at + 1] != L':')
        return std::wstring();
    const wchar_t letter = path[at];
    if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z')))
        return std::wstring();
    return std::wstring{letter, L':', L'\\'};
}

} // namespace velk
