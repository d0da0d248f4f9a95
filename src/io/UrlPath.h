#pragma once
// Paths that may name a local file or a URL.

#include <string>

#include "platform/HttpClient.h"

namespace dz {

// A URL: the server answers with data (HttpClient::exists). Anything else: a
// file or folder exists there.
bool path_or_url_exists(const std::string& path, HttpClient& http);

}  // namespace dz
