#pragma once
// The URL record: one address split into its nine parts. The whole program takes a file name
// from an address as its document, and the probe client prepares every request from it.
#include <string>
#include <string_view>

namespace holvex {

struct TUrlRecord {
  std::string protocol;  // before "://"
  std::string userName;  // before the first ":" of the part before "@"
  std::string password;  // after that ":"; empty whenever userName is
  std::string host;      // authority before its first ":"
  std::string port;      // authority after that ":"
  std::string path;      // from "/" up to and including the last "/" before the parameters
  std::string document;  // last path segment, without parameters and fragment
  std::string params;    // from "?" (or, without one, the first "=") up to "#"
  std::string fragment;  // after "#"

  TUrlRecord() = default;
  // Splits the text; nothing is decoded or encoded and letter case stays as written.
  explicit TUrlRecord(std::string_view url);

  bool operator==(const TUrlRecord&) const = default;
};

}  // namespace holvex
