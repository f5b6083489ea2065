#include "viewer/viewer_arguments.h"

#include "viewer/status_text.h"

namespace velk {

ViewerArguments parseViewerArguments(const std::vector<std::wstring>& args) {
    ViewerArguments parsed;
    if (args.empty()) {
        parsed.usageText = kUsageText;
        return parsed;
    }
    if (args[0] == L"--check" || args[0] == L"--create") {
        const bool check = args[0] == L"--check";
        if (check ? args.size() != 2 : args.size() < 2) {
            parsed.usageText = check ? kCheckUsageText : kCreateUsageText;
            return parsed;
        }
        parsed.kind = check ? ViewerArguments::Kind::Check : ViewerArguments::Kind::Create;
        if (check)
            parsed.file = args[1];
        else
            parsed.files.assign(args.begin() + 1, args.end());
        return parsed;
    }
    if (args[0] != L"--compare") {
        parsed.kind = ViewerArguments::Kind::Show;
        parsed.file = args[0];
        return parsed;
    }
    if (args.size() < 3) {
        parsed.usageText = kCompareUsageText;
        return parsed;
    }
    parsed.kind = ViewerArguments::Kind::Compare;
    parsed.file = args[1];
    parsed.other = args[2];
    return parsed;
}

} // namespace velk
