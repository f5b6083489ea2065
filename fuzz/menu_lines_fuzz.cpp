// The "Copy More" lines on arbitrary names, digests, widths and text measures, and the
// one-file menu they go into placed within an arbitrary id range.
//
// Input: byte 0 holds isLabel (bit 0), the measure (bits 1-3), whether the name is a
// catalogue name (bit 4) and whether the menu had all digests (bit 5); byte 1 picks the
// catalogue name, or else its low 5 bits are the length of the name that follows; byte 2
// picks the id range; two bytes give maxWidth (signed, so zero and negative limits come up);
// measures with per-byte widths take 16 bytes of them; the rest is the digest.

#include "shellext/menu/menu_model.h"

#include "settings/label_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The wrap search measures one candidate per character it drops, so its cost grows with the
// cube of the digest length; real digests are at most 128 characters.
const std::size_t kMaxDigest = 160;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    std::uint8_t byte() { return at < size ? data[at++] : 0; }
    std::string bytes(std::size_t n) {
        n = std::min(n, size - at);
        std::string s(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return s;
    }
    std::string rest() { return bytes(size - at); }
};

void check(bool holds) {
    if (!holds)
        std::abort();
}

// A fake of the screen font: a pure function of the text, as the real one is.
struct FakeMeasure {
    int kind = 0;
    long widths[16] = {};
    mutable unsigned long long calls = 0;

    long operator()(const std::string& text) const {
        ++calls;
        long total = 0;
        switch (kind) {
        case 0: // fixed pitch
            return static_cast<long>(text.size()) * 7;
        case 1: // per-byte widths, zero widths included
            for (unsigned char c : text)
                total += widths[c & 15];
            return total;
        case 2: // per character of the UTF-8 text, as the UTF-16 form would be measured
            for (unsigned char c : text)
                if ((c & 0xC0) != 0x80)
                    total += widths[c & 15] + 1;
            return total;
        case 3: { // kerning: neighbouring pairs may narrow the text, never below zero
            for (std::size_t i = 0; i < text.size(); ++i) {
                total += widths[static_cast<unsigned char>(text[i]) & 15];
                if (i > 0 && text[i] == text[i - 1])
                    total -= widths[0] / 2;
            }
            return std::max(total, 0L);
        }
        case 4: { // no order at all: a longer text may be narrower
            unsigned long long h = 1469598103934665603ull;
            for (unsigned char c : text)
                h = (h ^ c) * 1099511628211ull;
            return static_cast<long>(h % static_cast<unsigned long long>(widths[1] * 8 + 1));
        }
        case 5: // everything is wider than any limit
            return 1L << 30;
        default: // nothing has width
            return 0;
        }
    }
};

std::string expectedHead(const std::string& name, bool isLabel) {
    std::string head = name + (isLabel ? velk::kDefaultSuffix : "");
    while (head.size() < velk::kNameColumnWidth)
        head += ' ';
    return head + ' ';
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void checkLines(const std::string& name, const std::string& digest, bool isLabel,
                const FakeMeasure& measure, long maxWidth) {
    measure.calls = 0;
    const std::vector<std::string> lines =
        velk::buildItemLines(name, digest, isLabel, measure, maxWidth);
    const unsigned long long callsMade = measure.calls;

    const std::string head = expectedHead(name, isLabel);
    const std::string full = head + digest;
    const auto fits = [&](const std::string& text) { return measure(text) <= maxWidth; };

    if (maxWidth <= 0 || fits(full)) {
        check(lines.size() == 1 && lines[0] == full);
        return;
    }
    // Wrapped: the head starts the first line, the continuation prefix every later one, and
    // the pieces after them are the digest, in order, none empty.
    check(lines.size() <= digest.size());
    check(!digest.empty() || lines.empty());
    const std::string continuation = velk::kContinuationPrefix;
    std::string rest = digest;
    std::string reassembled;
    unsigned long long bound = 1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& prefix = i == 0 ? head : continuation;
        check(startsWith(lines[i], prefix));
        const std::string piece = lines[i].substr(prefix.size());
        check(!piece.empty() && startsWith(rest, piece));
        // Within the limit unless a single character cannot fit; and as long as fits: every
        // longer cut of what was left is too wide.
        check(fits(lines[i]) || piece.size() == 1);
        for (std::size_t m = piece.size() + 1; m <= rest.size(); ++m)
            check(!fits(prefix + rest.substr(0, m)));
        bound += rest.size();
        reassembled += piece;
        rest.erase(0, piece.size());
    }
    check(reassembled == digest);
    // One measure of the whole item, then at most one per candidate cut.
    check(callsMade <= bound);
}

