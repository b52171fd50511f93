#pragma once

#include <filesystem>
#include <string>

// An API key kept in a file of its own, never on the command line where every user of the
// machine can read it.
class KeyFile
{
public:
    // The key: the file's one line without surrounding white space. Throws std::runtime_error
    // saying what to do when the file cannot be read, when group or others may read or change it
    // (as ssh refuses private keys), or when it holds no key or more than one line of printable
    // characters.
    static std::string read(const std::filesystem::path& path);
};
