#include "emulator/attributes.h"

#include <fstream>

#include "platform/atomic_replace.h"

namespace azu::emulator {
namespace {

std::string Serialize(const std::map<std::string, std::string>& values) {
  std::string text;
  for (const auto& [name, value] : values) {
    text += name;
    text += '=';
    text += value;
    text += '\n';
  }
  return text;
}

}  // namespace

AttributeStore::AttributeStore(std::filesystem::path file) : file_(std::move(file)) {
  std::ifstream in(file_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (IsValidName(name) && IsValidValue(value)) values_[name] = value;
  }
}

bool AttributeStore::IsValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameSize) return false;
  for (const char c : name) {
    const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                         (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-';
    if (!allowed) return false;
  }
  return true;
}

bool AttributeStore::IsValidValue(std::string_view value) {
  if (value.size() > kMaxValueSize) return false;
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

AttributeStore::Status AttributeStore::Set(std::string_view name, std::string_view value) {
  if (!IsValidName(name) || !IsValidValue(value)) return Status::kRefused;
  const std::lock_guard lock(mutex_);
  std::map<std::string, std::string> changed = values_;
  changed[std::string(name)] = std::string(value);
  if (!platform::ReplaceFileAtomically(file_.string(), Serialize(changed), nullptr)) {
    return Status::kFailed;
  }
  values_ = std::move(changed);
  return Status::kOk;
}

std::map<std::string, std::string> AttributeStore::Values() const {
  const std::lock_guard lock(mutex_);
  return values_;
}

}  // namespace azu::emulator
