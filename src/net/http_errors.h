#pragma once
// Failures of the HTTP probe client above the connection (whose errors are in net_errors.h).
#include <string>

#include "net/net_errors.h"

namespace holvex {

// An unwanted answer: a redirect, 401, 407 or any status other than 2xx. The message is the
// status line; errorText is the body of a failed GET.
class EHttpProtocolError : public ENetException {
 public:
  EHttpProtocolError(int code, const std::string& statusLine, std::string errorText)
      : ENetException(statusLine), code_(code), errorText_(std::move(errorText)) {}
  int code() const { return code_; }
  const std::string& errorText() const { return errorText_; }

 private:
  int code_;
  std::string errorText_;
};

// A text that should be an integer: "'<text>' ist kein gültiger Integerwert".
class EConvertError : public ENetException {
 public:
  explicit EConvertError(const std::string& text);
};

#define HOLVEX_FIXED_TEXT_ERROR(Name) \
  class Name : public ENetException { \
   public:                            \
    Name();                           \
  };

HOLVEX_FIXED_TEXT_ERROR(EUnknownProtocol)   // no port in the URL, protocol neither http nor https
HOLVEX_FIXED_TEXT_ERROR(EInvalidTransport)  // https: "Wert für IOHandler ist ungültig"
HOLVEX_FIXED_TEXT_ERROR(ENetError)          // 2xx, but the head ended with the connection
// Bounds against hostile or broken servers.
HOLVEX_FIXED_TEXT_ERROR(EHeaderTooLarge)      // "Der Kopf der Antwort ist zu groß."
HOLVEX_FIXED_TEXT_ERROR(ETooManyInterimReplies)  // endless "100 Continue"
HOLVEX_FIXED_TEXT_ERROR(EIncompleteBody)      // the body ended before its announced length
HOLVEX_FIXED_TEXT_ERROR(EBadChunk)            // a chunk size that is no hexadecimal number
HOLVEX_FIXED_TEXT_ERROR(EInvalidUrl)          // control characters that would break the request head

#undef HOLVEX_FIXED_TEXT_ERROR

}  // namespace holvex
