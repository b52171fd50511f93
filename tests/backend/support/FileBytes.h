#pragma once

#include <filesystem>
#include <string>

// The whole content of a file; empty when it cannot be read.
std::string fileBytes(const std::filesystem::path& path);
