#include "engine/output_target.h"

#include <utility>

#include "engine/file_paths.h"

OutputTarget::OutputTarget(OutputTarget&& other) noexcept
    : m_stream(std::move(other.m_stream)),
      m_folder(std::move(other.m_folder)),
      m_name(std::move(other.m_name)),
      m_existing(other.m_existing),
      m_mode(other.m_mode),
      m_owner(other.m_owner),
      m_group(other.m_group),
      m_created(std::exchange(other.m_created, false)) {}

OutputTarget& OutputTarget::operator=(OutputTarget&& other) noexcept {
  if (this != &other) {
    RemoveCreated();
    m_stream = std::move(other.m_stream);
    m_folder = std::move(other.m_folder);
    m_name = std::move(other.m_name);
    m_existing = other.m_existing;
    m_mode = other.m_mode;
    m_owner = other.m_owner;
    m_group = other.m_group;
    m_created = std::exchange(other.m_created, false);
  }
  return *this;
}

OutputTarget::~OutputTarget() { RemoveCreated(); }

std::uint64_t OutputTarget::Key() const {
  if (IsStream()) return 0;
  // FNV-1a over the folder's identity and the name as the file system compares it.
  std::uint64_t key = 0xcbf29ce484222325u;
  const auto mix = [&key](unsigned char byte) { key = (key ^ byte) * 0x100000001b3u; };
  for (const std::uint64_t part : {m_folder->Identity().device, m_folder->Identity().index}) {
    for (int shift = 0; shift < 64; shift += 8) mix(static_cast<unsigned char>(part >> shift));
  }
  for (const char c : ComparableName(m_name)) mix(static_cast<unsigned char>(c));
  return key;
}
