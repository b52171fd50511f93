#include "KeyFile.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t maxKeyBytes = 4096;

std::string octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string trimmed(const std::string& text)
{
    const auto isSpace = [](unsigned char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    const auto begin = std::ranges::find_if_not(text, isSpace);
    const auto end = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return begin < end ? std::string(begin, end) : std::string();
}

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::string KeyFile::read(const std::filesystem::path& path)
{
    const std::string name = path.string();
    // The mode is taken from the file that is read, not from whatever the name points to later.
    const Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat status
    {};
    if (file.get() < 0 || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        throw std::runtime_error("cannot read the key file " + name);
    }
    if ((status.st_mode & 077) != 0) {
        throw std::runtime_error("the key file " + name + " is open to other users (mode " +
                                 octal(status.st_mode) + "); run chmod 600 " + name);
    }
    std::string contents(maxKeyBytes + 1, '\0');
    const ssize_t size = ::read(file.get(), contents.data(), contents.size());
    contents.resize(static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
    const std::string key = trimmed(contents);
    const bool printable =
        std::ranges::all_of(key, [](unsigned char c) { return c > 0x20 && c < 0x7F; });
    if (size < 0 || contents.size() > maxKeyBytes || key.empty() || !printable) {
        throw std::runtime_error("the key file " + name +
                                 " must hold one key of printable characters on one line");
    }
    return key;
}
