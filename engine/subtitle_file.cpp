#include "engine/subtitle_file.h"

namespace {

constexpr std::size_t kFlushThreshold = 64 * 1024;

}  // namespace

std::optional<SubtitleFile> SubtitleFile::Create(const std::string& path, SubtitleFormat format,
                                                 VideoSystem system, std::error_code& error) {
  std::optional<OutputTarget> target = OutputTarget::Open(path, error);
  if (!target) return std::nullopt;
  const SubtitleEncoder encoder(format, system);
  if (target->IsStream()) return SubtitleFile(std::move(*target), std::nullopt, encoder);
  std::optional<TemporaryFile> temporary = TemporaryFile::Create(target->Folder(), error);
  if (!temporary || !target->CopyOwnerAndModeTo(temporary->File(), error)) return std::nullopt;
  return SubtitleFile(std::move(*target), std::move(temporary), encoder);
}

SubtitleFile::SubtitleFile(OutputTarget target, std::optional<TemporaryFile> temporary,
                           SubtitleEncoder encoder)
    : m_target(std::move(target)), m_temporary(std::move(temporary)), m_encoder(encoder) {
  m_buffer.reserve(kFlushThreshold);
  m_buffer.append(m_encoder.Header());
}

const UniqueFd& SubtitleFile::Output() const {
  return m_temporary ? m_temporary->File() : m_target->Stream();
}

void SubtitleFile::WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                             std::string_view caption) {
  m_encoder.Append(m_buffer, startFrame, endFrame, caption);
  if (m_buffer.size() >= kFlushThreshold) Flush();
}

void SubtitleFile::Flush() {
  // After the first failed write the rest is dropped; that failure is the one reported.
  if (!m_error) Output().WriteAll(m_buffer, m_error);
  m_buffer.clear();
}

bool SubtitleFile::Finish(std::error_code& error) {
  Flush();
  // A finished file may wait a while for its rename; its buffer is of no more use.
  std::string().swap(m_buffer);
  std::error_code closeError;
  if (IsStream() && !m_target->Close(closeError) && !m_error) m_error = closeError;
  error = m_error;
  return !error;
}

bool SubtitleFile::Replace(std::error_code& error) {
  if (!m_temporary || m_error) {
    error = m_error ? m_error : std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  if (!m_temporary->RenameOver(m_target->Name(), error)) return false;
  m_target->Keep();
  return true;
}