// Arbitrary digests in the one-file menu, placed within [first, last]: ids consecutive from
// first, never past last (nor wrapped past the top of the 32-bit range), the command table
// in id order, and every "Copy More" line copying the whole digest of its algorithm.
void checkPlacedMenu(const std::string& digest, const std::string& algorithm, bool all,
                     const FakeMeasure& measure, long maxWidth, unsigned first, unsigned last) {
    velk::HashResults results;
    std::size_t cut = 0;
    for (const std::string& name : velk::kAlgorithmNames) {
        // Each algorithm gets a different slice, some of them empty.
        const std::size_t n = digest.empty() ? 0 : (cut * 7 + name.size()) % (digest.size() + 1);
        results[name] = digest.substr(0, n);
        ++cut;
    }
    velk::FileMenuInput input{algorithm, "4", results[algorithm], all ? &results : nullptr};
    const velk::MenuNode tree = velk::fileMenu(input, measure, maxWidth);
    const velk::PlacedMenu placed = velk::placeMenu(tree, first, last);

    check(placed.entries.size() == 1);
    const velk::MenuNode& hashes = placed.entries[0];
    check(hashes.popup && hashes.text == "Hashes " + velk::formatMenuLabel(input.labelDigest, "4"));

    std::vector<const velk::MenuNode*> items;
    // Depth first, children in order: the order placeMenu numbers them.
    const auto walk = [&items](const velk::MenuNode& node, const auto& self) -> void {
        for (const velk::MenuNode& child : node.children) {
            if (child.popup)
                self(child, self);
            else
                items.push_back(&child);
        }
    };
    walk(hashes, walk);
    check(items.size() == placed.commands.size());
    const unsigned long long available =
        first > last ? 0 : static_cast<unsigned long long>(last) - first + 1;
    check(items.size() <= available);
    for (std::size_t i = 0; i < items.size(); ++i) {
        check(items[i]->id == static_cast<unsigned long long>(first) + i);
        check(items[i]->command == placed.commands[i]);
    }
    // Nothing is dropped while the range lasts.
    const velk::PlacedMenu unlimited = velk::placeMenu(tree, 0, 0xFFFFFFFFu);
    check(placed.commands.size() ==
          std::min<unsigned long long>(unlimited.commands.size(), available));
    for (std::size_t i = 0; i < placed.commands.size(); ++i)
        check(placed.commands[i] == unlimited.commands[i]);

    for (const velk::MenuNode& child : hashes.children) {
        if (child.text != "Copy More")
            continue;
        for (const velk::MenuNode& line : child.children) {
            if (line.command.kind == velk::MenuCommandKind::CopyDigest)
                check(line.command.digest == results[line.command.algorithm]);
            else
                check(line.command.kind == velk::MenuCommandKind::ComputeAndCopy && !all &&
                      line.command.algorithm != algorithm && line.text == line.command.algorithm);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    const std::uint8_t flags = in.byte();
    const bool isLabel = (flags & 1) != 0;
    FakeMeasure measure;
    measure.kind = (flags >> 1) & 7;
    const std::uint8_t nameByte = in.byte();
    const auto& names = velk::kAlgorithmNames;
    const std::string catalogueName = names[nameByte % names.size()];
    const std::string name = (flags & 16) != 0 ? catalogueName : in.bytes(nameByte & 31);
    const std::uint8_t range = in.byte();
    const auto widthHigh = static_cast<std::int8_t>(in.byte());
    const long maxWidth = widthHigh * 256L + in.byte();
    if (measure.kind >= 1 && measure.kind <= 4)
        for (long& width : measure.widths)
            width = in.byte() % 40;
    std::string digest = in.rest();
    if (digest.size() > kMaxDigest)
        digest.resize(kMaxDigest);

    checkLines(name, digest, isLabel, measure, maxWidth);

    // The shell's usual range, one ending at the top of the 32-bit space, a short one (down
    // to a single id), and one already used up.
    unsigned first = 100, last = 0x7FFF;
    switch (range & 3) {
    case 1:
        first = 0xFFFFFFF0u + (range >> 4);
        last = 0xFFFFFFFFu;
        break;
    case 2:
        first = 100 + (range >> 6);
        last = first + ((range >> 2) & 15);
        break;
    case 3:
        first = 100 + (range >> 2);
        last = first - 1;
        break;
    }
    // Eleven slices of the digest go into the menu: shorter ones keep it quick, and they still
    // make more lines than any of the short ranges holds.
    checkPlacedMenu(digest.substr(0, 48), catalogueName, (flags & 32) != 0, measure, maxWidth,
                    first, last);
    return 0;
}
