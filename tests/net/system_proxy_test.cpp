// The proxy that Windows' own settings name, as a company or school sets it: the update list,
// a catalogue download and the updater's feed all reach their server through it. The server
// here stands in for the proxy and answers for names that no resolver knows, so a request
// that went around it would fail.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "net/downloader.h"
#include "net/http_request.h"
#include "runtime/tool_services.h"
#include "tests/net/test_server.h"
#include "update/http_fetch.h"

namespace kesto {
namespace {

using testing::OkResponse;
using testing::TestServer;

constexpr const wchar_t* kInternetSettings =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The proxy switched on in the current user's internet settings while it lives.
class SystemProxySetting {
 public:
  explicit SystemProxySetting(const std::wstring& server) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key_, nullptr);
    const DWORD on = 1;
    RegSetValueExW(key_, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on),
                   sizeof on);
    RegSetValueExW(key_, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
  }
  ~SystemProxySetting() {
    RegDeleteValueW(key_, L"ProxyServer");
    RegDeleteValueW(key_, L"ProxyEnable");
    RegCloseKey(key_);
  }
  SystemProxySetting(const SystemProxySetting&) = delete;
  SystemProxySetting& operator=(const SystemProxySetting&) = delete;

 private:
  HKEY key_ = nullptr;
};

Text AsText(const Bytes& bytes) {
  return Text(bytes.begin(), bytes.end());
}

TEST(SystemProxy, ListDownloadAndFeedGoThroughTheProxyTheSystemNames) {
  TestServer proxy;
  proxy.Route("/app/up/1.txt", OkResponse("[up]1|2|3[/up]"));
  proxy.Route("/app/memo.zip", OkResponse("memo package"));
  proxy.Route("/app/feed.json", OkResponse("{\"sequence\": 1}"));
  const SystemProxySetting setting(L"127.0.0.1:" + std::to_wstring(proxy.Port()));

  EXPECT_EQ(AsText(net::HttpRequest("http://update.kesto.test:8080/app/up/1.txt")),
            "[up]1|2|3[/up]");
  EXPECT_EQ(AsText(net::Download("http://site.kesto.test:8000/app/memo.zip")), "memo package");
  const Text folder =
      CurrentDirectory() + "\\proxy-" + ToText(static_cast<int>(CurrentProcessId()));
  ASSERT_TRUE(MakeFolder(folder));
  const update::Fetch fetch =
      update::FetchToFile("http://update.kesto.test:8080/app/feed.json", folder + "\\feed.json");
  EXPECT_EQ(fetch.result, update::FetchResult::kSaved) << fetch.reason;
  EXPECT_EQ(AsText(ReadFileBytes(folder + "\\feed.json")), "{\"sequence\": 1}");
  RemoveFolderTree(folder);

  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].rfind("GET http://update.kesto.test:8080/app/up/1.txt HTTP/1.1\r\n", 0), 0u)
      << requests[0];
  EXPECT_EQ(requests[1].rfind("GET http://site.kesto.test:8000/app/memo.zip HTTP/1.1\r\n", 0), 0u)
      << requests[1];
  EXPECT_EQ(requests[2].rfind("GET http://update.kesto.test:8080/app/feed.json HTTP/1.1\r\n", 0),
            0u)
      << requests[2];
}

}  // namespace
}  // namespace kesto
