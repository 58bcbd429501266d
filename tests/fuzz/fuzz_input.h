#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// Takes values off the front of a fuzzer's input; missing bytes read as zero.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  // The next `bytes` bytes as a big-endian number.
  std::uint32_t Take(int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | (m_size > 0 ? (--m_size, *m_data++) : 0);
    return value;
  }

  std::string Rest(std::size_t limit) {
    const std::size_t count = m_size < limit ? m_size : limit;
    std::string text(reinterpret_cast<const char*>(m_data), count);
    m_data += count;
    m_size -= count;
    return text;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
};

// A property every input must satisfy; a violation stops the fuzzer like a crash.
inline void Check(bool condition) {
  if (!condition) std::abort();
}
