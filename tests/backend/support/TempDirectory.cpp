#include "TempDirectory.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

TempDirectory::TempDirectory()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "murmo-backend-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_path = pattern;
}

TempDirectory::~TempDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
