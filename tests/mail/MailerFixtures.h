#pragma once

#include "platform/base/Registry.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <memory>
#include <string>

// A program folder of its own (so a registry of its own), a home folder of its
// own (so no installed mail client is seen) and a folder for mail stores, with
// builders that enter the mail clients' registry keys.
class MailerTest : public ProgramFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A Netscape user whose profile folder is `profile` below the store folder.
    void AddNetscapeUser(const std::string& strName, const std::string& strProfile);
    // The Outlook Express 4 store root, a folder below the store folder.
    void SetOe4StoreRoot(const std::string& strFolder);
    // An Outlook Express 5 identity; its store root is a folder below the store folder.
    void AddOe5Identity(const std::string& strKey, const std::string& strUser, const std::string& strFolder);

    // Writes an mbox of two messages, a .mbx/.idx pair or a message .dbx below the store folder.
    std::filesystem::path WriteMbox(const std::string& strRelative) const;
    std::filesystem::path WriteOe4Store(const std::string& strRelativeMbx) const;
    std::filesystem::path WriteDbx(const std::string& strRelative) const;

    // The program path of a file below the store folder.
    std::string StorePath(const std::string& strRelative) const;

    TempFolder m_stores;
    TempFolder m_userHome;

private:
    std::unique_ptr<ScopedVariable> m_pHome;
};

// Sets a string value, creating the key.
void SetRegistryString(
    HKEY hRoot, const std::string& strKey, const char* pszValue, const std::string& strData, DWORD dwType = REG_SZ);
