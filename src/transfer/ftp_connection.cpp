#include "transfer/ftp_connection.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "toolkit/handles.h"
#include "transfer/internet_handle.h"

namespace holvex {

// Shared by the connection and its worker thread, and kept alive by both: a call that was
// given up may still write into it.
struct FtpWorker {
  std::mutex lock;
  std::function<bool(FtpWorker&)> job;  // handed over under the lock
  bool quit = false;
  bool result = false;
  DWORD error = 0;  // GetLastError of a job that failed, taken on the worker's thread
  UniqueKernelHandle wake{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  UniqueKernelHandle done{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  // Used by the jobs; the GUI thread looks at them only between a job's end and the next job.
  UniqueInternet root, connection, file;
  char block[FtpConnection::kBlockSize];
  DWORD count = 0;
  WIN32_FIND_DATAA record{};
};

namespace {

void Serve(const std::shared_ptr<FtpWorker>& worker) {
  for (;;) {
    // Unbounded on purpose: the owner always ends this thread, at the latest when it goes.
    WaitForSingleObject(worker->wake.get(), INFINITE);
    std::function<bool(FtpWorker&)> job;
    {
      std::lock_guard<std::mutex> guard(worker->lock);
      if (worker->quit) break;
      job = std::move(worker->job);
      worker->job = nullptr;
    }
    if (!job) continue;
    bool ok = job(*worker);
    DWORD error = ok ? 0 : GetLastError();
    {
      std::lock_guard<std::mutex> guard(worker->lock);
      worker->result = ok;
      worker->error = error;
    }
    SetEvent(worker->done.get());
  }
  // Children first: closing the file waits for the server's word on the transfer.
  worker->file.reset();
  worker->connection.reset();
  worker->root.reset();
}

}  // namespace

FtpConnection::FtpConnection(const std::string& agent, const std::string& proxy, DWORD timeoutMs)
    : worker_(std::make_shared<FtpWorker>()), agent_(agent), proxy_(proxy), timeoutMs_(timeoutMs) {
  std::thread([worker = worker_] { Serve(worker); }).detach();
}

void FtpConnection::Close() {
  if (closed_) return;
  closed_ = true;
  {
    std::lock_guard<std::mutex> guard(worker_->lock);
    worker_->quit = true;
    worker_->job = nullptr;
  }
  SetEvent(worker_->wake.get());
}

StepResult FtpConnection::Run(std::function<bool(FtpWorker&)> job, const WaitPolicy& wait) {
  lastError_ = 0;
  if (closed_) return StepResult::kFailed;
  {
    std::lock_guard<std::mutex> guard(worker_->lock);
    worker_->job = std::move(job);
  }
  SetEvent(worker_->wake.get());
  WaitOutcome outcome = WaitPumping(worker_->done.get(), wait);
  if (outcome != WaitOutcome::kSignalled) {
    Close();
    return outcome == WaitOutcome::kTimedOut ? StepResult::kTimedOut : StepResult::kStopped;
  }
  std::lock_guard<std::mutex> guard(worker_->lock);
  lastError_ = worker_->error;
  return worker_->result ? StepResult::kDone : StepResult::kFailed;
}

StepResult FtpConnection::Connect(const std::string& host, INTERNET_PORT port, const std::string& user,
                                  const std::string& password, bool passive, const WaitPolicy& wait) {
  return Run(
      [agent = agent_, proxy = proxy_, timeout = timeoutMs_, host, port, user, password,
       passive](FtpWorker& w) {
        DWORD access = proxy.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
        w.root.reset(
            InternetOpenA(agent.c_str(), access, proxy.empty() ? nullptr : proxy.c_str(), nullptr, 0));
        if (!w.root) return false;
        for (DWORD option :
             {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
              INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
          DWORD value = timeout;
          InternetSetOptionA(w.root.get(), option, &value, sizeof value);
        }
        w.connection.reset(InternetConnectA(w.root.get(), host.c_str(), port,
                                            user.empty() ? nullptr : user.c_str(),
                                            password.empty() ? nullptr : password.c_str(),
                                            INTERNET_SERVICE_FTP, passive ? INTERNET_FLAG_PASSIVE : 0, 0));
        return static_cast<bool>(w.connection);
      },
      wait);
}

StepResult FtpConnection::SetDirectory(const std::string& directory, const WaitPolicy& wait) {
  return Run(
      [directory](FtpWorker& w) {
        return FtpSetCurrentDirectoryA(w.connection.get(), directory.c_str()) != FALSE;
      },
      wait);
}

StepResult FtpConnection::MakeDirectory(const std::string& directory, const WaitPolicy& wait) {
  return Run(
      [directory](FtpWorker& w) {
        return FtpCreateDirectoryA(w.connection.get(), directory.c_str()) != FALSE;
      },
      wait);
}

StepResult FtpConnection::Find(const std::string& name, WIN32_FIND_DATAA* record, const WaitPolicy& wait) {
  StepResult r = Run(
      [name](FtpWorker& w) {
        w.record = WIN32_FIND_DATAA{};
        // A fresh listing, not the cache's: the date decides whether to transfer.
        UniqueInternet search(
            FtpFindFirstFileA(w.connection.get(), name.c_str(), &w.record, INTERNET_FLAG_RELOAD, 0));
        return static_cast<bool>(search);
      },
      wait);
  if (r == StepResult::kDone) *record = worker_->record;
  return r;
}

StepResult FtpConnection::OpenFile(const std::string& name, DWORD access, const WaitPolicy& wait) {
  // A download goes to its target only, not into the cache as well.
  DWORD flags = FTP_TRANSFER_TYPE_BINARY;
  if (access == GENERIC_READ) flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  return Run(
      [name, access, flags](FtpWorker& w) {
        w.file.reset(FtpOpenFileA(w.connection.get(), name.c_str(), access, flags, 0));
        return static_cast<bool>(w.file);
      },
      wait);
}

StepResult FtpConnection::Read(const char** data, DWORD* bytes, const WaitPolicy& wait) {
  *data = worker_->block;
  *bytes = 0;
  StepResult r = Run(
      [](FtpWorker& w) {
        w.count = 0;
        return InternetReadFile(w.file.get(), w.block, kBlockSize, &w.count) != FALSE;
      },
      wait);
  if (r == StepResult::kDone) *bytes = worker_->count;
  return r;
}

StepResult FtpConnection::Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait) {
  *written = 0;
  if (closed_ || size > kBlockSize) return StepResult::kFailed;
  // The worker's own copy: a write that is given up may still read it.
  std::copy(data, data + size, worker_->block);
  StepResult r = Run(
      [size](FtpWorker& w) {
        w.count = 0;
        return InternetWriteFile(w.file.get(), w.block, size, &w.count) != FALSE;
      },
      wait);
  if (r == StepResult::kDone) *written = worker_->count;
  return r;
}

StepResult FtpConnection::CloseFile(const WaitPolicy& wait) {
  return Run([](FtpWorker& w) { return InternetCloseHandle(w.file.release()) != FALSE; }, wait);
}

}  // namespace holvex
