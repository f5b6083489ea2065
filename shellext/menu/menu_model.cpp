#include "shellext/menu/menu_model.h"

#include "settings/label_format.h"

namespace velk {

MenuHashing chooseMenuHashing(bool computeAllMenus, long long size) {
    if (computeAllMenus && size <= kMenuComputeAllLimit)
        return MenuHashing::AllDigests;
    if (size <= kMenuSingleDigestLimit)
        return MenuHashing::LabelDigest;
    return MenuHashing::None;
}

long maxItemWidth(long screenWidth) {
    return static_cast<long>(static_cast<double>(screenWidth) * kMaxItemWidthFraction);
}

std::vector<std::string> buildItemLines(const std::string& name, const std::string& digest,
                                        bool isLabel, const TextMeasure& measure, long maxWidth) {
    std::string head = name;
    if (isLabel)
        head += kDefaultSuffix;
    if (head.size() < kNameColumnWidth)
        head.resize(kNameColumnWidth, ' ');
    head += ' ';
    std::string full = head + digest;
    if (maxWidth <= 0 || measure(full) <= maxWidth)
        return {std::move(full)};

    std::vector<std::string> lines;
    std::string rest = digest;
    bool first = true;
    while (!rest.empty()) {
        const std::string prefix = first ? head : std::string(kContinuationPrefix);
        std::size_t n = rest.size();
        // Shortening one character at a time keeps every line as long as fits; one digest
        // character per line is the floor, so the loop always ends.
        while (n > 1 && measure(prefix + rest.substr(0, n)) > maxWidth)
            --n;
        lines.push_back(prefix + rest.substr(0, n));
        rest.erase(0, n);
        first = false;
    }
    return lines;
}

namespace {

MenuNode item(std::string text, MenuCommandKind kind, std::string digest = std::string(),
              std::string algorithm = std::string()) {
    MenuNode node;
    node.text = std::move(text);
    node.command.kind = kind;
    node.command.digest = std::move(digest);
    node.command.algorithm = std::move(algorithm);
    return node;
}

MenuNode popup(std::string text) {
    MenuNode node;
    node.text = std::move(text);
    node.popup = true;
    return node;
}

std::string digestOf(const HashResults& results, const std::string& name) {
    const auto found = results.find(name);
    return found == results.end() ? std::string() : found->second;
}

void addLines(MenuNode& menu, const std::string& name, const std::string& digest, bool isLabel,
              const TextMeasure& measure, long maxWidth) {
    // Every line of a wrapped digest copies the whole digest.
    for (std::string& line : buildItemLines(name, digest, isLabel, measure, maxWidth))
        menu.children.push_back(item(std::move(line), MenuCommandKind::CopyDigest, digest, name));
}

void placeNodes(std::vector<MenuNode>& nodes, unsigned long long idCmdFirst,
                unsigned long long idCmdLast, std::vector<MenuCommand>& commands) {
    std::vector<MenuNode> kept;
    for (MenuNode& node : nodes) {
        if (node.popup) {
            placeNodes(node.children, idCmdFirst, idCmdLast, commands);
            kept.push_back(std::move(node));
            continue;
        }
        const unsigned long long id = idCmdFirst + commands.size();
        if (id > idCmdLast)
            continue; // the range is used up: every further item is dropped
        node.id = static_cast<unsigned>(id);
        commands.push_back(node.command);
        kept.push_back(std::move(node));
    }
    nodes = std::move(kept);
}

} // namespace

bool offersCompare(const std::vector<SelectedKind>& selection) {
    return selection.size() == 2 && selection[0] == SelectedKind::File &&
           selection[1] == SelectedKind::File;
}

bool offersList(const std::vector<SelectedKind>& selection) {
    return !selection.empty() &&
           std::all_of(selection.begin(), selection.end(),
                       [](SelectedKind k) { return k == SelectedKind::File; });
}

MenuNode selectionMenu(bool offerCompare, bool offerList) {
    MenuNode menu = popup("Hashes");
    menu.children.push_back(item("Open Velkscope", MenuCommandKind::OpenSelected));
    if (offerCompare)
        menu.children.push_back(item("Compare the Two Files", MenuCommandKind::CompareTwo));
    if (offerList)
        menu.children.push_back(
            item("Create Checksum File...", MenuCommandKind::CreateChecksumFile));
    return menu;
}

MenuNode fallbackItem() {
    return item("Velkscope", MenuCommandKind::OpenViewer);
}

MenuNode fileMenu(const FileMenuInput& input, const TextMeasure& measure, long maxWidth) {
    MenuNode hashes = popup("Hashes " + formatMenuLabel(input.labelDigest, input.labelFormat));
    hashes.children.push_back(
        item("Copy", MenuCommandKind::CopyDigest, input.labelDigest, input.labelAlgorithm));

    MenuNode more = popup("Copy More");
    for (const std::string& name : kAlgorithmNames) {
        const bool isLabel = name == input.labelAlgorithm;
        if (input.allDigests != nullptr)
            addLines(more, name, digestOf(*input.allDigests, name), isLabel, measure, maxWidth);
        else if (isLabel)
            addLines(more, name, input.labelDigest, isLabel, measure, maxWidth);
        else
            more.children.push_back(item(name, MenuCommandKind::ComputeAndCopy, "", name));
    }
    hashes.children.push_back(std::move(more));

    hashes.children.push_back(item("Clipboard Check", MenuCommandKind::ClipboardCheck));
    hashes.children.push_back(item("Open Velkscope...", MenuCommandKind::OpenViewer));
    if (input.checksumFile)
        hashes.children.push_back(item("Check Listed Files...", MenuCommandKind::CheckListedFiles));
    return hashes;
}

PlacedMenu placeMenu(MenuNode top, unsigned idCmdFirst, unsigned idCmdLast) {
    PlacedMenu placed;
    placed.entries.push_back(std::move(top));
    // 64-bit ids, so a range ending at the top of the 32-bit space does not wrap.
    placeNodes(placed.entries, idCmdFirst, idCmdLast, placed.commands);
    return placed;
}

} // namespace velk
