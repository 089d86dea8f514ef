#pragma once

#include <filesystem>
#include <optional>

// Where shared test files written by other programs live: the `shared/testdata`
// folder beside the source tree. Empty when it is absent; tests then skip.
std::optional<std::filesystem::path> SharedTestData(const std::filesystem::path& relative);

// The source tree's root, for test inputs kept in the project (fuzz crash inputs, fixtures).
std::filesystem::path SourceRoot();
