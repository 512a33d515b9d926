// Shows the engine's own progress dialog in the middle of a slow loopback download, for a
// screenshot: ShowDialog, ShowTime and both Open buttons. Runs for about 15 seconds.
#include <windows.h>

#include <cstdio>

#include "support/scripted_http_server.h"
#include "toolkit/application.h"
#include "transfer/transfer_engine.h"

int main() {
  using namespace holvex;
  Application app;
  // 20 MB at about 1.3 MB/s.
  std::string body(20'000'000, 'x');
  test::ScriptedHttpServer server({test::ConnectionScript()
                                       .Receive()
                                       .Send("HTTP/1.1 200 OK\r\nContent-Length: 20000000\r\n\r\n")
                                       .SendInPieces(body, 65536, 50)
                                       .Close()});
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  TTransferEngine engine;
  engine.ShowTime = true;
  engine.ShowOpenFile = true;
  engine.ShowOpenFolder = true;
  TTransferItem& item = engine.Items.Add();
  item.URL = server.Url("/holvex-setup.exe");
  item.TargetDir = dir;
  item.TargetFilename = "holvex-demo.bin";
  engine.Execute();
  std::printf("copied: %s\n", item.Copied ? "yes" : "no");
  DeleteFileA((std::string(dir) + "holvex-demo.bin").c_str());
  return 0;
}
