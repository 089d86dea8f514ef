#pragma once

#include "tests/support/ScopedVariable.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// A fresh folder under the system temporary folder, removed with everything in
// it when the object goes. Tests run in parallel, so every test makes its own.
// Throws when the folder cannot be made.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_folder.Path(); }
    // A path inside the folder (not created).
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return Path() / relative; }

    // Writes `contents` to the relative path, creating parent folders.
    std::filesystem::path WriteFile(const std::filesystem::path& relative, std::string_view contents) const;

    // Leaves the folder in place when the object goes, so that a failing test
    // can point at what it wrote.
    void Keep() { m_folder.Keep(); }

private:
    ScratchFolder m_folder { "archivora-test-" };
};

// A test fixture whose program folder (ARCHIVORA_HOME) is a fresh temporary
// folder, so registry, profile and catalog files of one test never meet another's.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& Home() const { return m_home->Path(); }
    // Moves the program folder to Home()/"program", so that the files a test
    // keeps in Home() lie outside it, as a user's documents do: the web
    // explorer does not reach into the program folder.
    void MoveProgramFolderApart();

private:
    std::unique_ptr<TempFolder> m_home;
    std::unique_ptr<ScopedVariable> m_setHome;
    std::unique_ptr<ScopedVariable> m_setProgramFolder;
};
