#include "transfer/ftp_connection.h"

#include <algorithm>

namespace holvex {

FtpConnection::FtpConnection(const std::string& agent, const std::string& proxy, DWORD timeoutMs)
    : agent_(agent), proxy_(proxy), timeoutMs_(timeoutMs) {}

StepResult FtpConnection::Connect(const std::string& host, INTERNET_PORT port, const std::string& user,
                                  const std::string& password, bool passive, const WaitPolicy& wait) {
  return worker_.Run(
      [agent = agent_, proxy = proxy_, timeout = timeoutMs_, host, port, user, password,
       passive](InternetCall& call) {
        DWORD access = proxy.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
        if (!call.Keep(
                InternetCall::kRoot,
                InternetOpenA(agent.c_str(), access, proxy.empty() ? nullptr : proxy.c_str(), nullptr, 0)))
          return false;
        const HINTERNET root = call.Get(InternetCall::kRoot);
        for (DWORD option :
             {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
              INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
          DWORD value = timeout;
          InternetSetOptionA(root, option, &value, sizeof value);
        }
        return call.Keep(InternetCall::kConnection,
                         InternetConnectA(root, host.c_str(), port, user.empty() ? nullptr : user.c_str(),
                                          password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_FTP,
                                          passive ? INTERNET_FLAG_PASSIVE : 0, 0));
      },
      wait);
}

StepResult FtpConnection::SetDirectory(const std::string& directory, const WaitPolicy& wait) {
  return worker_.Run(
      [directory](InternetCall& call) {
        return FtpSetCurrentDirectoryA(call.Get(InternetCall::kConnection), directory.c_str()) != FALSE;
      },
      wait);
}

StepResult FtpConnection::MakeDirectory(const std::string& directory, const WaitPolicy& wait) {
  return worker_.Run(
      [directory](InternetCall& call) {
        return FtpCreateDirectoryA(call.Get(InternetCall::kConnection), directory.c_str()) != FALSE;
      },
      wait);
}

StepResult FtpConnection::Find(const std::string& name, WIN32_FIND_DATAA* record, const WaitPolicy& wait) {
  StepResult r = worker_.Run(
      [name](InternetCall& call) {
        call.record = WIN32_FIND_DATAA{};
        // A fresh listing, not the cache's: the date decides whether to transfer.
        UniqueInternet search(FtpFindFirstFileA(call.Get(InternetCall::kConnection), name.c_str(),
                                                &call.record, INTERNET_FLAG_RELOAD, 0));
        return static_cast<bool>(search);
      },
      wait);
  if (r == StepResult::kDone) *record = worker_.call().record;
  return r;
}

StepResult FtpConnection::OpenFile(const std::string& name, DWORD access, const WaitPolicy& wait) {
  // A download goes to its target only, not into the cache as well.
  DWORD flags = FTP_TRANSFER_TYPE_BINARY;
  if (access == GENERIC_READ) flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  return worker_.Run(
      [name, access, flags](InternetCall& call) {
        return call.Keep(InternetCall::kRequest,
                         FtpOpenFileA(call.Get(InternetCall::kConnection), name.c_str(), access, flags, 0));
      },
      wait);
}

StepResult FtpConnection::Read(const char** data, DWORD* bytes, const WaitPolicy& wait) {
  return worker_.Read(data, bytes, wait, InternetWorker::BodyReads::kWholeBlocks);
}

StepResult FtpConnection::Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait) {
  return worker_.Write(data, size, written, wait);
}

StepResult FtpConnection::CloseFile(const WaitPolicy& wait) {
  return worker_.Run([](InternetCall& call) { return call.Close(InternetCall::kRequest); }, wait);
}

}  // namespace holvex
