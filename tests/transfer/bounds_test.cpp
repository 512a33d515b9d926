// The download's bounds: servers that stall, stop early or break off, and file names that
// would open a device or that the file system refuses.
#include <windows.h>
#include <wininet.h>

#include "transfer/engine_fixture.h"
#include "transfer/internet_request.h"

namespace holvex::test {
namespace {

class DownloadBounds : public EngineTest {
 protected:
  // Sends the head and the first 5000 of 100000 announced bytes, then stays silent.
  static ConnectionScript StallAfterPart() {
    return ConnectionScript()
        .Receive()
        .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + Pattern(5000))
        .Pause(8000)
        .Close();
  }
};

TEST_F(DownloadBounds, StalledBodyFailsWithinTheBoundAndKeepsWindowsAlive) {
  ScriptedHttpServer server({StallAfterPart()});
  TTransferItem& item = AddItem(server.Url("/stall.bin"));
  engine_.StallTimeoutMs = 1500;
  const TimedRun run = ExecuteTicking();

  EXPECT_LT(run.seconds, 6.0);  // well before the server's own 8 s pause ends
  EXPECT_GE(run.ticks, 5);
  EXPECT_FALSE(item.Copied);
  // The partial file stays, with every byte that arrived before the stall.
  std::string partial = dir_.Read("stall.bin");
  EXPECT_EQ(partial, Pattern(5000));
  EXPECT_EQ(progress_.back().size, static_cast<int>(partial.size()));
  // The stall is told, before the item's end.
  EXPECT_EQ(Events().rfind("start 0\nprogress\nerror ", 0), 0u) << Events();
  EXPECT_EQ(Count("error "), 1);
  EXPECT_EQ(Events().substr(Events().size() - 16), "done 0\ncopydone\n");
}

TEST_F(DownloadBounds, CancelDuringAStalledReadTakesEffectAtOnce) {
  ScriptedHttpServer server({StallAfterPart()});
  TTransferItem& item = AddItem(server.Url("/stall.bin"));
  engine_.StallTimeoutMs = 20000;
  EXPECT_LT(ExecuteCancellingAfter(700), 5.0);
  EXPECT_FALSE(item.Copied);
  EXPECT_FALSE(dir_.Exists("stall.bin"));
  EXPECT_EQ(Events(), "start 0\nprogress\ncopydone\n");
}

TEST_F(DownloadBounds, SilentServerFailsTheOpenWithinTheBound) {
  ScriptedHttpServer server({ConnectionScript().Receive().Pause(8000).Close()});
  AddItem(server.Url("/silent"));
  engine_.StallTimeoutMs = 1500;
  EXPECT_LT(ExecuteTicking().seconds, 6.0);
  EXPECT_EQ(Events(), "start 0\nnotfound " + server.Url("/silent") + "\ndone 0\ncopydone\n");
  EXPECT_FALSE(dir_.Exists("silent"));
}

TEST_F(DownloadBounds, NamesThatAreDevicesOrRefusedGiveCodeThree) {
  std::vector<ConnectionScript> scripts;
  const std::vector<std::string> paths = {"/CON",          "/files/nul.txt", "/lpt1.log",    "/Aux.",
                                          "/get.php?id=7", "/dir/",          "/a.txt:hidden"};
  for (size_t i = 0; i < paths.size(); ++i) scripts.push_back(Answer(HttpOk("payload")));
  ScriptedHttpServer server(std::move(scripts));
  for (const auto& path : paths) AddItem(server.Url(path));
  engine_.OnCopyOverWrite = [&](TTransferEngine&, const std::string& target, bool&) {
    log_.push_back("overwrite " + target);
  };
  engine_.Execute();

  std::string expected;
  for (size_t i = 0; i < paths.size(); ++i) {
    std::string name = paths[i].substr(paths[i].rfind('/') + 1);
    std::string target = dir_.path() + "\\" + name;
    expected += "start " + std::to_string(i) + "\nerror 3\ninfo 3 Cannot create file " + target + "\ndone " +
                std::to_string(i) + "\n";
  }
  EXPECT_EQ(Events(), expected + "copydone\n");
  for (int i = 0; i < engine_.Items.Count(); ++i) EXPECT_FALSE(engine_.Items[i].Copied);
  // Nothing was written anywhere in the folder, not even a stream of a file "a.txt".
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((dir_.path() + "\\*").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int entries = 0;
  do {
    entries += std::string(found.cFileName) != "." && std::string(found.cFileName) != "..";
  } while (FindNextFileA(find, &found));
  FindClose(find);
  EXPECT_EQ(entries, 0);
}

// WinInet's own receive timeout may end the wait for an upload's answer before ours does; Wine
// then reports the request as ended, with status 0. An answer that never came is no success.
TEST(RequestAnswer, UploadAnswerCutShortByWinInetsOwnTimeoutIsAFailure) {
  ScriptedHttpServer server({ConnectionScript().Receive().Pause(4000).Close()});
  InternetSession session("Holvex test", "", 500);  // WinInet gives up long before the wait does
  const WaitPolicy wait{5000, [] {}, [] { return false; }};
  Request upload;
  ASSERT_EQ(upload.OpenUpload(session, server.Url("/in/a.txt"), "PUT", "", "", wait), StepResult::kDone);
  ASSERT_EQ(upload.BeginUpload(2, wait), StepResult::kDone);
  DWORD written = 0;
  ASSERT_EQ(upload.Write("ok", 2, &written, wait), StepResult::kDone);
  EXPECT_EQ(upload.EndUpload(wait), StepResult::kFailed);
  EXPECT_EQ(upload.LastError(), static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
}

}  // namespace
}  // namespace holvex::test
