// The FTP download and upload against a real FTP server on loopback: what arrives on either
// side, which events fire, and how servers that stall or break off are given up.
#include <windows.h>

#include <algorithm>
#include <regex>

#include <wininet.h>

#include "platform/text.h"
#include "support/ftp_server.h"
#include "support/unix_side.h"
#include "transfer/engine_fixture.h"
#include "transfer/internet_error_text.h"
#include "transfer/progress_dialog.h"

namespace holvex::test {
namespace {

class FtpItems : public EngineTest {
 protected:
  // As the program runs it. (Active mode would also meet a fault of pyftpdlib 1.5.7, which
  // may drop a newer session's socket from its loop when an active session ends.)
  FtpItems() { engine_.FTPPassive = true; }

  TTransferItem& AddFtpItem(TTransferKind kind, const std::string& url, const std::string& targetDir) {
    TTransferItem& item = engine_.Items.Add();
    item.Protocol = kind;
    item.URL = url;
    item.TargetDir = targetDir;
    item.FTPHost = "127.0.0.1";
    item.FTPPort = server_.port();
    return item;
  }
  TTransferItem& AddDownload(const std::string& path) { return AddFtpItem(tkFtp, path, dir_.path()); }
  TTransferItem& AddUpload(const std::string& localName, const std::string& remoteDir) {
    return AddFtpItem(tkFtpUpload, dir_.File(localName), remoteDir);
  }
  // Commands the server received that begin with that text.
  int Commands(const std::string& start) const {
    auto commands = server_.Commands();
    return static_cast<int>(
        std::count_if(commands.begin(), commands.end(), [&](auto& c) { return c.rfind(start, 0) == 0; }));
  }
  // Progress reports of the item with that file counter.
  std::vector<Progress> ProgressOf(int fileidx) const {
    std::vector<Progress> reports;
    for (const Progress& p : progress_)
      if (p.fileidx == fileidx) reports.push_back(p);
    return reports;
  }
  void CancelAtReport(int fileidx, int report) {
    engine_.OnCopyProgress = [this, fileidx, report](TTransferEngine& e, int idx, std::int64_t size,
                                                     std::int64_t totsize) {
      progress_.push_back({idx, size, totsize});
      if (idx == fileidx && static_cast<int>(ProgressOf(idx).size()) == report) e.CancelCopy();
    };
  }
  static void MakeFolder(const TempDir& dir, const std::string& name) {
    ASSERT_TRUE(CreateDirectoryA(dir.File(name).c_str(), nullptr));
  }

