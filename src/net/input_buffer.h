#pragma once
// Bytes received and not yet consumed. Consumed bytes are dropped lazily, so that taking many
// short lines out of one large receive does not move the rest each time.
#include <cstddef>
#include <string>
#include <string_view>

namespace holvex {

class TInputBuffer {
 public:
  size_t size() const { return bytes_.size() - start_; }
  bool empty() const { return size() == 0; }
  void Clear() {
    bytes_.clear();
    start_ = 0;
  }
  void Append(const char* data, size_t n) { bytes_.append(data, n); }
  // Offset (from the first unconsumed byte) of c at or after from, or npos.
  size_t Find(char c, size_t from) const {
    size_t at = bytes_.find(c, start_ + from);
    return at == std::string::npos ? std::string::npos : at - start_;
  }
  std::string_view View() const { return std::string_view(bytes_).substr(start_); }
  // Moves the first n bytes to the end of dest.
  void MoveTo(size_t n, std::string& dest) {
    dest.append(bytes_, start_, n);
    Consume(n);
  }
  void Consume(size_t n) {
    start_ += n;
    if (start_ == bytes_.size()) {
      Clear();
    } else if (start_ >= kCompactAt && start_ * 2 >= bytes_.size()) {
      bytes_.erase(0, start_);
      start_ = 0;
    }
  }

 private:
  static constexpr size_t kCompactAt = 65536;
  std::string bytes_;
  size_t start_ = 0;
};

}  // namespace holvex
