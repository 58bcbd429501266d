#pragma once

#include <string_view>
#include <system_error>
#include <utility>

// Owns a file descriptor and closes it on destruction.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.m_fd, -1));
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }

  // Writes all of `data`; false with `error` set on the first error (disk full, file too
  // large, I/O error, a reader that went away).
  bool WriteAll(std::string_view data, std::error_code& error) const;

  // Closes the descriptor; false with `error` set when close() reported an error (for an output
  // file, a write that failed late, e.g. on a network share).
  bool Close(std::error_code& error);

  void Reset(int fd = -1);

  // Gives up ownership: the descriptor is no longer closed here.
  int Release() { return std::exchange(m_fd, -1); }

 private:
  int m_fd = -1;
};