  FtpServer server_;
};

TEST_F(FtpItems, DownloadsWithEitherLoginInPassiveMode) {
  const std::string data = Pattern(10000);
  MakeFolder(server_.PublicDir(), "pub");
  server_.PublicDir().Write("pub\\data.bin", data);
  server_.PublicDir().Write("a.txt", "everybody's copy");
  server_.PublicDir().Write("unlisted.bin", "served, never listed");
  server_.UserDir().Write("a.txt", "the user's copy");
  TTransferItem& anonymous = AddDownload("/pub/data.bin");
  TTransferItem& named = AddDownload("a.txt");  // no "/": the login folder
  named.FTPUserID = FtpServer::kUser;
  named.FTPPassword = FtpServer::kPassword;
  named.TargetFilename = "named.txt";
  TTransferItem& noPassword = AddDownload("/a.txt");
  noPassword.FTPUserID = FtpServer::kUser;  // without its password: anonymous
  TTransferItem& unlisted = AddDownload("/unlisted.bin");
  engine_.Execute();

  EXPECT_EQ(Events(),
            "start 0\nprogress\ndone 0\nstart 1\nprogress\ndone 1\nstart 2\nprogress\ndone 2\n"
            "start 3\nprogress\ndone 3\ncopydone\n");
  EXPECT_TRUE(anonymous.Copied && named.Copied && noPassword.Copied && unlisted.Copied);
  EXPECT_EQ(dir_.Read("data.bin"), data);
  EXPECT_EQ(dir_.Read("named.txt"), "the user's copy");
  EXPECT_EQ(dir_.Read("a.txt"), "everybody's copy");
  EXPECT_EQ(dir_.Read("unlisted.bin"), "served, never listed");
  auto first = ProgressOf(1);
  ASSERT_EQ(first.size(), 4u);  // three blocks and the pass that finds the end
  EXPECT_EQ(first[2].size, 10000);
  EXPECT_EQ(first[3].size, 10000);
  EXPECT_EQ(first[3].totsize, 10000);
  EXPECT_EQ(ProgressOf(4).back().totsize, 0);  // not listed: no size
  EXPECT_EQ(Commands("USER " + std::string(FtpServer::kUser)), 1);
  EXPECT_EQ(Commands("USER anonymous"), 3);
  EXPECT_EQ(Commands("CWD /pub/"), 1);
  EXPECT_EQ(Commands("PASV"), 8);  // a listing and a file for each item
  EXPECT_EQ(Commands("PORT"), 0);
}

TEST_F(FtpItems, CopyNewerOnlyComparesTheListedDate) {
  server_.PublicDir().Write("dated.bin", "dated");
  // Two hours ago to the minute: the listing then shows the time, in GMT.
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
  ticks.QuadPart -= 2ULL * 3600 * 10000000;
  FILETIME earlier{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME listed;
  FileTimeToSystemTime(&earlier, &listed);
  listed.wSecond = listed.wMilliseconds = 0;
  SystemTimeToFileTime(&listed, &earlier);
  HANDLE file = CreateFileA(server_.PublicDir().File("dated.bin").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &earlier));
  CloseHandle(file);
  const TDateTime listedDate =
      EncodeDateTime({listed.wYear, listed.wMonth, listed.wDay, listed.wHour, listed.wMinute, 0, 0});

  TTransferItem& same = AddDownload("/dated.bin");
  same.CopyNewerOnly = true;
  same.FileDate = listedDate;
  TTransferItem& older = AddDownload("/dated.bin");
  older.CopyNewerOnly = true;
  older.FileDate = listedDate - 1.0 / (24 * 60);
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\nnonewfile dated.bin\ndone 0\nstart 1\nprogress\ndone 1\ncopydone\n");
  EXPECT_TRUE(same.NoNewFile);
  EXPECT_FALSE(same.Copied);
  EXPECT_DOUBLE_EQ(same.NewFileDate, listedDate);
  EXPECT_FALSE(older.NoNewFile);
  EXPECT_TRUE(older.Copied);
  EXPECT_DOUBLE_EQ(older.NewFileDate, listedDate);
  EXPECT_EQ(dir_.Read("dated.bin"), "dated");
}

TEST_F(FtpItems, FileLongerThanListedIsWhole) {
  // A mirror's "latest" link is listed with the link's own length; a log file grows between
  // the listing and the transfer.
  const std::string release = Pattern(30000);
  server_.PublicDir().Write("holvex-1.0.tar.gz", release);
  const std::string link = server_.PublicDir().File("latest.tar.gz");
  StartUnixProgram("Z:\\bin\\ln -s holvex-1.0.tar.gz \"" + UnixPath(link) + "\"");
  for (int waited = 0; waited < 5000 && GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES;
       waited += 20)
    Sleep(20);
  // Gone while its target is still there: a dangling link would hold up the folder's removal.
  struct RemovedAtEnd {
    std::string path;
    ~RemovedAtEnd() { DeleteFileA(path.c_str()); }
  } removeLink{link};
  const std::string log = Pattern(15000);
  server_.PublicDir().Write("grows.log", log.substr(0, 10000));
  AddDownload("/latest.tar.gz");
  AddDownload("/grows.log");
  std::vector<TDateTime> listed;
  engine_.OnFileDateCheck = [&](TTransferEngine&, int idx, TDateTime newdate, bool&) {
    listed.push_back(newdate);
    if (idx == 1) server_.PublicDir().Write("grows.log", log);
  };
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\nprogress\ndone 0\nstart 1\nprogress\ndone 1\ncopydone\n");
  EXPECT_EQ(listed.size(), 2u);  // both were listed, with a size
  EXPECT_TRUE(engine_.Items[0].Copied);
  EXPECT_TRUE(engine_.Items[1].Copied);
  EXPECT_EQ(dir_.Read("latest.tar.gz"), release);
  EXPECT_EQ(dir_.Read("grows.log"), log);
  // Past the listed size the total is no longer known.
  EXPECT_EQ(ProgressOf(2).front().totsize, 10000);
  EXPECT_EQ(ProgressOf(2).back().totsize, 0);
}

TEST_F(FtpItems, ABodyComingInPiecesWithPausesIsWhole) {
  // Each pause leaves the data connection empty while the read ahead waits for more.
  const std::string body = Pattern(6500);
  server_.PublicDir().Write("slow.bin", body);
  TTransferItem& item = AddDownload("/slow.bin");
  engine_.StallTimeoutMs = 5000;
  engine_.Execute();
  EXPECT_EQ(Events(), "start 0\nprogress\ndone 0\ncopydone\n");
  EXPECT_TRUE(item.Copied);
  EXPECT_EQ(dir_.Read("slow.bin"), body);
}

TEST_F(FtpItems, CancelWhileAskedToOverwriteLeavesTheExistingFile) {
  server_.PublicDir().Write("a.bin", "the server's new copy");
  ScriptedHttpServer http({Answer(HttpOk("the server's new copy"))});
  for (TTransferKind kind : {tkFtp, tkHttp}) {
    SCOPED_TRACE(kind);
    log_.clear();
    engine_.Items.Clear();
    dir_.Write("a.bin", "the user's copy");
    TTransferItem& item = kind == tkFtp ? AddDownload("/a.bin") : AddItem(http.Url("/a.bin"));
    engine_.OnCopyOverWrite = [&](TTransferEngine& e, const std::string&, bool&) {
      log_.push_back("overwrite");
      e.CancelCopy();
    };
    engine_.Execute();

    EXPECT_EQ(Events(), "start 0\noverwrite\ncopydone\n");
    EXPECT_FALSE(item.Copied);
    EXPECT_EQ(dir_.Read("a.bin"), "the user's copy");
  }
}

TEST_F(FtpItems, MissingFolderFileOrTargetFolderFailsTheItem) {
  server_.PublicDir().Write("a.bin", "the login folder's a.bin");
  MakeFolder(server_.PublicDir(), "pub");
  AddDownload("/nowhere/a.bin");  // never the login folder's file of that name
  AddDownload("/pub/missing.bin");
  TTransferItem& noTarget = AddDownload("/a.bin");
  noTarget.TargetDir = dir_.File("missing");
  engine_.Execute();

  EXPECT_EQ(Events(),
            "start 0\nnotfound /nowhere/a.bin\ndone 0\nstart 1\nnotfound /pub/missing.bin\ndone 1\n"
            "start 2\nerror 3\ninfo 3 Cannot create target file " +
                dir_.File("missing\\a.bin") + "\ndone 2\ncopydone\n");
  EXPECT_FALSE(dir_.Exists("a.bin"));
  EXPECT_FALSE(dir_.Exists("missing"));
  EXPECT_EQ(Commands("RETR a.bin"), 1);  // only for the third item, before its target failed
}

TEST_F(FtpItems, UploadsCreateTheFolderOnceAndNeverHarmTheServersCopy) {
  const std::string exact = Pattern(8192);
  dir_.Write("exact.bin", exact);
  MakeFolder(server_.PublicDir(), "kept");
  server_.PublicDir().Write("kept\\keep.bin", "the server's copy");
  TTransferItem& created = AddUpload("exact.bin", "incoming");
  TTransferItem& noLocal = AddUpload("missing.bin", "kept");
  noLocal.TargetFilename = "keep.bin";
  TTransferItem& tooDeep = AddUpload("exact.bin", "no/such/folder");
  std::string fileLine;
  engine_.OnFileDone = [&](TTransferEngine& e, int idx) {
    if (idx == 0) fileLine = e.Dialog()->FileLine();
    log_.push_back("done " + std::to_string(idx));
  };
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\nprogress\ndone 0\nstart 1\nerror 1\ninfo 1 Cannot create target file " +
                          dir_.File("missing.bin") + "\ndone 1\nstart 2\ndone 2\ncopydone\n");
  EXPECT_TRUE(created.Copied);
  EXPECT_EQ(server_.PublicDir().Read("incoming\\exact.bin"), exact);
  EXPECT_EQ(Commands("MKD incoming"), 1);
  EXPECT_EQ(fileLine, "File : 1 of 3 : exact.bin to 127.0.0.1");
  // Two full blocks, then a pass that hands 0 bytes over.
  auto reports = ProgressOf(1);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].size, 4096);
  EXPECT_EQ(reports[1].size, 8192);
  EXPECT_EQ(reports[2].size, 8192);
  EXPECT_EQ(reports[2].totsize, 8192);

  EXPECT_FALSE(noLocal.Copied);
  EXPECT_EQ(server_.PublicDir().Read("kept\\keep.bin"), "the server's copy");
  EXPECT_EQ(Commands("STOR keep.bin"), 0);

  EXPECT_FALSE(tooDeep.Copied);
  EXPECT_EQ(Commands("MKD no/such/folder"), 1);
  EXPECT_FALSE(server_.PublicDir().Exists("exact.bin"));  // not put into the login folder instead
}

