#pragma once

#include <filesystem>
#include <optional>

// The source tree's root, for test inputs kept in the project (fuzz inputs, fixtures).
std::filesystem::path SourceRoot();

// The build tree's root, for programs and files the build makes (the resource
// compiler, the resource module).
std::filesystem::path BinaryRoot();

// Where shared test files written by other programs live: the `shared/testdata`
// folder beside the source tree. Empty when it is absent; tests then skip.
std::optional<std::filesystem::path> SharedTestData(const std::filesystem::path& relative);
