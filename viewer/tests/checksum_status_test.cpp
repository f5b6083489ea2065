#include "viewer/checksum_status.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(ChecksumFileStatus, MatchAndNoMatchLines) {
    ChecksumVerdict v;
    EXPECT_FALSE(checksumFileStatus(v).has_value()) << "no checksum file: nothing new";

    v.listed = true;
    v.matches = true;
    v.checksumFileName = "SHA256SUMS";
    v.algorithms = {"SHA-256"};
    auto status = checksumFileStatus(v);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->text, "\u2714 MATCH  SHA-256 matches SHA256SUMS.");
    EXPECT_EQ(status->kind, StatusKind::Success);

    v.matches = false;
    v.checksumFileName = "list.sha3";
    v.algorithms = {"SHA3-256", "BLAKE2s"};
    status = checksumFileStatus(v);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->text, "\u2718 NO MATCH  SHA3-256 / BLAKE2s differs from list.sha3.");
    EXPECT_EQ(status->kind, StatusKind::Failure);
}

TEST(ChecksumFileStatus, CopiedLineIsTheFilesChecksumLine) {
    const std::string d(64, 'a');
    EXPECT_EQ(checksumLineText(d, "C:\\Users\\me\\Downloads\\disc 1.iso"), d + "  disc 1.iso");
    EXPECT_EQ(checksumLineText(d, "disc.iso"), d + "  disc.iso");
    EXPECT_EQ(copiedLineStatus("SHA-256").text, "Copied SHA-256 checksum line to clipboard.");
    EXPECT_EQ(copiedLineStatus("SHA-256").kind, StatusKind::Success);
}

} // namespace
} // namespace velk
