// Fetching the missing updater from a server on 127.0.0.1: the list, the download with its
// progress, the saved and started up.qmz, and every way it can fail.
#include "net/self_update.h"

#include <fstream>

#include "shell/globals.h"
#include "tests/net/short_stall_time.h"
#include "tests/net/test_server.h"
#include "tests/program/platform_fixture.h"
#include "update/vendor_key.h"

namespace kesto::testing {
namespace {

std::string Size(const std::string& bytes) {
  return std::to_string(bytes.size());
}

std::string Head(const std::string& lengthLine) {
  return "HTTP/1.1 200 OK\r\n" + lengthLine + "Connection: close\r\n\r\n";
}

class SelfUpdateTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WriteStandardRegFile();
    folder_.AddApp("", "memo", "", false);
    net::OverrideUpdateListAddress(server_.Url("/app/up/1.txt"));
  }
  // The working stand-in updater, padded so that it makes five equal pieces of whole 1 KiB
  // reads, each moving the bar by a fifth; a program file runs with bytes added at its end.
  static std::string PaddedUpdaterProgram() {
    constexpr std::size_t kFiveReads = 5 * 1024;
    std::string program = UpdaterProgram();
    return program + std::string((kFiveReads - program.size() % kFiveReads) % kFiveReads, '\0');
  }
  // A complete response with Content-Length.
  void Serve(const std::string& path, const std::string& body) {
    server_.Route(path, OkResponse(body, "Connection: close\r\n"));
  }
  void ServeList(const std::string& updater) {
    Serve("/app/up/1.txt", "x[up]1.6|notes|" + updater + "[/up]y");
  }
  // Runs the user-interface thread until the worker has ended the program.
  std::optional<int> WaitForEnd(std::chrono::seconds atMost = std::chrono::seconds(10)) {
    return Ending([atMost] { headless::RunUntil([] { return false; }, atMost); });
  }
  int Bar() const { return ui::GetInt(refs::kUpdateProgressBar, ui::prop::processbar::kPosition); }
  // The worker's writes wait in the user-interface thread's queue, which this drains.
  bool BarReaches(int position) const {
    return headless::RunUntil([&] { return Bar() == position; });
  }

  TestServer server_;
};

TEST_F(SelfUpdateTest, DownloadsSavesAndStartsTheUpdaterWhileTheBarMoves) {
  const std::string program = PaddedUpdaterProgram();
  ServeList(server_.Url("/files/up.bin"));
  std::vector<std::string> pieces;
  const std::size_t fifth = program.size() / 5;
  for (std::size_t at = 0; at < program.size(); at += fifth) {
    pieces.push_back(program.substr(at, fifth));
  }
  server_.RouteGated("/files/up.bin", Head("Content-Length: " + Size(program) + "\r\n"), pieces);

  ASSERT_EQ(Start({}), std::nullopt);
  ASSERT_TRUE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_FALSE(headless::TrayEntry());
  // The end may come in the drain that moves the bar to its last place: the write that moved
  // it waited before the window's close.
  const std::optional<int> ended = Ending([&] {
    for (int position : {2000, 4000, 6000, 8000, 10000}) {
      server_.ReleasePiece();
      EXPECT_TRUE(BarReaches(position)) << "bar at " << Bar() << ", not " << position;
    }
  });
  EXPECT_EQ(ended ? ended : WaitForEnd(), 0);

  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
  std::vector<UpdaterStart> starts = WaitForUpdaterStarts(1);
  ASSERT_EQ(starts.size(), 1u) << "the saved updater runs";
  EXPECT_EQ(starts[0].args, "-qmz");
  EXPECT_EQ(ConfigValue("wm", "run"), "pt");
}

// Without a size the bar stays; a window closed by hand loses its bar but not the download.
TEST_F(SelfUpdateTest, UnknownSizeAndAWindowClosedByHandStillSaveTheWholeUpdater) {
  const std::string program = UpdaterProgram();
  ServeList(server_.Url("/up.bin"));
  server_.RouteGated("/up.bin", Head(""), {program.substr(0, 1024), program.substr(1024)});
  ASSERT_EQ(Start({}), std::nullopt);
  server_.ReleasePiece();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(Bar(), 0);
  ui::CloseWindow(names::kUpdateWindow);
  Drain();

  server_.ReleasePiece();
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  for (const headless::MessageRecord& box : headless::MessageBoxes()) {
    EXPECT_EQ(box.text.find("运行时出错"), std::string::npos) << box.text;
  }
}

TEST_F(SelfUpdateTest, NoListNoBlockAFailedEmptyOrCutShortDownloadSaveNothing) {
  const std::string unreachable = "http://127.0.0.1:" + std::to_string(UnusedPort());
  const std::string program = UpdaterProgram();
  struct Case {
    std::string list;    // empty: the list address is unreachable
    std::string answer;  // the updater file's response
    std::string message;
  } cases[] = {
      {"", "", ""},
      {"x[up]a|b|c|d[/up]", "", ""},
      {"[up]a|b|c", "", ""},
      {"[up]1|2|" + unreachable + "/up.bin[/up]", "", "不能打开该URL!"},
      {"[up]1|2|" + server_.Url("/up.bin") + "[/up]", Head("Content-Length: 0\r\n"), ""},
      {"[up]1|2|" + server_.Url("/up.bin") + "[/up]",
       Head("Content-Length: " + std::to_string(program.size() + 2000) + "\r\n") + program, ""},
      {"[up]1|2|" + server_.Url("/up.bin") + "[/up]",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 23\r\nConnection: close\r\n\r\n"
       "<html>not found</html>\n",
       ""},
      {"[up]1|2|" + server_.Url("/up.bin") + "[/up]",
       "HTTP/1.1 500 Oops\r\nConnection: close\r\n\r\n" + program, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.list + " / " + test.answer.substr(0, 40));
    headless::ResetAll();
    net::OverrideUpdateListAddress(test.list.empty() ? unreachable + "/app/up/1.txt"
                                                     : server_.Url("/app/up/1.txt"));
    Serve("/app/up/1.txt", test.list);
    server_.Route("/up.bin", test.answer);
    std::optional<int> ended = Start({});
    EXPECT_EQ(ended ? ended : WaitForEnd(), 0);
    EXPECT_FALSE(folder_.Exists("up.qmz"));
    EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
    EXPECT_FALSE(shell::AppConfig) << "the exit routine ran";
    std::vector<Text> expected;
    if (!test.message.empty()) expected.push_back(test.message);
    EXPECT_EQ(MessageTexts(), expected);
  }
}

