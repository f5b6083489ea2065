#include "shellext/page/page_controls.h"

#include "engine/algorithms.h"

namespace velk {

namespace {

void appendRowControls(std::vector<PageControlSpec>& table) {
    using namespace page_style;
    const std::vector<std::string>& names = kAlgorithmNames;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int row = static_cast<int>(i);
        // Eleven buttons share one caption, so none of them has an access key.
        table.push_back({PageControlRole::CopyButton, "BUTTON", "Copy", ID_PAGE_COPY_BASE + row,
                         kDisabled | kTabStop, PageFont::Ui, row});
        table.push_back({PageControlRole::NameLabel, "STATIC", names[i], 0,
                         kLeftNoWordWrap | kCenterImage, PageFont::Ui, row});
        table.push_back({PageControlRole::DigestEdit, "EDIT", "computing...", 0,
                         kMultiLine | kReadOnly | kTabStop, PageFont::Mono, row});
    }
}

} // namespace

std::vector<PageControlSpec> pageRowControls() {
    std::vector<PageControlSpec> rows;
    appendRowControls(rows);
    return rows;
}

std::vector<PageControlSpec> pageControlTable(const std::string& headerText, bool tooLarge,
                                              bool resultsReady, bool onRequest) {
    using namespace page_style;
    std::vector<PageControlSpec> table;
    table.push_back({PageControlRole::Header, "STATIC", headerText, 0, 0, PageFont::Ui});
    if (tooLarge) {
        table.push_back({PageControlRole::OpenViewer, "BUTTON", "&Open Velkscope",
                         ID_PAGE_OPEN_VIEWER, kPushButton | kTabStop, PageFont::Ui});
    }
    table.push_back({PageControlRole::SettingsLabel, "STATIC", "&Settings:", 0, 0, PageFont::Ui});
    table.push_back({PageControlRole::AlgoCombo, "COMBOBOX", "", ID_PAGE_ALGO,
                     kVScroll | kDropDownList | kTabStop, PageFont::Ui});
    table.push_back({PageControlRole::FormatCombo, "COMBOBOX", "", ID_PAGE_FORMAT,
                     kVScroll | kDropDownList | kTabStop, PageFont::Ui});
    table.push_back({PageControlRole::Preview, "STATIC", "", 0, 0, PageFont::Ui});
    if (!tooLarge && onRequest) {
        table.push_back({PageControlRole::ComputeButton, "BUTTON", "Co&mpute", ID_PAGE_COMPUTE,
                         kPushButton | kTabStop, PageFont::Ui});
    } else if (!tooLarge) {
        appendRowControls(table);
    }
    table.push_back({PageControlRole::CheckButton, "BUTTON", "&Check", ID_PAGE_CHECK,
                     kPushButton | kTabStop | (resultsReady ? 0u : kDisabled), PageFont::Ui});
    table.push_back({PageControlRole::CheckResult, "STATIC",
                     tooLarge ? pageTooLargeCheckText() : std::string(), ID_PAGE_CHECK_RESULT, 0,
                     PageFont::Ui});
    return table;
}

std::string pageHeaderText(bool isResolvedShortcut, bool tooLarge, const std::string& targetUtf8) {
    if (isResolvedShortcut)
        return "Shortcut target: " + targetUtf8;
    if (tooLarge)
        return "File too large to hash here - open the Velkscope.";
    return std::string();
}

bool pageFileTooLarge(long long size) {
    return size > kPageHashLimit;
}

std::string pageTooLargeCheckText() {
    return "Open Velkscope above to check this file: the viewer has no size limit.";
}

bool hasShortcutExtension(const std::wstring& path) {
    if (path.size() <= 3)
        return false;
    std::wstring last = path.substr(path.size() - 4);
    for (wchar_t& c : last) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return last == L".lnk";
}

int pageCopyRow(int id, std::size_t rowCount) {
    const long long row = static_cast<long long>(id) - ID_PAGE_COPY_BASE;
    if (row < 0 || row >= static_cast<long long>(rowCount))
        return -1;
    return static_cast<int>(row);
}

} // namespace velk
