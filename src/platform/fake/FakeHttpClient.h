#pragma once
// A scripted HttpClient for tests: answers from a table of URLs, records the
// calls and writes downloads into real "pat" temporary files.

#include <map>
#include <string>
#include <vector>

#include "platform/HttpClient.h"

namespace dz {

struct FakeHttpResponse {
    int status = 200;
    std::string body;
};

class FakeHttpClient : public HttpClient {
public:
    std::map<std::string, FakeHttpResponse> responses;  // unknown URLs fail like a dead host
    std::vector<std::string> calls;                     // "exists <url>", "fetch <url>"
    std::vector<std::string> fetched_files;             // every temporary file handed out

    bool exists(const std::string& url) override;
    std::optional<std::string> fetch(const std::string& url) override;
};

}  // namespace dz