TEST_F(FtpItems, CancelStopsDownloadAndUploadMidway) {
  const std::string big = Pattern(200000);
  server_.PublicDir().Write("big.bin", big);
  dir_.Write("up.bin", big);
  TTransferItem& download = AddDownload("/big.bin");
  AddDownload("/big.bin").TargetFilename = "never.bin";
  CancelAtReport(1, 2);
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\ncopydone\n");
  EXPECT_FALSE(download.Copied);
  EXPECT_EQ(dir_.Read("big.bin"), big.substr(0, 8192));  // the partial file stays
  EXPECT_FALSE(dir_.Exists("never.bin"));

  log_.clear();
  progress_.clear();
  engine_.Items.Clear();
  TTransferItem& upload = AddUpload("up.bin", "");
  CancelAtReport(1, 2);
  engine_.Execute();
  EXPECT_EQ(Events(), "start 0\ncopydone\n");
  EXPECT_FALSE(upload.Copied);
  EXPECT_EQ(ProgressOf(1).size(), 2u);
}

using FtpBounds = FtpItems;

TEST_F(FtpBounds, EveryStalledOrBrokenStepFailsWithItsReasonWithinTheBound) {
  MakeFolder(server_.PublicDir(), "stallcwd");
  MakeFolder(server_.PublicDir(), "stalllist");
  for (const char* name : {"stalllist\\a.bin", "stallopen.bin", "stall.bin", "drop.bin", "reset.bin"})
    server_.PublicDir().Write(name, Pattern(50000));
  dir_.Write("up.bin", Pattern(200000));
  ScriptedHttpServer silent({ConnectionScript().Pause(8000).Close()});  // not even a greeting
  struct Case {
    TTransferItem& item;
    std::string events;  // between "start" and "done"; empty: a platform number with its text
  };
  const std::string noAnswer = "error 7\ninfo 7 Keine Antwort vom FTP-Server 127.0.0.1\n";
  const std::string abortedText = InternetErrorText(ERROR_INTERNET_CONNECTION_ABORTED);
  ASSERT_FALSE(abortedText.empty());
  TTransferItem& neverGreets = AddDownload("/a.bin");
  neverGreets.FTPPort = silent.port();
  const Case cases[] = {
      {neverGreets, "error 6\ninfo 6 Cannot connect to FTP server 127.0.0.1\n"},
      {AddDownload("/stallcwd/a.bin"), noAnswer},   // CWD
      {AddDownload("/stalllist/a.bin"), noAnswer},  // the listing
      {AddDownload("/stallopen.bin"), noAnswer},    // RETR
      {AddDownload("/stall.bin"), noAnswer},        // the first read
      // Ended as complete, short of the listed size.
      {AddDownload("/drop.bin"), "progress\nerror 12030\ninfo 12030 " + abortedText + "\n"},
      // Broken off: under Wine a reset read ends like a whole transfer, short of the size.
      {AddDownload("/reset.bin"), "progress\nerror 12030\ninfo 12030 " + abortedText + "\n"},
      {AddUpload("up.bin", ""), ""},
      {AddUpload("up.bin", ""), noAnswer},                 // STOR
      {AddUpload("up.bin", ""), "progress\n" + noAnswer},  // the file's end
  };
  cases[7].item.TargetFilename = "reset-up.bin";
  cases[8].item.TargetFilename = "stall-up.bin";
  cases[9].item.TargetFilename = "stallclose-up.bin";
  std::vector<DWORD> started, elapsedMs;
  engine_.OnFileStart = [&](TTransferEngine&, int idx) {
    started.push_back(GetTickCount());
    log_.push_back("start " + std::to_string(idx));
  };
  engine_.OnFileDone = [&](TTransferEngine&, int idx) {
    elapsedMs.push_back(GetTickCount() - started.back());
    log_.push_back("done " + std::to_string(idx));
  };
  engine_.StallTimeoutMs = 1500;
  const TimedRun run = ExecuteTicking();

  ASSERT_EQ(log_.back(), "copydone");
  std::vector<std::string> events(std::size(cases));  // each item's, between "start" and "done"
  size_t current = 0;
  for (const std::string& line : log_) {
    if (StartsWith(line, "start "))
      current = std::stoul(line.substr(6));
    else if (!StartsWith(line, "done ") && line != "copydone")
      events[current] += line + "\n";
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_FALSE(cases[i].item.Copied) << i;
    if (!cases[i].events.empty())
      EXPECT_EQ(events[i], cases[i].events) << i;
    else  // WinInet's number or WinSock's, with a text that says it
      EXPECT_TRUE(std::regex_match(events[i], std::regex("(progress\n)?error (\\d+)\ninfo \\2 [^\n]+\n")))
          << i << ": " << events[i];
  }
  EXPECT_EQ(Count("done "), static_cast<int>(std::size(cases)));
  // Each given up at the bound, well before the silent server's 8 s end.
  for (size_t i = 0; i < elapsedMs.size(); ++i) EXPECT_LT(elapsedMs[i], 4500u) << i;
  EXPECT_GE(run.ticks, 70);  // the windows were served meanwhile
  EXPECT_EQ(dir_.Read("stall.bin"), "");
  EXPECT_EQ(dir_.Read("drop.bin"), Pattern(50000).substr(0, 25000));
}

TEST_F(FtpBounds, CancelDuringAStalledReadTakesEffectAtOnce) {
  server_.PublicDir().Write("stall.bin", Pattern(50000));
  TTransferItem& item = AddDownload("/stall.bin");
  engine_.StallTimeoutMs = 20000;
  EXPECT_LT(ExecuteCancellingAfter(700), 3.0);
  EXPECT_FALSE(item.Copied);
  EXPECT_EQ(Events(), "start 0\ncopydone\n");
}

}  // namespace
}  // namespace holvex::test
