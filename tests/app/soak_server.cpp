// The loopback server of the soak run, in a process of its own so that its threads and
// sockets do not count in the measured one: answers one connection per entry, in entry
// order, as soak_mix.h says, and writes its port into PORT_FILE. Runs until it is ended.
//   soak_server ENTRIES PORT_FILE
#include <windows.h>

#include <cstdlib>
#include <fstream>

#include "app/soak_mix.h"
#include "support/scripted_http_server.h"

int main(int argc, char** argv) {
  using namespace holvex::test;
  if (argc < 3) return 2;
  const int entries = std::atoi(argv[1]);
  std::vector<ConnectionScript> scripts;
  for (int i = 0; i < entries; ++i) {
    const std::uint32_t length = SoakBodyLength(i);
    const std::string head =
        "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n";
    switch (SoakKindOf(i)) {
      case SoakKind::kGood:
        scripts.push_back(ConnectionScript().Receive().Send(head + std::string(length, 'g')).Close());
        break;
      case SoakKind::kNotFound:
        scripts.push_back(
            ConnectionScript()
                .Receive()
                .Send("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnicht da.")
                .Close());
        break;
      case SoakKind::kStall:
        scripts.push_back(ConnectionScript().Receive().Send(head + std::string(length / 3, 's')).HoldOpen());
        break;
      case SoakKind::kReset:
        scripts.push_back(ConnectionScript().Receive().Send(head + std::string(length / 3, 'r')).Reset());
        break;
    }
  }
  ScriptedHttpServer server(std::move(scripts));
  std::ofstream(argv[2]) << server.port() << "\n";
  for (;;) Sleep(1000);
}
