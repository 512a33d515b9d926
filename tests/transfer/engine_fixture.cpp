#include "transfer/engine_fixture.h"

#include <chrono>

#include "platform/text.h"

namespace holvex::test {

namespace {

using Clock = std::chrono::steady_clock;

// Timer callbacks carry no context: the run in progress is kept here.
int ticks = 0;
TTransferEngine* cancelTarget = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }
void CALLBACK CancelNow(HWND, UINT, UINT_PTR, DWORD) {
  if (cancelTarget) cancelTarget->CancelCopy();
}

double SecondsOf(TTransferEngine& engine) {
  const auto start = Clock::now();
  engine.Execute();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

std::string HttpOk(const std::string& body, const std::string& extraHeaders) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraHeaders +
         "\r\n" + body;
}

ConnectionScript Answer(const std::string& response) {
  return ConnectionScript().Receive().Send(response).Close();
}

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (i / 4096 + i) % 26);
  return bytes;
}

void WriteEmptyFile(const std::string& path, std::uint64_t size) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
  CloseHandle(file);
}

EngineTest::EngineTest() : app_(std::make_unique<Application>()) {
  engine_.ShowDialog = false;
  auto& log = log_;
  engine_.OnFileStart = [&log](TTransferEngine&, int idx) { log.push_back("start " + std::to_string(idx)); };
  engine_.OnFileDone = [&log](TTransferEngine&, int idx) { log.push_back("done " + std::to_string(idx)); };
  engine_.OnCopyDone = [&log](TTransferEngine&) { log.push_back("copydone"); };
  engine_.OnCopyCancel = [&log](TTransferEngine&) { log.push_back("cancel"); };
  engine_.OnError = [&log](TTransferEngine&, int code) { log.push_back("error " + std::to_string(code)); };
  engine_.OnErrorInfo = [&log](TTransferEngine&, int code, const std::string& text) {
    log.push_back("info " + std::to_string(code) + " " + text);
  };
  engine_.OnURLNotFound = [&log](TTransferEngine&, const std::string& url) {
    log.push_back("notfound " + url);
  };
  engine_.OnNoNewFileFound = [&log](TTransferEngine&, const std::string& name, TDateTime, TDateTime) {
    log.push_back("nonewfile " + name);
  };
  engine_.OnCopyProgress = [this](TTransferEngine&, int fileidx, std::int64_t size, std::int64_t totsize) {
    // Consecutive reports are folded into one line; progress_ keeps them all.
    if (progress_.empty() || log_.empty() || !StartsWith(log_.back(), "progress")) log_.push_back("progress");
    progress_.push_back({fileidx, size, totsize});
  };
}

TTransferItem& EngineTest::AddItem(const std::string& url) {
  TTransferItem& item = engine_.Items.Add();
  item.URL = url;
  item.TargetDir = dir_.path();
  return item;
}

std::string EngineTest::Events() const {
  std::string text;
  for (const auto& line : log_) text += line + "\n";
  return text;
}

EngineTest::TimedRun EngineTest::ExecuteTicking() {
  ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, Tick);
  const double seconds = SecondsOf(engine_);
  KillTimer(nullptr, timer);
  return {seconds, ticks};
}

double EngineTest::ExecuteCancellingAfter(UINT cancelAfterMs) {
  cancelTarget = &engine_;
  const UINT_PTR timer = SetTimer(nullptr, 0, cancelAfterMs, CancelNow);
  const double seconds = SecondsOf(engine_);
  KillTimer(nullptr, timer);
  cancelTarget = nullptr;
  return seconds;
}

int EngineTest::Count(const std::string& prefix) const {
  int n = 0;
  for (const auto& line : log_) n += StartsWith(line, prefix) ? 1 : 0;
  return n;
}

}  // namespace holvex::test
