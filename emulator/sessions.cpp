#include "emulator/sessions.h"

#include "emulator/digest.h"

namespace azu::emulator {

SessionTable::SessionTable(Clock& clock, std::chrono::seconds idle, std::size_t capacity,
                           std::chrono::seconds lifetime)
    : clock_(clock), idle_(idle), capacity_(capacity), lifetime_(lifetime) {}

bool SessionTable::IsOver(const Session& session, Clock::TimePoint now) const {
  // A token that leaked stays useful only so long, however busy its holder keeps it.
  return now - session.last_use >= idle_ || now - session.opened >= lifetime_;
}

std::optional<SessionTable::Opened> SessionTable::Open() {
  std::string token = RandomToken();
  if (token.empty()) return std::nullopt;
  const std::lock_guard lock(mutex_);
  if (sessions_.size() >= capacity_) return std::nullopt;
  const std::uint64_t number = ++last_number_;
  const Clock::TimePoint now = clock_.Now();
  if (!sessions_.emplace(Sha256(token), Session{number, now, now}).second) return std::nullopt;
  return Opened{std::move(token), number};
}

SessionTable::Lookup SessionTable::Use(std::string_view token) {
  const std::lock_guard lock(mutex_);
  const auto found = sessions_.find(Sha256(token));
  if (found == sessions_.end()) return {State::kUnknown, 0};
  const Clock::TimePoint now = clock_.Now();
  const std::uint64_t number = found->second.number;
  if (IsOver(found->second, now)) {
    sessions_.erase(found);
    return {State::kExpired, number};
  }
  found->second.last_use = now;
  return {State::kValid, number};
}

std::optional<std::uint64_t> SessionTable::Close(std::string_view token) {
  const std::lock_guard lock(mutex_);
  const auto found = sessions_.find(Sha256(token));
  if (found == sessions_.end()) return std::nullopt;
  const std::uint64_t number = found->second.number;
  sessions_.erase(found);
  return number;
}

std::vector<std::uint64_t> SessionTable::CloseAll() {
  const std::lock_guard lock(mutex_);
  std::vector<std::uint64_t> numbers;
  for (const auto& [key, session] : sessions_) numbers.push_back(session.number);
  sessions_.clear();
  return numbers;
}

std::vector<std::uint64_t> SessionTable::ExpireIdle() {
  const std::lock_guard lock(mutex_);
  const Clock::TimePoint now = clock_.Now();
  std::vector<std::uint64_t> numbers;
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (IsOver(it->second, now)) {
      numbers.push_back(it->second.number);
      it = sessions_.erase(it);
    } else {
      ++it;
    }
  }
  return numbers;
}

}  // namespace azu::emulator
