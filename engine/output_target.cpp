#include "engine/output_target.h"

#include <utility>

OutputTarget::OutputTarget(UniqueFd fd, bool created) : m_fd(std::move(fd)), m_created(created) {}

OutputTarget::OutputTarget(OutputTarget&& other) noexcept
    : m_fd(std::move(other.m_fd)),
      m_folder(std::move(other.m_folder)),
      m_finalPath(std::move(other.m_finalPath)),
      m_created(std::exchange(other.m_created, false)) {}

OutputTarget& OutputTarget::operator=(OutputTarget&& other) noexcept {
  if (this != &other) {
    RemoveCreated();
    m_fd = std::move(other.m_fd);
    m_folder = std::move(other.m_folder);
    m_finalPath = std::move(other.m_finalPath);
    m_created = std::exchange(other.m_created, false);
  }
  return *this;
}

OutputTarget::~OutputTarget() { RemoveCreated(); }
