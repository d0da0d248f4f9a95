#include "platform/fake/FakeHttpClient.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

namespace dz {

bool FakeHttpClient::exists(const std::string& url) {
    calls.push_back("exists " + url);
    auto it = responses.find(url);
    return it != responses.end() && it->second.status < 400 && !it->second.body.empty();
}

std::optional<std::string> FakeHttpClient::fetch(const std::string& url) {
    calls.push_back("fetch " + url);
    auto it = responses.find(url);
    if (it == responses.end() || it->second.status >= 400) return std::nullopt;
    std::string name = (std::filesystem::temp_directory_path() / "patXXXXXX").string();
    int fd = ::mkstemp(name.data());
    if (fd < 0) return std::nullopt;
    const std::string& body = it->second.body;
    bool ok = ::write(fd, body.data(), body.size()) == static_cast<ssize_t>(body.size());
    ::close(fd);
    if (!ok) {
        ::unlink(name.c_str());
        return std::nullopt;
    }
    fetched_files.push_back(name);
    return name;
}

}  // namespace dz
