// The baseline the downloader is set against: libcurl itself fetching a body into memory.
#pragma once

#include <string>

namespace kesto::bench {

// Seconds that libcurl, with its default settings, takes to fetch `url` into memory (room made
// once for the announced length, as any careful client does); negative unless exactly `size`
// bytes came.
double TimeLibcurlIntoMemory(const std::string& url, long long size);

}  // namespace kesto::bench
