// The session's proxy settings taken from the environment, as the Linux back end reads them
// (Windows keeps them in its own settings instead).
#include <gtest/gtest.h>
#include <stdlib.h>

#include "net/downloader.h"
#include "tests/net/test_server.h"

namespace kesto::net {
namespace {

TEST(DownloadProxy, EnvironmentProxyIsUsed) {
  testing::TestServer server;
  server.Route("/via", testing::OkResponse("proxied"));
  const char* saved = getenv("http_proxy");
  std::string previous = saved ? saved : "";
  setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(server.Port())).c_str(), 1);
  Bytes result = Download("http://far-away.test/via");
  if (saved) {
    setenv("http_proxy", previous.c_str(), 1);
  } else {
    unsetenv("http_proxy");
  }
  EXPECT_EQ(Text(result.begin(), result.end()), "proxied");
  EXPECT_EQ(server.LastRequest().rfind("GET http://far-away.test/via HTTP/1.1\r\n", 0), 0u);
}

}  // namespace
}  // namespace kesto::net
