#pragma once

// A fresh folder under the system temporary folder, removed with everything in
// it when the object goes. Header-only and free of exceptions and of the test
// framework, so tests, benchmarks and fuzz targets all use it.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

class ScratchFolder {
public:
    // Makes `<temp>/<prefix>XXXXXX` with mkdtemp. When that fails, IsValid() is
    // false, Path() is empty and nothing is removed later.
    explicit ScratchFolder(std::string_view prefix)
    {
        std::error_code ec;
        const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
        if (ec)
            return;
        std::string strTemplate = (temp / prefix).string() + "XXXXXX";
        if (mkdtemp(strTemplate.data()))
            m_path = strTemplate;
    }
    ~ScratchFolder()
    {
        if (m_bKeep || m_path.empty())
            return;
        namespace fs = std::filesystem;
        std::error_code ec;
        // Make read-only entries removable (and folders readable) before removing the tree.
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool IsValid() const { return !m_path.empty(); }
    const std::filesystem::path& Path() const { return m_path; }

    // Leaves the folder in place when the object goes, e.g. so that a failing
    // test can point at what it wrote.
    void Keep() { m_bKeep = true; }

private:
    std::filesystem::path m_path;
    bool m_bKeep { false };
};