// A build with the vendor's key saves the updater only when the list's second field holds the
// vendor's signature of its bytes: anything else is not saved, and the next start asks again.
TEST_F(SelfUpdateTest, WithTheVendorsKeyOnlyAnUpdaterTheListVouchesForIsSaved) {
  const auto sample = [](const std::string& name) {
    std::ifstream in(std::string(KESTO_SIGNED_SAMPLES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const auto hex = [](const std::string& bytes) {
    std::string digits;
    for (unsigned char c : bytes) {
      digits += "0123456789abcdef"[c >> 4];
      digits += "0123456789abcdef"[c & 15];
    }
    return digits;
  };
  const std::string program = sample("payload");
  const std::string vendor = sample("vendor.pub.der");
  update::OverrideVendorKey(Bytes(vendor.begin(), vendor.end()));
  server_.Route("/up.bin", OkResponse(program, "Connection: close\r\n"));
  struct Case {
    std::string signature;
    bool saved;
  } cases[] = {{hex(sample("payload.sig")), true},
               {hex(sample("message.sig")), false},
               {"notes", false},
               {"", false}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.signature);
    headless::ResetAll();
    std::filesystem::remove(folder_ / "up.qmz");
    Serve("/app/up/1.txt", "[up]1.6|" + test.signature + "|" + server_.Url("/up.bin") + "[/up]");
    std::optional<int> ended = Start({});
    EXPECT_EQ(ended ? ended : WaitForEnd(), 0);
    EXPECT_EQ(folder_.Exists("up.qmz"), test.saved);
  }
  update::OverrideVendorKey(std::nullopt);
}

// A server that stops answering costs the stall time (shortened here from the product's
// minute), then the worker ends the program as on any other failure: the user is never left
// with a window that hangs for good.
TEST_F(SelfUpdateTest, AStalledListOrDownloadEndsTheProgramAfterTheStallTime) {
  constexpr int kStall = 2;
  const ShortStallTime stall(kStall);
  const std::string program = UpdaterProgram();
  struct Case {
    const char* stalls;
    std::string list;
  } cases[] = {
      {"the list", ""},
      {"the download", "x[up]1.6|notes|" + server_.Url("/stalls") + "[/up]"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.stalls);
    headless::ResetAll();
    if (test.list.empty()) {
      server_.RouteGated("/app/up/1.txt", Head("Content-Length: 100\r\n"), {"never sent"});
    } else {
      Serve("/app/up/1.txt", test.list);
    }
    server_.RouteGated("/stalls", Head("Content-Length: " + Size(program) + "\r\n"), {program});
    const auto begin = std::chrono::steady_clock::now();
    std::optional<int> ended = Start({});
    EXPECT_EQ(ended ? ended : WaitForEnd(std::chrono::seconds(30)), 0);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
    EXPECT_GE(seconds.count(), kStall - 0.5);
    EXPECT_LE(seconds.count(), kStall + 5);
    EXPECT_FALSE(folder_.Exists("up.qmz"));
    EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
    server_.ReleasePiece();  // the stalled connection's handler ends
  }
}

// An up.qmz that cannot run (a saved error page, say) must not end every start silently: the
// update window fetches a working one, which then takes over.
TEST_F(SelfUpdateTest, AnUpdaterThatCannotStartIsFetchedAgain) {
  folder_.Write("up.qmz", "<html>not found</html>\n");
  std::filesystem::permissions(folder_ / "up.qmz", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
  const std::string program = UpdaterProgram();
  ServeList(server_.Url("/up.bin"));
  Serve("/up.bin", program);

  ASSERT_EQ(Start({}), std::nullopt) << "the failed hand-over does not end the start";
  EXPECT_TRUE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_EQ(WaitForUpdaterStarts(1).size(), 1u);
}

TEST(UpdaterAddressFromList, TakesTheThirdOfExactlyThreeFieldsOfTheFirstBlockAsItStands) {
  auto from = [](const std::string& text) {
    return net::UpdaterAddressFromList(Bytes(text.begin(), text.end()));
  };
  EXPECT_EQ(from("[up]\r\na|b|http://host/f\r\n[/up]"), "http://host/f\r\n");
  EXPECT_EQ(from("[up]a|b|first[/up][up]a|b|second[/up]"), "first");
  EXPECT_EQ(from("[up]a|b|c|[/up]"), "c") << "a trailing separator adds no field";
  EXPECT_EQ(from("[UP]a|b|c[/UP]"), "");
  EXPECT_EQ(from("[/up][up]a|b|c"), "");
  EXPECT_EQ(from(std::string("[up]a|b|c\0[/up]", 15)), "") << "the text ends at a zero byte";
}

}  // namespace
}  // namespace kesto::testing
