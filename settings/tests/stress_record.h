#pragma once
// The records that concurrent test writers save: each writer's differ in length and content,
// so that any mixture of two saves shows up as a text that no single save produced.

#include "settings/settings.h"

#include <string>

namespace velk::test {

constexpr int kStressWriters = 4;

Settings stressRecord(int writer, int iteration);

// True when `text` is exactly the file of one writer's complete record; tells which.
bool isCompleteStressText(const std::string& text, int& writer, int& iteration);

} // namespace velk::test
